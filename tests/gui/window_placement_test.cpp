#include "gui/shell/path_window_factory.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tellavin {
namespace {

// How long a step on a real display may take before the test gives up on
// it: a guard against hanging, not a measure of speed.
constexpr int kDisplayPatience = 20000;

constexpr const char* kUnmovedTest = "ExportWindowPlacement.AWindowOpenedAgainUnmovedStaysPut";

// Where the window was on the screen: its frame's top-left corner, and
// whether its title bar lies on the screen.
struct Place {
    QPoint frame;
    bool titleOnScreen;

    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& place, std::ostream* out) {
    *out << "(" << place.frame.x() << ", " << place.frame.y() << ")"
         << (place.titleOnScreen ? "" : " title off the screen");
}

// Opens the export window of code as the main window does, lets a window
// manager frame it, and closes it, which saves its place; returns where it
// was.
Place OpenAndClose(ConversionPath code, test::FakePlatform& platform) {
    test::AnsweredDialogs dialogs;
    SessionState session;
    QWidget owner;
    std::unique_ptr<QWidget> window(
        CreatePathWindow(code, session, owner, platform, dialogs.service()));
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get(), kDisplayPatience));
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        // The window manager frames the window after showing it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); },
                                    kDisplayPatience));
        QTest::qWait(200);
    }
    const QRect frame = window->frameGeometry();
    const QRect screen = window->screen()->availableGeometry();
    const Place place{frame.topLeft(), screen.contains(frame.topLeft())};
    window->close();
    return place;
}

// A window opened again without being moved opens where it was, each of
// the export windows, its title bar on the screen.
TEST(ExportWindowPlacement, AWindowOpenedAgainUnmovedStaysPut) {
    for (ConversionPath code : {2, 6, 10}) {
        SCOPED_TRACE(code);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "tellavin";
        std::vector<Place> places;
        for (int opening = 0; opening < 6; ++opening) {
            places.push_back(OpenAndClose(code, platform));
        }
        EXPECT_EQ(places, std::vector(6, Place{places.front().frame, true}));
    }
}

// The same openings under a real window manager (Openbox on a virtual X
// display), where a window's frame is known only after it is shown: the
// test program runs them in a second process on that display.
TEST(ExportWindowPlacement, AWindowUnderAWindowManagerStaysPut) {
    if (QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        GTEST_SKIP() << "runs the openings on a display of its own";
    }
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty() || openbox.isEmpty()) {
        GTEST_SKIP() << "Xvfb and openbox are needed to place windows under a window manager";
    }
    test::TempDir dir;
    QProcess display;
    display.start(xvfb,
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1024x768x24")});
    ASSERT_TRUE(display.waitForReadyRead(kDisplayPatience)) << "Xvfb did not start";
    const QString name = QStringLiteral(":") + QString::fromLatin1(display.readLine()).trimmed();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(dir.path().string()));
    // On a real display Qt talks to D-Bus, whose library keeps memory to the
    // end; a build with the leak checker is told it is not ours.
    environment.insert(
        QStringLiteral("LSAN_OPTIONS"),
        QStringLiteral("suppressions=") +
            QString::fromUtf8(TELLAVIN_TEST_DATA "/sanitizers/system-libraries.supp"));
    // Openbox runs its start-up command once it manages the display.
    const QString started = QString::fromStdString(dir / "openbox-started");
    QProcess manager;
    manager.setProcessEnvironment(environment);
    manager.start(openbox, {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                            QStringLiteral("touch ") + started});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(started); }, kDisplayPatience))
        << "Openbox did not start on " << name.toStdString();

    QProcess openings;
    openings.setProcessEnvironment(environment);
    openings.setProcessChannelMode(QProcess::MergedChannels);
    openings.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=") + QString::fromLatin1(kUnmovedTest)});
    const bool finished = openings.waitForFinished(6 * kDisplayPatience);
    const QString output = QString::fromUtf8(openings.readAll());
    EXPECT_EQ(std::pair(finished && openings.exitCode() == 0,
                        output.contains(QStringLiteral("[  PASSED  ] 1 test"))),
              std::pair(true, true))
        << output.toStdString();
    manager.kill();
    display.kill();
    manager.waitForFinished(kDisplayPatience);
    display.waitForFinished(kDisplayPatience);
}

} // namespace
} // namespace tellavin
