// Only one copy runs: a second start ends at once and brings the first one forward.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include "gui/test_driver.h"
#include "platform/single_instance.h"

namespace {

// Starts the real program with its own private runtime folder.
class Copy {
public:
    explicit Copy(const QString& runtime) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        process.setProcessEnvironment(env);
        process.start(TARVEX_EXE, {});
    }
    ~Copy() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QProcess process;
};

TEST(SingleInstance, SecondCopyEndsAtOnceAndACrashedCopyNeverBlocks) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = QDir(runtime.path()).filePath("Tarvex.sock");

    Copy first(runtime.path());
    ASSERT_TRUE(first.process.waitForStarted(5000));
    ASSERT_TRUE(driver::WAITFOR([&] { return QFileInfo::exists(socket); }, 10000))
        << "running: " << (first.process.state() == QProcess::Running)
        << ", said: " << first.process.readAllStandardError().toStdString();

    Copy second(runtime.path());
    ASSERT_TRUE(second.process.waitForFinished(10000));
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_EQ(first.process.state(), QProcess::Running);

    // The first copy dies without cleaning up; its lock must not stop the next start.
    first.process.kill();
    first.process.waitForFinished(5000);
    Copy third(runtime.path());
    ASSERT_TRUE(third.process.waitForStarted(5000));
    // The third copy takes the lock over (the lock file names its process) and keeps running.
    const QString lock = QDir(runtime.path()).filePath("Tarvex.lock");
    const QByteArray thirdId = QByteArray::number(third.process.processId());
    EXPECT_TRUE(driver::WAITFOR(
        [&] {
            QFile file(lock);
            return file.open(QIODevice::ReadOnly) && file.readLine().trimmed() == thirdId;
        },
        10000));
    EXPECT_EQ(third.process.state(), QProcess::Running);
}

TEST(SingleInstance, RunningCopyRestoresAndRaisesItsWindow) {
    // A runtime folder of this test's own, apart from any other run on the machine.
    QTemporaryDir runtime;
    QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    bool existed = true;
    int32_t held = OS_CREATELOCK("TarvexRaiseTest", existed);
    ASSERT_NE(held, 0);
    EXPECT_FALSE(existed);
    int32_t again = OS_CREATELOCK("TarvexRaiseTest", existed);
    EXPECT_TRUE(existed);
    OS_CLOSELOCK(again);

    QWidget window;
    window.setWindowTitle("Raise Me");
    window.showMinimized();
    driver::SETTLE();
    ASSERT_TRUE(window.isMinimized());
    EXPECT_TRUE(OS_RAISEOTHERCOPY("TarvexRaiseTest", "Raise Me"));
    EXPECT_TRUE(driver::WAITFOR([&] { return !window.isMinimized(); }, 5000));

    // A caption that no window carries raises nothing, and nothing breaks.
    EXPECT_TRUE(OS_RAISEOTHERCOPY("TarvexRaiseTest", "No Such Window"));
    OS_CLOSELOCK(held);
    EXPECT_FALSE(OS_RAISEOTHERCOPY("TarvexRaiseTest", "Raise Me"));
    qputenv("XDG_RUNTIME_DIR", previous);
}

}  // namespace
