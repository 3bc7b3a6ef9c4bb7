// Opens the main window, the about box and the selection window on the
// display the program runs on and saves what the screen shows of them, for
// scripts/screenshots.sh:
//   tellavin_screenshots OUTPUT-FOLDER
#include "gui/selection/selection_window.h"
#include "gui/shell/main_window.h"
#include "gui/shell/path_window_factory.h"
#include "gui/windows/control_array.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "gui/windows/picture_button.h"
#include "gui/windows/svg_picture.h"
#include "model/progress.h"
#include "model/session_state.h"
#include "platform/platform.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
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

// Links in two folders, most with an icon drawn from the program's own
// pictures.
constexpr std::pair<const char*, const char*> kLinks[] = {
    {"News/Daily Paper", "bookmark-file"},
    {"News/Weather", "favorites"},
    {"News/Radio", "hotlist"},
    {"News/Plain Link", nullptr},
    {"Tools/Menu Maker", "menu-page"},
    {"Tools/Back", "back"},
};

QByteArray IconPng(const char* picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tellavin::RenderSvg(QStringLiteral(":/icons/%1-normal.svg").arg(picture), {16, 16}, 1)
        .save(&buffer, "PNG");
    return png;
}

// A Favorites folder whose shortcuts name icon files.
QString MakeFavoritesWithIcons(const QTemporaryDir& scratch) {
    const QDir root(scratch.filePath(QStringLiteral("Favorites")));
    for (auto [name, picture] : kLinks) {
        const QString file = root.filePath(QString::fromUtf8(name) + QStringLiteral(".url"));
        QDir().mkpath(QFileInfo(file).path());
        QString text = QStringLiteral("[InternetShortcut]\r\nURL=https://example.org/%1\r\n")
                           .arg(QString::fromUtf8(name).section('/', -1));
        if (picture != nullptr) {
            const QString icon = scratch.filePath(QString::fromUtf8(picture) + ".png");
            QFile png(icon);
            png.open(QIODevice::WriteOnly);
            png.write(IconPng(picture));
            text += QStringLiteral("IconFile=%1\r\nIconIndex=0\r\n").arg(icon);
        }
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(text.toUtf8());
    }
    return root.path();
}

// A bookmark file whose links carry their favicons, as browsers export them.
QString MakeBookmarkFileWithFavicons(const QTemporaryDir& scratch) {
    QByteArray text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n";
    QString folder;
    for (auto [name, picture] : kLinks) {
        const QString path = QString::fromUtf8(name);
        if (path.section('/', 0, 0) != folder) {
            text += folder.isEmpty() ? "" : "</DL><p>\n";
            folder = path.section('/', 0, 0);
            text += "<DT><H3>" + folder.toUtf8() + "</H3>\n<DL><p>\n";
        }
        QByteArray icon;
        if (picture != nullptr) {
            icon = " ICON=\"data:image/png;base64," + IconPng(picture).toBase64() + "\"";
        }
        text += "<DT><A HREF=\"https://example.org/\"" + icon + ">" +
                path.section('/', -1).toUtf8() + "</A>\n";
    }
    text += "</DL><p>\n</DL>\n";
    const QString file = scratch.filePath(QStringLiteral("favicons.html"));
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(text);
    return file;
}

// The selection window on a source, with the first sub-folder listed.
void ShootSelection(tellavin::StoreKind kind, const QString& path, const char* name) {
    tellavin::NullProgress progress;
    tellavin::SessionState session;
    tellavin::SelectionWindow window({kind, path.toStdString()}, {0, 0}, progress,
                                     tellavin::SystemPlatform(), session);
    window.resize(760, 420);
    window.LoadTree();
    window.show();
    if (window.Tree().NodeCount() > 1) {
        window.SelectFolder(window.Tree().Child(0));
    }
    Settle();
    Shoot(window, name);
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
    tellavin::MainWindow window(tellavin::SystemPlatform(), dialogs,
                                tellavin::PathWindows(tellavin::SystemPlatform(), dialogs));
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
    window.CurrentExportWindow()->close();
    Settle();

    // Each kind of export window, on both of its tabs.
    const std::pair<int, const char*> exportWindows[] = {{4, "favorites-to-file"},
                                                         {7, "file-to-favorites"},
                                                         {8, "bookmark-files"},
                                                         {9, "menu-page"}};
    for (auto [button, name] : exportWindows) {
        window.PathButtonClick(button);
        Settle();
        QWidget& shown = *window.CurrentExportWindow();
        auto* tabs = shown.findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
        for (int tab = 0; tab < (tabs != nullptr ? tabs->count() : 1); ++tab) {
            if (tabs != nullptr) {
                tabs->setCurrentIndex(tab);
            }
            Settle(300);
            Shoot(shown, qPrintable(QStringLiteral("%1-tab%2.png").arg(name).arg(tab + 1)));
        }
        shown.close();
        Settle();
    }

    window.findChild<QAction*>(QStringLiteral("mnuHelpAbout"))->trigger();

    QTemporaryDir scratch;
    ShootSelection(tellavin::StoreKind::Favorites, MakeFavoritesWithIcons(scratch),
                   "selection-favorites-icons.png");
    ShootSelection(tellavin::StoreKind::Netscape, MakeBookmarkFileWithFavicons(scratch),
                   "selection-netscape-favicons.png");
    return gFailures == 0 ? 0 : 1;
}
