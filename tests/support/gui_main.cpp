// Runs the GUI tests inside one application on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/fixture.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    startTestApplication();
    return RUN_ALL_TESTS();
}
