#pragma once

#include <sys/types.h>

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

// Runs argv[0] (looked up on PATH) with `extraEnvironment` ("NAME=value", replacing an
// inherited variable of the same name) added, stdin and stderr on /dev/null. With a non-empty
// `awaitedPrefix`, stdout is read through a pipe and the first line starting with it is timed;
// otherwise stdout goes to /dev/null. Raises std::runtime_error when the program cannot be
// started or does not exit with status 0.
ChildRun runChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnvironment = {},
                  std::string_view awaitedPrefix = {});

// Runs a program that stays open by itself (an image viewer) until it has gone idle, that is,
// used no CPU time for a while, then ends it (SIGTERM) and reaps it: for its peak memory.
ChildRun runUntilIdle(const std::vector<std::string>& argv,
                      const std::vector<std::string>& extraEnvironment = {});

// Whether `program` is an executable file in a directory of PATH.
bool onPath(const std::string& program);

// An Xvfb server of our own, on a display number the server picks itself (-displayfd), so it
// never takes one in use; ended with this object. Raises std::runtime_error when it does not
// start.
class VirtualDisplay {
  public:
    VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay();

    // ":N", for DISPLAY.
    const std::string& name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace marventa::bench
