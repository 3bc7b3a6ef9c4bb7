// Reads arbitrary bytes as an Opera hotlist: the count equals what the tree
// holds, everything read is UTF-8, the tree comes back whole after the
// Opera writer wrote it and the reader read it again, and written as a
// Netscape-format file it reads back with no folder or link lost or added.
#include "fuzz_check.h"
#include "model/file_tree_builder.h"
#include "round_trip.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "text/encoding.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace tellavin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CountingSink counter;
    ParseOperaHotlist(bytes, counter);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Opera);
    ParseOperaHotlist(bytes, builder);
    builder.Finish();
    FUZZ_CHECK(counter.folders() == tree.NodeCount() - 1);
    FUZZ_CHECK(counter.links() == fuzz::LinkCount(tree));
    auto expected = fuzz::CanonicalTree(tree);
    FUZZ_CHECK(IsValidUtf8(expected));

    NullProgress progress;
    auto hotlist = fuzz::ScratchPath("hotlist.adr");
    auto written = PrintHotlistFile(tree, hotlist, WriteOptions{}, progress);
    FUZZ_CHECK(written.Complete());
    BookmarkTree again;
    FUZZ_CHECK(LoadOperaTree(again, hotlist));
    FUZZ_CHECK(fuzz::CanonicalTree(again) == expected);

    auto bookmarks = fuzz::ScratchPath("bookmarks.html");
    FUZZ_CHECK(PrintBookmarkFile(tree, bookmarks, WriteOptions{}, progress).ok);
    BookmarkTree fromNetscape;
    FUZZ_CHECK(BuildNetscapeTree(fromNetscape, bookmarks));
    FUZZ_CHECK(fuzz::Counts(fromNetscape) == fuzz::Counts(tree));
    return 0;
}
