#include <QCoreApplication>
#include <gtest/gtest.h>

// The main of the test programs without windows: the Qt event loop is there
// for the tests that need it.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
