// Test entry for code without widgets: a QCoreApplication, so that queued
// calls, timers and event loops work as they do in the tool.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "test_locale.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!InExpectedLocale())
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
