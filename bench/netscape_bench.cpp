// The Netscape-format hot paths on generated Firefox files: decoding and
// parsing alone (counting), building the tree, and writing it.
#include "bench_data.h"
#include "model/bookmark_sink.h"
#include "platform/file_io.h"
#include "sources/netscape_reader.h"
#include "targets/netscape_writer.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace tellavin {
namespace {

void BM_ParseNetscape(benchmark::State& state, const char* size) {
    auto bytes = ReadWholeFile(bench::Collection("netscape", size)).value();
    for (auto _ : state) {
        auto text = DecodeNetscapeBytes(bytes);
        CountingSink counter;
        ParseNetscapeText(text, counter);
        benchmark::DoNotOptimize(counter.links());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_BuildNetscapeTree(benchmark::State& state, const char* size) {
    auto path = bench::Collection("netscape", size);
    for (auto _ : state) {
        BookmarkTree tree;
        BuildNetscapeTree(tree, path);
        benchmark::DoNotOptimize(tree.EntryTable.size());
    }
}

void BM_WriteNetscape(benchmark::State& state, const char* size) {
    BookmarkTree tree;
    BuildNetscapeTree(tree, bench::Collection("netscape", size));
    auto out = (std::filesystem::temp_directory_path() / "tellavin-bench-out.html").string();
    for (auto _ : state) {
        auto result = PrintBookmarkFile(tree, out, NetscapeWriterOptions{});
        benchmark::DoNotOptimize(result.links);
    }
    std::filesystem::remove(out);
}

BENCHMARK_CAPTURE(BM_ParseNetscape, 100k, "100k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ParseNetscape, 1M, "1M")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildNetscapeTree, 100k, "100k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildNetscapeTree, 1M, "1M")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteNetscape, 100k, "100k")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteNetscape, 1M, "1M")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tellavin
