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
//     its icons, against FILE's size;
//   - the Find box on FILE: the first keystroke, which folds every name
//     and address, then searches for a common word, an accented one, a
//     single letter, a text found nowhere and none, each from the end of
//     the pause after the last keystroke to the views showing the finds
//     (wall and processor time); and what the folded texts take (a second
//     filter made on the same tree).
#include "gui/selection/selection_window.h"
#include "gui/windows/gui_resources.h"
#include "model/bookmark_counts.h"
#include "model/progress.h"
#include "model/session_state.h"
#include "platform/platform.h"
#include "selection/selection_filter.h"
#include "sources/source_loader.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
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

// The wall and processor seconds of the fastest of three runs.
struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

Timing FastestTiming(const std::function<void()>& run, int times = 3) {
    Timing best;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto cpuStart = std::clock();
        run();
        best.cpu =
            std::min(best.cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        best.wall = std::min(best.wall, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

// Times the Find box of a window showing source.
void TimeFind(const StoreLocation& source, BookmarkCounts counts, ProgressSink& progress,
              Platform& platform, SessionState& session) {
    SelectionWindow window(source, counts, progress, platform, session);
    window.LoadTree();
    window.show();
    Settle();
    auto* find = window.findChild<QLineEdit*>(QStringLiteral("txtFind"));
    const auto print = [](const std::string& what, Timing timing) {
        std::printf("%-34s %.3f s (processor %.3f s)\n", what.c_str(), timing.wall, timing.cpu);
    };
    // The first keystroke folds every name and address.
    const double before = PeakMegabytes();
    print("Find, first keystroke:", FastestTiming(
                                        [&] {
                                            find->setText(QStringLiteral("w"));
                                            Settle();
                                        },
                                        1));
    std::printf("  peak memory grew by %.0f MB\n", PeakMegabytes() - before);
    // What the pause after the last keystroke starts.
    for (const char* text : {"wiki", "creme", "e", "zz9q", ""}) {
        print("Find \"" + std::string(text) + "\" after the pause:", FastestTiming([&] {
                  find->setText(QString::fromUtf8(text));
                  emit find->returnPressed();
                  Settle();
              }));
    }

    NullProgress quiet;
    std::size_t bytes = 0;
    print("folding every name and address:", FastestTiming(
                                                 [&] {
                                                     SelectionFilter filter(window.Tree(), {},
                                                                            quiet);
                                                     bytes = filter.MemoryBytes();
                                                 },
                                                 1));
    std::printf("  the folded texts take %.0f MB (%.0f bytes a link)\n",
                static_cast<double>(bytes) / 1048576.0,
                static_cast<double>(bytes) / std::max(1, counts.links));
}

int Run(const std::string& file, int bigFolderLinks) {
    Platform& platform = SystemPlatform();
    SessionState session;
    NullProgress progress;
    const StoreLocation source{StoreKind::Netscape, file};
    auto counts = CountSource(source).counts;

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
    TimeFind(source, counts, progress, platform, session);
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
