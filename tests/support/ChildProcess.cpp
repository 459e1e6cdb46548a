#include "ChildProcess.h"

#include <cstdio>
#include <exception>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

ChildResult runInChild(const std::function<void()>& body, const std::string& input)
{
    int out[2], in[2];
    if (pipe(out) != 0 || pipe(in) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(in[0], STDIN_FILENO);
        close(out[0]);
        close(out[1]);
        close(in[0]);
        close(in[1]);
        // The child never returns into the test program, which would go on running its tests.
        try {
            body();
        } catch (const std::exception& e) {
            std::printf("\nthe child ended on an exception: %s", e.what());
            std::fflush(stdout);
            _exit(1);
        } catch (...) {
            _exit(1);
        }
        std::fflush(stdout);
        _exit(0);
    }
    close(out[1]);
    close(in[0]);
    if (!input.empty() && write(in[1], input.data(), input.size()) < 0)
        perror("write");
    close(in[1]);
    ChildResult result;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        result.output.append(buf, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace testing_support
