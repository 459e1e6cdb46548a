#pragma once

#include <string>

namespace db {

// The last failure of the database engine: its result code and its message.
struct Error {
    int code = 0;
    std::string message;
};

}  // namespace db
