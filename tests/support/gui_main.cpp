// Test entry for widget code: a QApplication (ctest runs it on the offscreen
// platform).
#include <QApplication>
#include <gtest/gtest.h>

#include "test_locale.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!InExpectedLocale())
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
