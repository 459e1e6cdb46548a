#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

// Takes the locale of the environment, as the program does, so that a run under a comma
// locale shows any number conversion that depends on it.
int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    const char* wanted = std::getenv("OSTREL_DECIMAL_MARK");
    if (wanted && std::strcmp(std::localeconv()->decimal_point, wanted) != 0) {
        std::cerr << "the locale of the environment does not use '" << wanted << "' as its decimal mark\n";
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
