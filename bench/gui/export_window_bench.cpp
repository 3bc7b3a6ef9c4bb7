// Measures how long the event loop of the export window between the two
// bookmark files goes without running while it counts a large bookmark
// file and exports it to an Opera hotlist, on Qt's offscreen platform:
//
//   export_window_bench FILE.html
//
// A timer asks to run every 10 ms; the longest gap between two of its runs
// is the longest time the windows could not repaint. It prints each gap
// over 100 ms with the status line that followed it, the longest gap, the
// whole time, and the messages the window showed.
#include "gui/export/bookmark_files_window.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "model/session_state.h"
#include "platform/platform.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tellavin::InitGuiResources();
    if (argc < 2) {
        std::fprintf(stderr, "usage: export_window_bench FILE.html\n");
        return 2;
    }
    tellavin::Dialogs dialogs([](QDialog& dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            std::printf("message: %s\n", qPrintable(box->text()));
        }
        return static_cast<int>(QDialog::Accepted);
    });
    tellavin::SessionState session;
    QWidget owner;
    tellavin::BookmarkFilesWindow window(8, session, tellavin::SystemPlatform(), dialogs, owner);
    window.show();
    QApplication::processEvents();

    QTemporaryDir scratch;
    window.findChild<QComboBox*>(QStringLiteral("cboFromLoc"))
        ->setEditText(QString::fromLocal8Bit(argv[1]));
    window.findChild<QComboBox*>(QStringLiteral("cboNNLoc"))
        ->setEditText(scratch.filePath(QStringLiteral("out.adr")));

    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(10);
    auto* statusLine = window.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const auto gap = sinceTick.elapsed();
        longest = std::max(longest, gap);
        if (gap > 100) {
            std::printf("  %lld ms before \"%s\"\n", static_cast<long long>(gap),
                        qPrintable(statusLine->currentMessage().left(60)));
        }
        sinceTick.restart();
    });
    QElapsedTimer whole;
    QTimer::singleShot(0, [&] {
        whole.start();
        sinceTick.start();
        ticks.start();
        window.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
        ticks.stop();
        std::printf("count and export: %.3f s\n", static_cast<double>(whole.elapsed()) / 1000.0);
        std::printf("longest time without the event loop: %lld ms\n",
                    static_cast<long long>(longest));
        QApplication::quit();
    });
    return QApplication::exec();
}
