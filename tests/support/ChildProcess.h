#pragma once

#include <functional>
#include <string>

namespace testing_support {

struct ChildResult {
    std::string output;   // everything the child wrote to standard output
    bool exited = false;  // ended by exit rather than a signal
    int status = -1;      // its exit status
};

/// Runs `body` in a child process whose standard input holds `input` (then its end) and whose
/// standard output is captured; a body that returns ends the child with status 0, one that throws
/// with status 1 after printing what it threw.
ChildResult runInChild(const std::function<void()>& body, const std::string& input = {});

}  // namespace testing_support
