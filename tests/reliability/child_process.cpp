#include "reliability/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace orvando::testing {

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string joinRecords(const std::vector<std::string>& records) {
    std::string joined;
    for (const std::string& r : records) {
        joined += r;
        joined += '\0';
    }
    return joined;
}

std::vector<std::string> splitRecords(const std::string& joined) {
    std::vector<std::string> records;
    std::string current;
    for (char c : joined) {
        if (c == '\0') {
            records.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    return records;
}

ChildOutcome runInChild(const std::function<int(int outFd)>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    std::fflush(nullptr);  // nothing buffered may be written twice
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (pid == 0) {
        ::close(fds[0]);
        int status = 120;
        try {
            status = body(fds[1]);
        } catch (...) {
            status = 120;
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        outcome.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("cannot wait for the child");
        }
    }
    if (WIFEXITED(status)) {
        outcome.exited = true;
        outcome.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signalled = true;
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

}  // namespace orvando::testing
