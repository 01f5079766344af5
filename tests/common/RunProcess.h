#pragma once

#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zentaro::test {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments, no shell, and collects its exit status and
// output. With environment ("NAME=value" each) the program gets only that.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& environment = {})
{
    int outPipe[2], errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(outPipe[1], 1);
        ::dup2(errPipe[1], 2);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        if (environment.empty()) {
            ::execv(program.c_str(), argv.data());
        } else {
            std::vector<char*> envp;
            for (const auto& entry : environment)
                envp.push_back(const_cast<char*>(entry.c_str()));
            envp.push_back(nullptr);
            ::execve(program.c_str(), argv.data(), envp.data());
        }
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ProcessResult result;
    // Output here is small; read stdout then stderr.
    char buffer[4096];
    for (auto [fd, text] : {std::pair{outPipe[0], &result.out}, std::pair{errPipe[0], &result.err}}) {
        ssize_t got;
        while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
            text->append(buffer, static_cast<std::size_t>(got));
        ::close(fd);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace zentaro::test
