// SPDX-License-Identifier: MIT
#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need one application object for the whole program.
// They run headless unless the caller chose a platform, also when ctest
// lists their cases.
int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef VELTARO_TEST_RUNTIME_DIR
    // A private runtime folder of the build's, which Qt wants to exist.
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", VELTARO_TEST_RUNTIME_DIR);
#endif
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
