#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zentaro::test {

// The user that a root test drops to, to see what an unprivileged user sees.
inline constexpr uid_t kUnprivilegedId = 65534;

struct ChildOutcome {
    bool finished = false; // false: killed at the deadline
    std::string text;      // what the body returned: empty when all its checks held
};

// Runs body in a forked child and kills it at the deadline, so that a call
// that blocks or spins fails the test instead of hanging the suite. With
// unprivileged set, a root test's child first becomes kUnprivilegedId.
inline ChildOutcome RunInChild(const std::function<std::string()>& body, std::chrono::milliseconds deadline,
                               bool unprivileged = false)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {false, "pipe failed"};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        std::string text;
        if (unprivileged && ::geteuid() == 0 &&
            (::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0))
            text = "cannot drop privileges";
        else
            text = body();
        if (text.empty())
            text = "ok";
        ssize_t ignored = ::write(fds[1], text.data(), text.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            ::close(fds[0]);
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    outcome.finished = true;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        outcome.text.append(buffer, static_cast<std::size_t>(got));
    ::close(fds[0]);
    if (outcome.text == "ok")
        outcome.text.clear();
    else if (outcome.text.empty())
        outcome.text = "the child ended without a word";
    return outcome;
}

} // namespace zentaro::test
