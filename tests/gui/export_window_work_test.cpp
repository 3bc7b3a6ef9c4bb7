// An export window's long work on its worker thread: the window answers
// while the work runs, and Escape, Cancel or closing the window stop it
// with the target left as it was.
#include "gui/export/bookmark_files_window.h"
#include "gui/selection/selection_window.h"
#include "gui/windows/worker_progress.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/window_driver.h"
#include "targets/backup_copy.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace tellavin {
namespace {

using test::Click;
using test::Find;
using test::PickFile;

constexpr const char* kOldNetscape = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Old</H1>\n<DL><p>\n"
                                     "<DT><A HREF=\"http://old/\">Old link</A>\n</DL>\n";

// A platform that holds the worker where an export into a bookmark file
// asks for the user's name, just before it writes: the worker has a call
// run on the window's thread and goes on once it ran. Work run on the
// window's own thread never gets there.
class HeldBeforeWriting final : public Platform {
public:
    HeldBeforeWriting(test::FakePlatform& inner, std::function<void()> whileHeld)
        : inner_(inner), whileHeld_(std::move(whileHeld)) {}

    std::string GetCurrentUserName() const override {
        if (QThread::currentThread() != qApp->thread()) {
            auto ran = std::make_shared<std::promise<void>>();
            QMetaObject::invokeMethod(
                qApp,
                [this, ran] {
                    whileHeld_();
                    ran->set_value();
                },
                Qt::QueuedConnection);
            // Bounded only so that a window that never answers fails the
            // test instead of hanging it.
            ran->get_future().wait_for(std::chrono::seconds(30));
        }
        return inner_.GetCurrentUserName();
    }
    bool ShellOpen(const std::string& target, std::int32_t showCommand) override {
        return inner_.ShellOpen(target, showCommand);
    }
    std::optional<std::string> GetSpecialFolder(SpecialFolder folder) const override {
        return inner_.GetSpecialFolder(folder);
    }
    std::optional<std::string> GetEnvironment(const std::string& name) const override {
        return inner_.GetEnvironment(name);
    }
    std::optional<std::string> GetExecutablePath() const override {
        return inner_.GetExecutablePath();
    }
    std::optional<RegistryValue> QueryRegistryValue(RegistryRoot root, const std::string& keyPath,
                                                    const std::string& valueName) const override {
        return inner_.QueryRegistryValue(root, keyPath, valueName);
    }
    std::optional<std::vector<std::string>> ListProcessNames() const override {
        return inner_.ListProcessNames();
    }

private:
    test::FakePlatform& inner_;
    std::function<void()> whileHeld_;
};

enum class Stop { None, Escape, CancelButton, CloseWindow };

struct Row {
    Stop stop;
    // What the window showed while the work ran | the messages | the
    // status line | the target and its backup | whether it closed.
    const char* expected;
};

TEST(ExportWindowWork, TheWindowAnswersWhileWorkingAndAStopLeavesTheTarget) {
    const Row rows[] = {
        {Stop::None, "Cancel offered, pages resting | 1 Folders & 2 Links Exported Successfully. | "
                     "Ready | target written, backup | open"},
        {Stop::Escape,
         "Cancel offered, pages resting |  | Exporting Cancelled | target as it was | open"},
        {Stop::CancelButton,
         "Cancel offered, pages resting |  | Exporting Cancelled | target as it was | open"},
        {Stop::CloseWindow,
         "Cancel offered, pages resting |  | Exporting Cancelled | target as it was | closed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.stop));
        test::TempDir dir;
        test::FakePlatform fake;
        fake.executablePath = dir / "tellavin";
        test::AnsweredDialogs dialogs;
        SessionState session;
        QWidget owner;
        std::unique_ptr<BookmarkFilesWindow> window;
        std::string during = "never answered";
        HeldBeforeWriting platform(fake, [&] {
            auto* cancel = Find<QPushButton>(*window, "cmdCancelWork");
            during = std::string(cancel->isVisible() && cancel->isEnabled() ? "Cancel offered"
                                                                            : "no Cancel") +
                     (Find<QTabWidget>(*window, "TabStrip1")->isEnabled() ? ", pages enabled"
                                                                          : ", pages resting");
            switch (row.stop) {
            case Stop::Escape:
                QTest::keyClick(window.get(), Qt::Key_Escape);
                break;
            case Stop::CancelButton:
                cancel->click();
                break;
            case Stop::CloseWindow:
                window->close();
                break;
            case Stop::None:
                break;
            }
        });
        window =
            std::make_unique<BookmarkFilesWindow>(10, session, platform, dialogs.service(), owner);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        const auto source = dir / "source.adr";
        const auto target = dir / "target.html";
        test::WriteFile(source, test::kNewsAndHomeOpera);
        test::WriteFile(target, kOldNetscape);
        PickFile(dialogs, source);
        Click(*window, "cmdSelectFrom");
        PickFile(dialogs, target);
        Click(*window, "Command2");
        Click(*window, "optOldErase");
        Find<QCheckBox>(*window, "chkBackup")->setChecked(true);
        dialogs.texts.clear();

        Click(*window, "Command10");
        QApplication::processEvents(); // a close asked for meanwhile

        QStringList messages;
        for (const auto& text : dialogs.texts) {
            messages.append(text);
        }
        const bool written = test::ReadFile(target) != kOldNetscape;
        const bool backup = std::filesystem::exists(BackupPathFor(target));
        const auto shown =
            during + " | " + messages.join(QStringLiteral("; ")).toStdString() + " | " +
            Find<QStatusBar>(*window, "StatusBar1")->currentMessage().toStdString() + " | " +
            (written ? "target written" : "target as it was") + (backup ? ", backup" : "") +
            (window->isVisible() ? " | open" : " | closed");
        EXPECT_EQ(shown, row.expected);
    }
}

// Select Links loads the source's tree on the worker; a Cancel while it
// loads, here at its first report, opens no selection window.
TEST(ExportWindowWork, ACancelledLoadOpensNoSelectionWindow) {
    struct LoadRow {
        bool cancel;
        const char* expected; // the selection window | the status line
    };
    const LoadRow rows[] = {
        {false, "selection shown | Ready"},
        {true, "no selection | Ready"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cancel);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "tellavin";
        test::AnsweredDialogs dialogs;
        SessionState session;
        QWidget owner;
        BookmarkFilesWindow window(10, session, platform, dialogs.service(), owner);
        window.show();
        const auto source = dir / "source.adr";
        test::WriteFile(source, test::kNewsAndHomeOpera);
        PickFile(dialogs, source);
        Click(window, "cmdSelectFrom");
        PickFile(dialogs, dir / "target.html");
        Click(window, "Command2");
        auto* status = Find<QStatusBar>(window, "StatusBar1");
        status->showMessage(QStringLiteral("before"));
        QMetaObject::Connection cancelling;
        if (row.cancel) {
            cancelling = QObject::connect(status, &QStatusBar::messageChanged, &window,
                                          [&] { Click(window, "cmdCancelWork"); });
        }
        Click(window, "Command5");
        QObject::disconnect(cancelling);
        auto* selection = window.findChild<SelectionWindow*>();
        const std::string shown =
            selection != nullptr && selection->isVisible() ? "selection shown" : "no selection";
        EXPECT_EQ(shown + " | " + status->currentMessage().toStdString(), row.expected);
        window.close();
    }
}

// A sink that writes down each call it gets.
class CallLog final : public ProgressSink {
public:
    std::string calls;
    void SetStatusText(const std::string& text) override { calls += "text " + text + "; "; }
    void SetRange(std::int32_t minimum, std::int32_t maximum) override {
        calls += "range " + std::to_string(minimum) + "-" + std::to_string(maximum) + "; ";
    }
    void SetValue(std::int32_t value) override { calls += "value " + std::to_string(value) + "; "; }
    void SetVisible(bool visible) override { calls += visible ? "shown; " : "hidden; "; }
};

// However often a worker reports, the window's thread gets one hand-over
// with the last report of each kind, the range before the value.
TEST(ExportWindowWork, AWorkersReportsArriveOnceWithTheLastOfEachKind) {
    CallLog shown;
    WorkerProgress relay(shown);
    std::thread worker([&] {
        relay.SetVisible(true);
        relay.SetStatusText("Searching Folder: A");
        for (std::int32_t value = 1; value <= 1000; ++value) {
            relay.SetValue(value);
        }
        relay.SetRange(0, 1000);
        relay.SetStatusText("Searching Folder: B");
        relay.SetVisible(false);
    });
    worker.join();
    QApplication::processEvents();
    EXPECT_EQ(shown.calls, "range 0-1000; value 1000; hidden; text Searching Folder: B; ");
}

} // namespace
} // namespace tellavin
