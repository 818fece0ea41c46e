#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace marventa::bench {

namespace {

using Clock = std::chrono::steady_clock;

long long microsecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

long long microseconds(const timeval& t) {
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec;
}

// Closes a pipe end once, on every way out.
struct Fd {
    int fd = -1;
    ~Fd() { close(); }
    void close() {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
};

struct Pipe {
    Fd read;
    Fd write;
    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
        }
        read.fd = ends[0];
        write.fd = ends[1];
    }
};

std::string joined(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& arg : argv) {
        text += (text.empty() ? "" : " ") + arg;
    }
    return text;
}

// Where the child's standard output goes, and which descriptor it may keep as `passedAs`.
struct Redirect {
    int stdoutFd = -1;  // /dev/null when negative
    int passedFd = -1;
    int passedAs = -1;
};

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment,
            const Redirect& redirect) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view inherited(*entry);
        const bool replaced = std::any_of(
            extraEnvironment.begin(), extraEnvironment.end(), [&](const std::string& extra) {
                const std::size_t name = extra.find('=') + 1;
                return inherited.substr(0, name) == std::string_view(extra).substr(0, name);
            });
        if (!replaced) {
            environment.push_back(*entry);
        }
    }
    for (const std::string& entry : extraEnvironment) {
        environment.push_back(const_cast<char*>(entry.c_str()));
    }
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (redirect.stdoutFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, redirect.stdoutFd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (redirect.passedFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, redirect.passedFd, redirect.passedAs);
    }
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    }
    return pid;
}

// Waits for the child; its exit status.
int reap(pid_t pid, Clock::time_point start, ChildRun& run) {
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("wait4: " + std::string(std::strerror(errno)));
        }
    }
    run.untilExitUs = microsecondsSince(start);
    run.cpuUs = microseconds(usage.ru_utime) + microseconds(usage.ru_stime);
    run.peakRssKb = usage.ru_maxrss;
    return status;
}

// User + system clock ticks of a running process, from /proc.
long long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    // Fields after the command name, which is in parentheses and may hold spaces.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            utime = std::atoll(field.c_str());
        } else if (i == 15) {
            stime = std::atoll(field.c_str());
        }
    }
    return utime + stime;
}

}  // namespace

ChildRun runChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnvironment,
                  std::string_view awaitedPrefix) {
    const bool awaiting = !awaitedPrefix.empty();
    std::optional<Pipe> output;
    if (awaiting) {
        output.emplace();
    }
    ChildRun run;
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(argv, extraEnvironment, {awaiting ? output->write.fd : -1, -1, -1});

    if (awaiting) {
        output->write.close();
        std::string pending;
        char chunk[4096];
        ssize_t got = 0;
        while ((got = read(output->read.fd, chunk, sizeof chunk)) != 0) {
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                break;
            }
            if (run.untilLineUs >= 0) {
                continue;  // drain the rest so the child never blocks on a full pipe
            }
            pending.append(chunk, static_cast<std::size_t>(got));
            for (std::size_t end;
                 run.untilLineUs < 0 && (end = pending.find('\n')) != std::string::npos;) {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (line.starts_with(awaitedPrefix)) {
                    run.untilLineUs = microsecondsSince(start);
                    run.line = std::move(line);
                }
            }
        }
    }

    const int status = reap(pid, start, run);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(joined(argv) + " failed (status " + std::to_string(status) + ")");
    }
    if (awaiting && run.untilLineUs < 0) {
        throw std::runtime_error(joined(argv) + " never printed \"" + std::string(awaitedPrefix) +
                                 "\"");
    }
    return run;
}

ChildRun runUntilIdle(const std::vector<std::string>& argv,
                      const std::vector<std::string>& extraEnvironment) {
    // A clock tick is 10 ms: a third of a second without one is a program waiting for input.
    constexpr auto kQuiet = std::chrono::milliseconds(300);
    constexpr auto kLimit = std::chrono::seconds(30);
    ChildRun run;
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(argv, extraEnvironment, {});
    long long ticks = -1;
    Clock::time_point changed = start;
    bool exited = false;
    while (Clock::now() - changed < kQuiet && Clock::now() - start < kLimit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
            info.si_pid != 0) {
            exited = true;  // gone by itself: reaped below
            break;
        }
        const long long now = cpuTicks(pid);
        if (now != ticks) {
            ticks = now;
            changed = Clock::now();
        }
    }
    if (!exited) {
        kill(pid, SIGTERM);
    }
    const int status = reap(pid, start, run);
    if (exited) {
        throw std::runtime_error(joined(argv) + " exited by itself (status " +
                                 std::to_string(status) + ")");
    }
    return run;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream directories(path != nullptr ? path : "");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        if (!directory.empty() &&
            access((std::filesystem::path(directory) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

VirtualDisplay::VirtualDisplay() {
    // Xvfb writes its display number to this descriptor once it accepts clients.
    constexpr int kDisplayFd = 9;
    Pipe number;
    pid_ = spawn({"Xvfb", "-displayfd", std::to_string(kDisplayFd), "-nolisten", "tcp", "-noreset",
                  "-screen", "0", "1920x1080x24"},
                 {}, {-1, number.write.fd, kDisplayFd});
    number.write.close();
    std::string text;
    pollfd ready{number.read.fd, POLLIN, 0};
    char chunk[32];
    while (text.find('\n') == std::string::npos && poll(&ready, 1, 10000) > 0) {
        const ssize_t got = read(number.read.fd, chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    if (text.find('\n') == std::string::npos) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        throw std::runtime_error("Xvfb did not report a display");
    }
    name_ = ":" + text.substr(0, text.find('\n'));
}

VirtualDisplay::~VirtualDisplay() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

}  // namespace marventa::bench
