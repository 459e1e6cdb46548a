#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

int main(int argc, char* argv[])
{
    // Listing the tests at build time needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);  // takes the locale of the environment, as the program does
    const char* wanted = std::getenv("OSTREL_DECIMAL_MARK");
    if (wanted && std::strcmp(std::localeconv()->decimal_point, wanted) != 0) {
        std::cerr << "the locale of the environment does not use '" << wanted << "' as its decimal mark\n";
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
