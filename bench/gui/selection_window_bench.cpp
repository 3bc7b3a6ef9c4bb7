// Times the selection window on a large bookmark file, on Qt's offscreen
// platform:
//
//   selection_window_bench FILE.html [LINKS-IN-ONE-FOLDER]
//
// It prints, each the fastest of three runs:
//   - loading FILE through the conversion layer alone, and loading and
//     showing the window on it (the window should take at most 1.5 times
//     the load);
//   - "Check All Folders" and "Uncheck All Folders" on that tree;
//   - listing a folder that holds LINKS-IN-ONE-FOLDER links (default
//     100,000), from a file written for it;
//   - the peak memory of the process after the window showed FILE with
//     its icons, against FILE's size.
#include "model/bookmark_counts.h"
#include "model/progress.h"
#include "model/session_state.h"
#include "platform/platform.h"
#include "selection/selection_window.h"
#include "shell/gui_resources.h"
#include "sources/source_loader.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/resource.h>

namespace tellavin {
namespace {

double FastestSeconds(const std::function<void()>& run, int times = 3) {
    double best = 1e9;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

void Settle() {
    QApplication::processEvents();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string WriteOneBigFolder(const std::string& folder, int links) {
    auto path = folder + "/one-folder.html";
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
           "<DT><H3>Big</H3>\n<DL><p>\n";
    for (int i = 0; i < links; ++i) {
        out << "<DT><A HREF=\"https://www.example.com/page/" << i << "\">Link "
            << (i * 7919) % 1000003 << "</A>\n";
    }
    out << "</DL><p>\n</DL>\n";
    return path;
}

int Run(const std::string& file, int bigFolderLinks) {
    Platform& platform = SystemPlatform();
    SessionState session;
    NullProgress progress;
    const StoreLocation source{StoreKind::Netscape, file};
    auto counts = CountSource(source).value_or(BookmarkCounts{});

    const double load = FastestSeconds([&] {
        BookmarkTree tree;
        LoadSourceTree(source, tree);
    });

    double peak = 0;
    double check = 0;
    double uncheck = 0;
    std::int32_t checkedLinks = 0;
    const double window = FastestSeconds([&] {
        SelectionWindow shown(source, counts, progress, platform, session);
        shown.LoadTree();
        shown.show();
        Settle();
        peak = std::max(peak, PeakMegabytes());
        auto* checkAll = shown.findChild<QAction*>(QStringLiteral("mnuFoldersCheckAll"));
        auto* uncheckAll = shown.findChild<QAction*>(QStringLiteral("mnuFoldersUncheckAll"));
        check = FastestSeconds(
            [&] {
                checkAll->trigger();
                Settle();
            },
            1);
        checkedLinks = shown.Tree().nSelectedLinks;
        uncheck = FastestSeconds(
            [&] {
                uncheckAll->trigger();
                Settle();
            },
            1);
    });

    QTemporaryDir scratch;
    const StoreLocation big{StoreKind::Netscape,
                            WriteOneBigFolder(scratch.path().toStdString(), bigFolderLinks)};
    SelectionWindow bigWindow(big, {1, bigFolderLinks}, progress, platform, session);
    bigWindow.LoadTree();
    bigWindow.show();
    Settle();
    const double list = FastestSeconds([&] {
        bigWindow.SelectFolder(0);
        Settle();
        bigWindow.SelectFolder(1);
        Settle();
    });

    const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / 1048576.0;
    std::printf("file: %s, %.0f MB, %d folders, %d links\n", file.c_str(), megabytes,
                counts.folders, counts.links);
    std::printf("load through the conversion layer: %.3f s\n", load);
    std::printf("window loaded and shown:           %.3f s (%.2f x the load)\n", window,
                window / load);
    std::printf("Check All Folders:                 %.3f s (%d links checked)\n", check,
                checkedLinks);
    std::printf("Uncheck All Folders:               %.3f s\n", uncheck);
    std::printf("listing a folder of %d links:  %.3f s\n", bigFolderLinks, list);
    std::printf("peak memory with the window:       %.0f MB (%.2f x the file)\n", peak,
                peak / megabytes);
    return 0;
}

} // namespace
} // namespace tellavin

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    tellavin::InitGuiResources();
    if (argc < 2) {
        std::fprintf(stderr, "usage: selection_window_bench FILE.html [LINKS-IN-ONE-FOLDER]\n");
        return 2;
    }
    return tellavin::Run(argv[1], argc > 2 ? std::atoi(argv[2]) : 100000);
}
