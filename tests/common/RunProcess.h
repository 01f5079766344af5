#pragma once

#include "store/UniqueFd.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// The one way the tests and the benchmarks run other programs: no shell, the
// program looked up on PATH when its name has no "/".

namespace zentaro::test {

struct ProcessResult {
    int status = -1; // the exit status, 128 + the signal that ended it, -1 when it did not start
    std::string out;
    std::string err;
};

constexpr int kInherited = -1;

// Starts command[0] with the rest as its arguments. Each of streams that is not
// kInherited becomes the program's standard input, output or error; a
// non-empty environment ("NAME=value" each) is all it gets. Returns its
// process id, or -1.
inline pid_t StartProcess(const std::vector<std::string>& command,
                          std::array<int, 3> streams = {kInherited, kInherited, kInherited},
                          const std::vector<std::string>& environment = {})
{
    if (command.empty())
        return -1;
    std::vector<char*> argv, envp;
    for (const auto& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    for (const auto& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    for (int target = 0; target < 3; ++target)
        if (streams[target] != kInherited)
            ::posix_spawn_file_actions_adddup2(&actions, streams[target], target);
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(),
                                       environment.empty() ? environ : envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

// Waits for a started program; its status as ProcessResult has it.
inline int WaitForProcess(pid_t child)
{
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs a program and collects its exit status and output; its standard input
// comes from the file input unless that is empty.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& environment = {}, const std::string& input = {})
{
    const UniqueFd in(input.empty() ? kInherited : ::open(input.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input.empty() && !in.Valid())
        return {};
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        return {};
    UniqueFd out(outPipe[0]), outEnd(outPipe[1]);
    if (::pipe2(errPipe, O_CLOEXEC) != 0)
        return {};
    UniqueFd err(errPipe[0]), errEnd(errPipe[1]);
    std::vector<std::string> command{program};
    command.insert(command.end(), args.begin(), args.end());
    const pid_t child = StartProcess(command, {in.Get(), outEnd.Get(), errEnd.Get()}, environment);
    outEnd.Reset();
    errEnd.Reset();
    ProcessResult result;
    // Both at once: a program that fills one pipe while we wait on the other would stall.
    std::array<pollfd, 2> ends = {{{out.Get(), POLLIN, 0}, {err.Get(), POLLIN, 0}}};
    std::array<std::string*, 2> texts = {&result.out, &result.err};
    char buffer[4096];
    while (child >= 0 && (ends[0].fd >= 0 || ends[1].fd >= 0)) {
        if (::poll(ends.data(), ends.size(), -1) < 0 && errno != EINTR)
            break;
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (ends[i].revents == 0)
                continue;
            const ssize_t got = ::read(ends[i].fd, buffer, sizeof buffer);
            if (got > 0)
                texts[i]->append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                ends[i].fd = -1;
        }
    }
    result.status = WaitForProcess(child);
    return result;
}

// Starts a program with its standard output thrown away, its input from the
// file input unless that is empty; -1 when it could not start.
inline pid_t StartQuietly(const std::vector<std::string>& command, const std::string& input = {})
{
    const UniqueFd null(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    const UniqueFd in(input.empty() ? kInherited : ::open(input.c_str(), O_RDONLY | O_CLOEXEC));
    if (!null.Valid() || (!input.empty() && !in.Valid()))
        return -1;
    return StartProcess(command, {in.Get(), null.Get(), kInherited});
}

inline int RunQuietly(const std::vector<std::string>& command, const std::string& input = {})
{
    return WaitForProcess(StartQuietly(command, input));
}

} // namespace zentaro::test
