#include <QApplication>

#include "support/DecimalMark.h"
#include "support/TestRun.h"

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // Listing the tests at build time needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);  // takes the locale of the environment, as the program does
    if (!testing_support::decimalMarkAsAsked())
        return 2;
    testing::InitGoogleTest(&argc, argv);
    return testing_support::runAllTests();
}
