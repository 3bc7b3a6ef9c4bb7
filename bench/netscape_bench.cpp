// Reading and writing Netscape-format bookmark files of 10k, 100k and 1M
// links, generated in memory: time (linear in the size: see the BigO line)
// and peak memory beside the file size.
#include "model/bookmark_sink.h"
#include "model/file_tree_builder.h"
#include "sources/netscape_reader.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "text/base64.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tellavin;
namespace fs = std::filesystem;

constexpr int kLinksPerFolder = 50;

// A folder for the files of one run, removed when the run ends.
const fs::path& BenchDir() {
    struct Dir {
        fs::path path = fs::temp_directory_path() / ("tellavin-bench-" + std::to_string(getpid()));
        Dir() { fs::create_directories(path); }
        ~Dir() {
            std::error_code error;
            fs::remove_all(path, error);
        }
    };
    static Dir dir;
    return dir.path;
}

// The favicons of a Firefox-style export with icons: 40 distinct PNG
// images of 200 to 700 bytes as data: URLs, as sites' icons run.
const std::vector<std::string>& IconDataUrls() {
    static const std::vector<std::string> urls = [] {
        std::vector<std::string> made;
        std::uint32_t seed = 1;
        for (int icon = 0; icon < 40; ++icon) {
            std::string image = "\x89PNG\r\n\x1A\n";
            auto size = 200 + (icon * 97) % 500;
            while (image.size() < static_cast<std::size_t>(size)) {
                seed = seed * 1664525 + 1013904223;
                image += static_cast<char>(seed >> 24);
            }
            std::string url = "data:image/png;base64,";
            AppendBase64(url, image);
            made.push_back(std::move(url));
        }
        return made;
    }();
    return urls;
}

// A Firefox-style export: folders of 50 links, ten folders to a parent
// folder, about 220 bytes per link line, and with icons an ICON attribute
// of one of IconDataUrls on every link.
std::string GenerateNetscapeText(int links, bool icons = false) {
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                       "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                       "<H1>Bookmarks Menu</H1>\n\n<DL><p>\n";
    for (int link = 0; link < links; ++link) {
        auto id = std::to_string(link);
        if (link % (10 * kLinksPerFolder) == 0) {
            if (link > 0) {
                text += "        </DL><p>\n    </DL><p>\n";
            }
            text += "    <DT><H3 ADD_DATE=\"1685118888\" LAST_MODIFIED=\"1685118888\">Group " + id +
                    "</H3>\n    <DL><p>\n";
        } else if (link % kLinksPerFolder == 0) {
            text += "        </DL><p>\n";
        }
        if (link % kLinksPerFolder == 0) {
            text +=
                "        <DT><H3 ADD_DATE=\"1685118888\">Folder " + id + "</H3>\n        <DL><p>\n";
        }
        text += "            <DT><A HREF=\"https://www.example.com/articles/" + id +
                "?ref=bookmarks&amp;utm_source=export\" ADD_DATE=\"1685118888\" "
                "LAST_MODIFIED=\"1685118888\" ICON_URI=\"https://www.example.com/favicon.ico\"" +
                (icons ? " ICON=\"" + IconDataUrls()[static_cast<std::size_t>(link % 40)] + "\""
                       : std::string()) +
                ">Example article " + id + " &amp; its caf\xC3\xA9 notes</A>\n";
    }
    text += "        </DL><p>\n    </DL><p>\n</DL>\n";
    return text;
}

// The generated file of each size, with icons or without, written once
// per run.
const fs::path& NetscapeFile(int links, bool icons = false) {
    static std::map<std::pair<int, bool>, fs::path> files;
    auto& path = files[{links, icons}];
    if (path.empty()) {
        path =
            BenchDir() / ("bookmarks-" + std::to_string(links) + (icons ? "-icons" : "") + ".html");
        std::ofstream(path, std::ios::binary) << GenerateNetscapeText(links, icons);
    }
    return path;
}

// A Favorites-style tree built in memory, shaped like the generated file.
void BuildFavoritesStyleTree(BookmarkTree& tree, int links) {
    FileTreeBuilder builder(tree, StoreKind::Favorites);
    for (int link = 0; link < links; ++link) {
        auto id = std::to_string(link);
        if (link % (10 * kLinksPerFolder) == 0) {
            if (link > 0) {
                builder.EndFolder();
                builder.EndFolder();
            }
            builder.BeginFolder("Group " + id);
        } else if (link % kLinksPerFolder == 0) {
            builder.EndFolder();
        }
        if (link % kLinksPerFolder == 0) {
            builder.BeginFolder("Folder " + id);
        }
        builder.AddLink("Example article " + id + " & its caf\xC3\xA9 notes",
                        "https://www.example.com/articles/" + id +
                            "?ref=bookmarks&utm_source=export");
    }
    builder.Finish();
}

std::int64_t RssKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stoll(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

// Runs work in a child process and returns the most memory it took beyond
// what was resident before, in bytes (-1 when unknown).
double PeakExtraBytes(const std::function<void()>& work) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return -1;
    }
    auto child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::ofstream("/proc/self/clear_refs") << "5"; // restart the peak from here
        auto before = RssKilobytes("VmRSS:");
        work();
        std::int64_t extra = (RssKilobytes("VmHWM:") - before) * 1024;
        (void)!write(pipeFds[1], &extra, sizeof extra);
        _exit(0);
    }
    close(pipeFds[1]);
    std::int64_t extra = -1;
    (void)!read(pipeFds[0], &extra, sizeof extra);
    close(pipeFds[0]);
    waitpid(child, nullptr, 0);
    return static_cast<double>(extra);
}

void BM_ReadNetscapeFile(benchmark::State& state) {
    auto links = static_cast<int>(state.range(0));
    const auto& path = NetscapeFile(links);
    for (auto _ : state) {
        BookmarkTree tree;
        benchmark::DoNotOptimize(BuildNetscapeTree(tree, path.string()));
    }
    auto size = static_cast<double>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.SetComplexityN(links);
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_per_file_byte"] = PeakExtraBytes([&] {
                                               BookmarkTree tree;
                                               BuildNetscapeTree(tree, path.string());
                                           }) /
                                           size;
}
BENCHMARK(BM_ReadNetscapeFile)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The parse alone, counting as the export window does before a selection.
void BM_CountNetscapeFile(benchmark::State& state) {
    auto links = static_cast<int>(state.range(0));
    const auto& path = NetscapeFile(links);
    for (auto _ : state) {
        cNNFastScanning scanner;
        scanner.Scan(path.string());
        benchmark::DoNotOptimize(scanner.nTotalLinks());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
    state.SetComplexityN(links);
}
BENCHMARK(BM_CountNetscapeFile)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Writes a Favorites-style tree of state.range(0) links with write, into
// a file of the given extension, and reports its speed and peak memory.
template <typename Write>
void MeasureWriter(benchmark::State& state, const std::string& extension, Write write) {
    auto links = static_cast<int>(state.range(0));
    BookmarkTree tree;
    BuildFavoritesStyleTree(tree, links);
    auto path = (BenchDir() / ("written-" + std::to_string(links) + extension)).string();
    for (auto _ : state) {
        auto result = write(tree, path);
        if (!result.ok) {
            state.SkipWithError(result.message.title.c_str());
            return;
        }
    }
    auto size = static_cast<double>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.SetComplexityN(links);
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_per_file_byte"] = PeakExtraBytes([&] { write(tree, path); }) / size;
}

// Converting a Favorites-style tree into a bookmark file (path 2 without
// the disk reads of the Favorites folder).
void BM_WriteNetscapeFile(benchmark::State& state) {
    WriteOptions options;
    options.profileName = "Bench";
    NullProgress progress;
    MeasureWriter(state, ".html", [&](BookmarkTree& tree, const std::string& path) {
        return PrintBookmarkFile(tree, path, options, progress);
    });
}
BENCHMARK(BM_WriteNetscapeFile)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The same tree written as an Opera hotlist.
void BM_WriteHotlistFile(benchmark::State& state) {
    WriteOptions options;
    NullProgress progress;
    MeasureWriter(state, ".adr", [&](BookmarkTree& tree, const std::string& path) {
        return PrintHotlistFile(tree, path, options, progress);
    });
}
BENCHMARK(BM_WriteHotlistFile)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A conversion that keeps icons: a bookmark file whose every link has an
// icon, read with its icons and written as a bookmark file again. The peak
// is measured against the source file.
void BM_ConvertNetscapeFileWithIcons(benchmark::State& state) {
    auto links = static_cast<int>(state.range(0));
    const auto& source = NetscapeFile(links, true);
    auto target = (BenchDir() / ("converted-" + std::to_string(links) + ".html")).string();
    WriteOptions options;
    options.profileName = "Bench";
    NullProgress progress;
    auto convert = [&] {
        BookmarkTree tree;
        tree.SetKeepIcons(true);
        BuildNetscapeTree(tree, source.string());
        return PrintBookmarkFile(tree, target, options, progress);
    };
    for (auto _ : state) {
        if (auto result = convert(); !result.ok) {
            state.SkipWithError(result.message.title.c_str());
            return;
        }
    }
    auto size = static_cast<double>(fs::file_size(source));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.SetComplexityN(links);
    state.counters["file_MB"] = size / 1e6;
    state.counters["written_MB"] = static_cast<double>(fs::file_size(target)) / 1e6;
    state.counters["peak_per_file_byte"] = PeakExtraBytes([&] { convert(); }) / size;
}
BENCHMARK(BM_ConvertNetscapeFileWithIcons)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
