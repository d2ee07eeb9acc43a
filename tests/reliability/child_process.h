// Runs a piece of a test in a child process, so that it may be killed, give
// up root, or stand in for another program touching the folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvando::testing {

struct ChildOutcome {
    bool exited = false;  // ended by _exit; `exitStatus` is valid
    int exitStatus = -1;
    bool signalled = false;  // ended by a signal; `signal` is valid
    int signal = 0;
    std::string output;  // everything the child wrote to its descriptor
};

// Forks; the child runs `body` with the write end of a pipe and ends with
// _exit(its result) (status 120 when it throws), never returning into the
// test. The parent collects the pipe until it closes, then waits for the child.
ChildOutcome runInChild(const std::function<int(int outFd)>& body);

// Writes all of `text` to `fd`; false on failure.
bool writeAll(int fd, const std::string& text);

// Makes `text` safe to join with '\0' and splits it again.
std::string joinRecords(const std::vector<std::string>& records);
std::vector<std::string> splitRecords(const std::string& joined);

}  // namespace orvando::testing
