// Runs the GUI tests inside one application on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/fixture.h"
#include "tests/support/sessions.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int session = runRequestedSession();
    if (session >= 0) return session;
    testing::InitGoogleTest(&argc, argv);
    startTestApplication();
    return RUN_ALL_TESTS();
}
