// Opens the main window and the about box on the display the program runs
// on and saves what the screen shows of them, for scripts/screenshots.sh:
//   tellavin_screenshots OUTPUT-FOLDER
#include "platform/platform.h"
#include "shell/gui_resources.h"
#include "shell/main_window.h"
#include "shell/path_window_factory.h"
#include "windows/control_array.h"
#include "windows/dialogs.h"
#include "windows/picture_button.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <cstdio>

namespace {

QString gFolder;
int gFailures = 0;

// Lets the window manager frame and the windows draw themselves.
void Settle(int milliseconds = 700) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void Shoot(QWidget& window, const char* name) {
    const QRect frame = window.frameGeometry();
    const QPixmap shot =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString file = QDir(gFolder).filePath(QString::fromLatin1(name));
    if (!shot.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++gFailures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

void PointAt(QWidget& control) {
    QCursor::setPos(control.mapToGlobal(control.rect().center()));
    Settle(300);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tellavin::InitGuiResources();
    gFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(gFolder);

    tellavin::Dialogs dialogs([](QDialog& dialog) {
        dialog.show();
        Settle();
        Shoot(dialog, "about.png");
        return static_cast<int>(QDialog::Accepted);
    });
    tellavin::MainWindow window(tellavin::SystemPlatform(), dialogs, tellavin::CreatePathWindow);
    const auto button = [&window](int index) {
        return tellavin::FindControl<tellavin::PictureButton>(window, QStringLiteral("cmdInizio"),
                                                              index);
    };
    window.show();
    QCursor::setPos(window.screen()->geometry().bottomRight());
    Settle();
    Shoot(window, "main-first-level.png");

    PointAt(*button(0));
    Shoot(window, "main-first-level-hover.png");

    window.PathButtonClick(1);
    PointAt(*button(8));
    Shoot(window, "main-second-level.png");

    window.PathButtonClick(8);
    Settle();
    Shoot(window, "main-disabled.png");
    Shoot(*window.CurrentExportWindow(), "path-window.png");
    window.CurrentExportWindow()->close();
    Settle();

    window.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();
    return gFailures == 0 ? 0 : 1;
}
