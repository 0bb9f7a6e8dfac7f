#include <QApplication>
#include <gtest/gtest.h>

// The main of the window tests: a QApplication on the platform ctest names
// (offscreen), so that no display is needed.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
