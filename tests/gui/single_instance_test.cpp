#include "gui/shell/single_instance.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

// Each test keeps its sockets in a folder of its own, which Qt and the
// program's processes take from TMPDIR.
class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() : oldTmpDir_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QByteArray::fromStdString(dir_.path().string()));
    }

    ~SingleInstanceTest() override {
        if (oldTmpDir_.isEmpty()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", oldTmpDir_);
        }
    }

    // The name of this user's instance on an X display.
    static QString NameOfThisUserOn(const QString& display) {
        return SingleInstance::NameFor(SystemPlatform().GetCurrentUserName(), display);
    }

    static QString SocketFile(const QString& name) { return QDir::tempPath() + "/" + name; }

    // Starts the program as on the X display named; standard error is kept.
    static void StartProgram(QProcess& process, const QString& display = kDisplay) {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"), display);
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(TELLAVIN_GUI_EXE));
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start();
        ASSERT_TRUE(process.waitForStarted());
    }

    static void Stop(QProcess& process) {
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    static inline const QString kDisplay = QStringLiteral(":90");

    QByteArray oldTmpDir_;
    test::TempDir dir_;
};

TEST_F(SingleInstanceTest, NameBelongsToTheUserAndTheDisplay) {
    const std::vector<std::pair<std::pair<std::string, QString>, QString>> names = {
        {{"ann", ""}, "Tellavin-ann"},
        {{"ann", ":0"}, "Tellavin-ann-_0"},
        {{"ann", ":1"}, "Tellavin-ann-_1"},
        {{"bob", ":0"}, "Tellavin-bob-_0"},
        {{"ann marie/x", "wayland-0"}, "Tellavin-ann_marie_x-wayland-0"},
    };
    for (const auto& [given, name] : names) {
        EXPECT_EQ(SingleInstance::NameFor(given.first, given.second), name);
    }
}

TEST_F(SingleInstanceTest, SecondStartActivatesTheFirst) {
    SingleInstance first(QStringLiteral("Tellavin-test"));
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    ASSERT_TRUE(first.Start());
    EXPECT_TRUE(QFileInfo::exists(SocketFile("Tellavin-test")));

    SingleInstance second(QStringLiteral("Tellavin-test"));
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(activations.wait(5000));
    EXPECT_EQ(activations.count(), 1);
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedInstanceDoesNotBlockTheStart) {
    test::WriteFile(SocketFile("Tellavin-test").toStdString(), "");
    SingleInstance instance(QStringLiteral("Tellavin-test"));
    EXPECT_TRUE(instance.Start());

    SingleInstance later(QStringLiteral("Tellavin-test"));
    EXPECT_FALSE(later.Start());
}

TEST_F(SingleInstanceTest, ProgramStartedAgainBringsTheRunningOneForwardAndSaysSo) {
    SingleInstance running(NameOfThisUserOn(kDisplay));
    QSignalSpy activations(&running, &SingleInstance::activationRequested);
    ASSERT_TRUE(running.Start());

    QProcess second;
    StartProgram(second);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second start must end by itself";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(activations.count() == 1 || activations.wait(5000));
    EXPECT_TRUE(second.readAllStandardError().contains("already running on this display"));
}

// A start on another display, where the running window cannot be seen,
// becomes that display's own instance instead of ending.
TEST_F(SingleInstanceTest, ProgramStartedOnAnotherDisplayRunsOnItsOwn) {
    SingleInstance running(NameOfThisUserOn(kDisplay));
    QSignalSpy activations(&running, &SingleInstance::activationRequested);
    ASSERT_TRUE(running.Start());

    QProcess other;
    StartProgram(other, QStringLiteral(":91"));
    const QString socket = SocketFile(NameOfThisUserOn(QStringLiteral(":91")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));
    EXPECT_FALSE(activations.wait(3000)) << "the start on :91 handed over to :90";
    EXPECT_EQ(other.state(), QProcess::Running);
    Stop(other);
}

TEST_F(SingleInstanceTest, TwoStartsOfTheProgramLeaveOneRunning) {
    QProcess first;
    StartProgram(first);
    const QString socket = SocketFile(NameOfThisUserOn(kDisplay));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));

    QProcess second;
    StartProgram(second);
    EXPECT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    Stop(first);
}

} // namespace
} // namespace tellavin
