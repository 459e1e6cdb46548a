#include "support/DecimalMark.h"
#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <clocale>

// Takes the locale of the environment, as the program does, so that a run under a comma
// locale shows any number conversion that depends on it.
int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    if (!testing_support::decimalMarkAsAsked())
        return 2;
    testing::InitGoogleTest(&argc, argv);
    return testing_support::runAllTests();
}
