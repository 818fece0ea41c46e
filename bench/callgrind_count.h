#pragma once

#include <string>
#include <vector>

namespace marventa::bench {

// Instructions executed by `command` under callgrind: the whole process, or with `inside`
// (a function name pattern, as callgrind's --toggle-collect takes it) only that function and
// what it calls. Raises std::runtime_error when valgrind fails or writes no total.
long long callgrindInstructions(const std::vector<std::string>& command,
                                const std::string& inside = {});

// Whether valgrind is on PATH.
bool haveValgrind();

}  // namespace marventa::bench
