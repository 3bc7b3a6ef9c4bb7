// Building a file source's tree from reader events, and the sorted link
// lists every writer asks for.
#include "model/file_tree_builder.h"
#include "targets/folder_links.h"

#include <benchmark/benchmark.h>
#include <string>

namespace tellavin {
namespace {

// Folders of 100 links, ten sub-folders a folder, as bench/generate.py
// lays collections out.
void PushCollection(BookmarkSink& sink, std::int64_t links) {
    std::int64_t made = 0;
    std::int64_t folder = 0;
    while (made < links) {
        sink.BeginFolder("Folder " + std::to_string(folder % 97));
        for (int i = 0; i < 100 && made < links; ++i, ++made) {
            sink.AddLink("Link " + std::to_string((made * 7919) % 100003),
                         "https://www.example.com/page/" + std::to_string(made));
        }
        if (++folder % 10 == 0) {
            sink.EndFolder();
        }
    }
}

void BM_BuildFileTree(benchmark::State& state) {
    for (auto _ : state) {
        BookmarkTree tree;
        FileTreeBuilder builder(tree, StoreKind::Netscape);
        PushCollection(builder, state.range(0));
        builder.Finish();
        benchmark::DoNotOptimize(tree.EntryTable.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

// One folder with N links: the sort every writer runs per folder.
void BM_GetFolderLinksOneFolder(benchmark::State& state) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        builder.AddLink("Link " + std::to_string((i * 7919) % 1000003), "https://x/");
    }
    builder.Finish();
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetFolderLinks(tree, 0, true));
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_BuildFileTree)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_GetFolderLinksOneFolder)
    ->RangeMultiplier(10)
    ->Range(100, 100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
} // namespace tellavin
