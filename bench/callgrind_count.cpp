#include "callgrind_count.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "child_process.h"

namespace marventa::bench {

bool haveValgrind() {
    return onPath("valgrind");
}

long long callgrindInstructions(const std::vector<std::string>& command,
                                const std::string& inside) {
    const std::filesystem::path out = std::filesystem::temp_directory_path() /
                                      ("marventa-callgrind-" + std::to_string(getpid()) + ".out");
    std::vector<std::string> argv{"valgrind", "--tool=callgrind", "--quiet",
                                  "--callgrind-out-file=" + out.string()};
    if (!inside.empty()) {
        argv.push_back("--toggle-collect=" + inside);
    }
    argv.insert(argv.end(), command.begin(), command.end());
    runChild(argv);

    // The profile's "totals:" line (or "summary:" from older versions) holds the event count.
    std::ifstream profile(out);
    std::string line;
    long long total = -1;
    while (std::getline(profile, line)) {
        for (const char* key : {"totals:", "summary:"}) {
            if (line.starts_with(key)) {
                total = std::atoll(line.c_str() + std::char_traits<char>::length(key));
            }
        }
    }
    profile.close();
    std::filesystem::remove(out);
    if (total <= 0) {
        throw std::runtime_error("callgrind wrote no instruction total for " + command.front());
    }
    return total;
}

}  // namespace marventa::bench
