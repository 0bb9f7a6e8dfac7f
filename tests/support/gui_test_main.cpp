#include <QApplication>
#include <QThreadPool>
#include <gtest/gtest.h>

// The main of the test programs that make windows. They need no display:
// windows go to the offscreen platform unless QT_QPA_PLATFORM names another
// (ctest sets it for the tests, but not when it lists them).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    // The pool's threads (visitor look-ups) end before the program does, so
    // that none is still winding down when the leak check runs at exit.
    QThreadPool::globalInstance()->waitForDone();
    return failed;
}
