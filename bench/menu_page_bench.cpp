// The menu page of a large collection: composing it, writing it, and as a
// baseline writing the same number of bytes without composing anything.
#include "model/file_tree_builder.h"
#include "platform/atomic_file.h"
#include "targets/menu_page.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

using namespace tellavin;

// folders folders of linksPerFolder links each, two levels deep, with names
// of ordinary length.
void BuildCollection(BookmarkTree& tree, int folders, int linksPerFolder) {
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    for (int f = 0; f < folders; ++f) {
        if (f % 10 == 0) {
            if (f > 0) {
                builder.EndFolder();
            }
            builder.BeginFolder("Topic " + std::to_string(f / 10));
        }
        builder.BeginFolder("Folder number " + std::to_string(f));
        for (int l = 0; l < linksPerFolder; ++l) {
            builder.AddLink("A bookmarked page about subject " + std::to_string(l),
                            "https://www.example.com/section/" + std::to_string(f) + "/page-" +
                                std::to_string(l) + ".html");
        }
        builder.EndFolder();
    }
    builder.EndFolder();
    builder.Finish();
}

BookmarkTree& Collection() {
    static BookmarkTree tree = [] {
        BookmarkTree built;
        BuildCollection(built, 1000, 100); // 100,000 links
        return built;
    }();
    return tree;
}

void BM_ComposeMenuPage(benchmark::State& state) {
    auto& tree = Collection();
    MenuPageOptions options;
    NullProgress progress;
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto page = ComposeMenuPage(tree, {}, options, progress);
        bytes = page.text.size();
        benchmark::DoNotOptimize(page.text.data());
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
    state.counters["links"] = 100000;
}
BENCHMARK(BM_ComposeMenuPage)->Unit(benchmark::kMillisecond);

std::string PagePath() {
    return (std::filesystem::temp_directory_path() / "tellavin-bench-menu.html").string();
}

void BM_WriteMenuPage(benchmark::State& state) {
    auto& tree = Collection();
    MenuPageOptions options;
    NullProgress progress;
    for (auto _ : state) {
        auto result = WriteMenuPage(tree, PagePath(), {}, options, progress);
        if (!result.ok) {
            state.SkipWithError(result.message.title.c_str());
            break;
        }
    }
    std::filesystem::remove(PagePath());
}
BENCHMARK(BM_WriteMenuPage)->Unit(benchmark::kMillisecond);

// Writing a finished page of the same size: what the file system costs.
void BM_WriteSameBytesBaseline(benchmark::State& state) {
    MenuPageOptions options;
    NullProgress progress;
    const std::string bytes = ComposeMenuPage(Collection(), {}, options, progress).text;
    for (auto _ : state) {
        auto result = WriteFileAtomically(PagePath(), bytes);
        if (!result.ok) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
    std::filesystem::remove(PagePath());
}
BENCHMARK(BM_WriteSameBytesBaseline)->Unit(benchmark::kMillisecond);

} // namespace
