#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace marventa::bench {

// What one child process cost, measured from just before it was spawned.
struct ChildRun {
    long long untilLineUs = -1;  // until its first stdout line starting with the awaited prefix
    long long untilExitUs = 0;   // until it was reaped
    long long cpuUs = 0;         // user + system, the whole process
    long long peakRssKb = 0;     // its resident high-water mark
    std::string line;            // the awaited line, without its newline
};

// Runs argv[0] (looked up on PATH) with `extraEnvironment` ("NAME=value") added, stdin and
// stderr on /dev/null. With a non-empty `awaitedPrefix`, stdout is read through a pipe and the
// first line starting with it is timed; otherwise stdout goes to /dev/null. Raises
// std::runtime_error when the program cannot be started or does not exit with status 0.
ChildRun runChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnvironment = {},
                  std::string_view awaitedPrefix = {});

}  // namespace marventa::bench
