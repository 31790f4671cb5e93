// SPDX-License-Identifier: MIT
// Test entry point for everything below the windows: a core application, so that event loops,
// timers and serial notifications work as in the program.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
