// Reading a generated Favorites folder: counting it, building its folder tree and
// listing every folder's shortcuts, and the shortcut and INI parsers alone.
#include "bench_data.h"
#include "model/bookmark_counts.h"
#include "text/ini_document.h"
#include "sources/favorites_reader.h"
#include "sources/internet_shortcut.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace tellavin {
namespace {

const char* const kShortcut = "[{000214A0-0000-0000-C000-000000000046}]\r\n"
                              "Prop3=19,11\r\n"
                              "[InternetShortcut]\r\n"
                              "IDList=\r\n"
                              "URL=https://www.example.com/news/weather/1234567?id=42&ref=home\r\n"
                              "IconFile=https://www.example.com/favicon.ico\r\n"
                              "IconIndex=1\r\n";

void BM_CountFavorites(benchmark::State& state, const char* size) {
    auto root = bench::Collection("favorites", size);
    for (auto _ : state) {
        cFastScanning scanner;
        scanner.Scan(root);
        benchmark::DoNotOptimize(scanner.nLink());
    }
}

void BM_ReadFavorites(benchmark::State& state, const char* size) {
    auto root = bench::Collection("favorites", size);
    for (auto _ : state) {
        BookmarkTree tree;
        BuildFavoritesTree(tree, root);
        // Lists every folder, as a writer exporting everything does.
        benchmark::DoNotOptimize(CountBookmarks(tree).links);
    }
}

void BM_ShortcutUrlFromText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShortcutUrlFromText(kShortcut));
    }
}

void BM_IniParse(benchmark::State& state) {
    std::string text;
    for (int section = 0; section < 50; ++section) {
        text += "[Section" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 20; ++key) {
            text += "Key" + std::to_string(key) + " = value " + std::to_string(key) + "\r\n";
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(IniDocument::Parse(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// A Favorites folder whose levels each hold two links to the next level's
// folder: every folder is read once however many links lead to it.
void BM_ReadLinkDiamonds(benchmark::State& state) {
    namespace fs = std::filesystem;
    const auto levels = static_cast<int>(state.range(0));
    auto base = fs::temp_directory_path() / ("tellavin-bench-diamonds-" + std::to_string(getpid()));
    auto level = [&](int n) { return base / ("level" + std::to_string(n)); };
    fs::create_directories(level(0));
    for (int n = 0; n < levels; ++n) {
        fs::create_directories(level(n + 1));
        fs::create_directory_symlink(level(n + 1), level(n) / "a");
        fs::create_directory_symlink(level(n + 1), level(n) / "b");
    }
    for (auto _ : state) {
        BookmarkTree tree;
        BuildFavoritesTree(tree, level(0).string());
        benchmark::DoNotOptimize(tree.NodeCount());
    }
    fs::remove_all(base);
}

BENCHMARK_CAPTURE(BM_CountFavorites, 10k, "10k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CountFavorites, 100k, "100k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFavorites, 10k, "10k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFavorites, 100k, "100k")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShortcutUrlFromText);
BENCHMARK(BM_IniParse);
BENCHMARK(BM_ReadLinkDiamonds)->Arg(18)->Arg(30)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tellavin
