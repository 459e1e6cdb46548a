#pragma once

#include <string>

namespace db {

// Result codes the notice database reports as error numbers (the engine's own values).
constexpr int kErrGeneric = 1;
constexpr int kErrBusy = 5;
constexpr int kErrCantOpen = 14;
constexpr int kErrNotADatabase = 26;

// The last failure of the database engine: its result code and its message.
struct Error {
    int code = 0;
    std::string message;
};

}  // namespace db
