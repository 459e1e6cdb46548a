#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace testing_support {

/// False, saying why, when $OSTREL_DECIMAL_MARK names a mark the current locale does not use:
/// a test run meant for a comma locale must not pass under another one.
inline bool decimalMarkAsAsked()
{
    const char* wanted = std::getenv("OSTREL_DECIMAL_MARK");
    if (!wanted || std::strcmp(std::localeconv()->decimal_point, wanted) == 0)
        return true;
    std::cerr << "the locale of the environment does not use '" << wanted << "' as its decimal mark\n";
    return false;
}

}  // namespace testing_support
