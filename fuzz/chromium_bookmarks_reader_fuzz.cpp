// Reads arbitrary bytes as a Chromium "Bookmarks" file: the file is refused
// as no such file with nothing pushed, or read; then the count equals what
// the tree holds, everything read is UTF-8, every date a link keeps is one
// links may carry, and written as a Netscape-format file or as a hotlist
// the tree reads back with no folder or link lost or added.
#include "fuzz_check.h"
#include "model/file_tree_builder.h"
#include "model/link_dates.h"
#include "platform/atomic_file.h"
#include "round_trip.h"
#include "sources/chromium_bookmarks_reader.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "text/encoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace tellavin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto path = fuzz::ScratchPath("Bookmarks");
    FUZZ_CHECK(
        WriteFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size), false)
            .ok);
    CountingSink counter;
    auto counted = LoadChromiumBookmarks(path, counter);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto read = LoadChromiumBookmarks(path, builder);
    builder.Finish();
    FUZZ_CHECK(read == counted);
    if (!read.empty()) {
        FUZZ_CHECK(read == "not a Chromium Bookmarks file");
        FUZZ_CHECK(counter.folders() == 0 && counter.links() == 0);
        FUZZ_CHECK(tree.NodeCount() == 1 && tree.EntryTable.empty());
        return 0;
    }
    FUZZ_CHECK(counter.folders() == tree.NodeCount() - 1);
    FUZZ_CHECK(counter.links() == fuzz::LinkCount(tree));
    FUZZ_CHECK(IsValidUtf8(fuzz::CanonicalTree(tree)));
    for (const auto& row : tree.EntryTable) {
        FUZZ_CHECK(row.nCreated == 0 || IsLinkDateInRange(row.nCreated));
        FUZZ_CHECK(row.nChanged == 0);
    }

    NullProgress progress;
    auto bookmarks = fuzz::ScratchPath("bookmarks.html");
    FUZZ_CHECK(PrintBookmarkFile(tree, bookmarks, WriteOptions{}, progress).ok);
    BookmarkTree fromNetscape;
    FUZZ_CHECK(BuildNetscapeTree(fromNetscape, bookmarks));
    FUZZ_CHECK(fuzz::Counts(fromNetscape) == fuzz::Counts(tree));

    auto hotlist = fuzz::ScratchPath("hotlist.adr");
    FUZZ_CHECK(PrintHotlistFile(tree, hotlist, WriteOptions{}, progress).Complete());
    BookmarkTree fromOpera;
    FUZZ_CHECK(LoadOperaTree(fromOpera, hotlist));
    FUZZ_CHECK(fuzz::Counts(fromOpera) == fuzz::Counts(tree));
    return 0;
}
