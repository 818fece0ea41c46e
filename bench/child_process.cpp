#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

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

std::string joined(const std::vector<std::string>& argv) {
    std::string text;
    for (const std::string& arg : argv) {
        text += (text.empty() ? "" : " ") + arg;
    }
    return text;
}

}  // namespace

ChildRun runChild(const std::vector<std::string>& argv,
                  const std::vector<std::string>& extraEnvironment,
                  std::string_view awaitedPrefix) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.push_back(*entry);
    }
    for (const std::string& entry : extraEnvironment) {
        environment.push_back(const_cast<char*>(entry.c_str()));
    }
    environment.push_back(nullptr);

    const bool awaiting = !awaitedPrefix.empty();
    Fd readEnd;
    Fd writeEnd;
    if (awaiting) {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
        }
        readEnd.fd = ends[0];
        writeEnd.fd = ends[1];
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (awaiting) {
        posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }

    ChildRun run;
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    }
    writeEnd.close();

    if (awaiting) {
        std::string pending;
        char chunk[4096];
        ssize_t got = 0;
        while ((got = read(readEnd.fd, chunk, sizeof chunk)) != 0) {
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
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(joined(argv) + " failed (status " + std::to_string(status) + ")");
    }
    if (awaiting && run.untilLineUs < 0) {
        throw std::runtime_error(joined(argv) + " never printed \"" + std::string(awaitedPrefix) +
                                 "\"");
    }
    return run;
}

}  // namespace marventa::bench
