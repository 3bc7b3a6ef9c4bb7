#include "platform/platform.h"
#include "shell/single_instance.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

    static QString NameOfThisUser() {
        return SingleInstance::NameForUser(SystemPlatform().GetCurrentUserName());
    }

    static QString SocketFile(const QString& name) { return QDir::tempPath() + "/" + name; }

    static void StartProgram(QProcess& process) {
        process.setProgram(QStringLiteral(TELLAVIN_GUI_EXE));
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start();
        ASSERT_TRUE(process.waitForStarted());
    }

    QByteArray oldTmpDir_;
    test::TempDir dir_;
};

TEST_F(SingleInstanceTest, NameBelongsToTheUser) {
    EXPECT_EQ(SingleInstance::NameForUser("ann"), "Tellavin-ann");
    EXPECT_EQ(SingleInstance::NameForUser("ann marie/x"), "Tellavin-ann_marie_x");
    EXPECT_NE(SingleInstance::NameForUser("ann"), SingleInstance::NameForUser("bob"));
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

TEST_F(SingleInstanceTest, ProgramStartedAgainBringsTheRunningOneForward) {
    SingleInstance running(NameOfThisUser());
    QSignalSpy activations(&running, &SingleInstance::activationRequested);
    ASSERT_TRUE(running.Start());

    QProcess second;
    StartProgram(second);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second start must end by itself";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(activations.count() == 1 || activations.wait(5000));
}

TEST_F(SingleInstanceTest, TwoStartsOfTheProgramLeaveOneRunning) {
    QProcess first;
    StartProgram(first);
    const QString socket = SocketFile(NameOfThisUser());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));

    QProcess second;
    StartProgram(second);
    EXPECT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(10000)) {
        first.kill();
        first.waitForFinished();
    }
}

} // namespace
} // namespace tellavin
