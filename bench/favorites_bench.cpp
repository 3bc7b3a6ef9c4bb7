// Writing 100,000 links into a Favorites folder and reading them back,
// against plain file writes and reads of the same files as the baseline.
#include "model/file_tree_builder.h"
#include "model/folder_walk.h"
#include "sources/favorites_reader.h"
#include "targets/favorites_writer.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace tellavin;

constexpr int kFolders = 100;
constexpr int kLinksPerFolder = 1000;

fs::path BenchRoot(const std::string& name) {
    return fs::temp_directory_path() / ("tellavin-bench-" + std::to_string(getpid())) / name;
}

// 100 folders of 1,000 links each, as a file reader would build them.
BookmarkTree& SourceTree() {
    static BookmarkTree tree = [] {
        BookmarkTree built;
        FileTreeBuilder builder(built, StoreKind::Opera);
        builder.SetRootText("Bench");
        for (int f = 0; f < kFolders; ++f) {
            builder.BeginFolder("Folder " + std::to_string(f));
            for (int l = 0; l < kLinksPerFolder; ++l) {
                auto id = std::to_string(f) + "-" + std::to_string(l);
                builder.AddLink("Link " + id, "https://example.com/pages/" + id + "?ref=bench");
            }
            builder.EndFolder();
        }
        builder.Finish();
        return built;
    }();
    return tree;
}

void FreshFolder(const fs::path& folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
}

void BM_ExportToFavorites(benchmark::State& state) {
    auto& tree = SourceTree();
    auto folder = BenchRoot("export");
    NullProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(folder);
        state.ResumeTiming();
        auto result = ExportToFavorites(tree, folder.string(), {}, progress);
        if (result.nLinksWritten != kFolders * kLinksPerFolder) {
            state.SkipWithError("not every link was written");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kLinksPerFolder);
    fs::remove_all(folder);
}

// The same files written with plain streams, no name rules, no atomic
// replacement.
void BM_PlainFileWrites(benchmark::State& state) {
    auto folder = BenchRoot("plain");
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(folder);
        state.ResumeTiming();
        for (int f = 0; f < kFolders; ++f) {
            auto sub = folder / ("Folder " + std::to_string(f));
            fs::create_directory(sub);
            for (int l = 0; l < kLinksPerFolder; ++l) {
                auto id = std::to_string(f) + "-" + std::to_string(l);
                std::ofstream out(sub / ("Link " + id + ".URL"), std::ios::binary);
                out << "[InternetShortcut]\r\nURL=https://example.com/pages/" << id
                    << "?ref=bench\r\n";
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kLinksPerFolder);
    fs::remove_all(folder);
}

class LinkCounter final : public FolderVisitor {
public:
    explicit LinkCounter(BookmarkTree& tree) : tree_(tree) {}
    void Enter(std::int32_t folder, bool) override {
        for (const auto& row : tree_.Rows(folder)) {
            links += row.IsLink() && !row.sURL.empty() ? 1 : 0;
        }
    }
    void Leave(std::int32_t, bool) override {}
    std::int64_t links = 0;

private:
    BookmarkTree& tree_;
};

// Reads the written folder back: the tree, then every folder's rows with
// each shortcut's address.
void BM_ReadFavoritesBack(benchmark::State& state) {
    auto folder = BenchRoot("read");
    FreshFolder(folder);
    NullProgress progress;
    ExportToFavorites(SourceTree(), folder.string(), {}, progress);
    for (auto _ : state) {
        BookmarkTree tree;
        BuildFavoritesTree(tree, folder.string());
        LinkCounter counter(tree);
        ExportResult unreadable;
        WalkExportedFolders(tree, true, counter, unreadable, progress);
        if (counter.links != kFolders * kLinksPerFolder) {
            state.SkipWithError("not every link was read back");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kLinksPerFolder);
    fs::remove_all(folder);
}

// Every file of the same folder read whole, without parsing.
void BM_PlainFileReads(benchmark::State& state) {
    auto folder = BenchRoot("read-plain");
    FreshFolder(folder);
    NullProgress progress;
    ExportToFavorites(SourceTree(), folder.string(), {}, progress);
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                std::ifstream in(entry.path(), std::ios::binary);
                std::string content(std::istreambuf_iterator<char>(in), {});
                bytes += content.size();
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kFolders * kLinksPerFolder);
    fs::remove_all(folder);
}

// A chain of folders deeper than the path limit allows, one link in each:
// the writer makes what fits and counts the rest as not written.
void BM_ExportDeepChain(benchmark::State& state) {
    const auto levels = static_cast<int>(state.range(0));
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Opera);
    builder.SetRootText("Bench");
    for (int level = 0; level < levels; ++level) {
        builder.BeginFolder("d");
        builder.AddLink("x", "https://example.com/");
    }
    for (int level = 0; level < levels; ++level) {
        builder.EndFolder();
    }
    builder.Finish();
    auto folder = BenchRoot("deep");
    NullProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(folder);
        state.ResumeTiming();
        auto result = ExportToFavorites(tree, folder.string(), {}, progress);
        benchmark::DoNotOptimize(result.nFoldersWritten);
    }
    state.SetItemsProcessed(state.iterations() * levels);
    fs::remove_all(folder);
}

// Names that differ only past what a file name keeps, all numbered in one
// folder: "nnn...(2).URL", "nnn...(3).URL" and so on.
void BM_ExportCollidingNames(benchmark::State& state) {
    const auto names = static_cast<int>(state.range(0));
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Opera);
    builder.SetRootText("Bench");
    const std::string common(300, 'n');
    for (int i = 0; i < names; ++i) {
        builder.AddLink(common + std::to_string(i), "https://example.com/");
    }
    builder.Finish();
    auto folder = BenchRoot("colliding");
    NullProgress progress;
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder(folder);
        state.ResumeTiming();
        auto result = ExportToFavorites(tree, folder.string(), {}, progress, FileNameRules::Posix);
        if (result.nLinksWritten != names) {
            state.SkipWithError("not every link was written");
        }
    }
    state.SetItemsProcessed(state.iterations() * names);
    fs::remove_all(folder);
}

BENCHMARK(BM_ExportToFavorites)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainFileWrites)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadFavoritesBack)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainFileReads)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportDeepChain)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ExportCollidingNames)
    ->Arg(2'000)
    ->Arg(20'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
