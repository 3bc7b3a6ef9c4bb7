// Reads arbitrary bytes as Safari's Bookmarks.plist: the file is refused
// as no such file with nothing pushed, or read; then the count equals what
// the tree holds, every date a link keeps is one links may carry, and
// written as XBEL and read again the tree keeps every folder and link.
#include "fuzz_check.h"
#include "model/file_tree_builder.h"
#include "model/link_dates.h"
#include "round_trip.h"
#include "sources/safari_reader.h"
#include "sources/xbel_reader.h"
#include "targets/xbel_writer.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace tellavin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CountingSink counter;
    auto counted = ParseSafariBookmarks(bytes, counter);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto read = ParseSafariBookmarks(bytes, builder);
    builder.Finish();
    FUZZ_CHECK(read == counted);
    if (!read.empty()) {
        FUZZ_CHECK(read == kNotSafariBookmarks);
        FUZZ_CHECK(counter.folders() == 0 && counter.links() == 0);
        FUZZ_CHECK(tree.NodeCount() == 1 && tree.EntryTable.empty());
        return 0;
    }
    FUZZ_CHECK(counter.folders() == tree.NodeCount() - 1);
    FUZZ_CHECK(counter.links() == fuzz::LinkCount(tree));
    for (const auto& row : tree.EntryTable) {
        FUZZ_CHECK(row.nCreated == 0 || IsLinkDateInRange(row.nCreated));
        FUZZ_CHECK(row.nChanged == 0);
    }

    NullProgress progress;
    auto path = fuzz::ScratchPath("bookmarks.xbel");
    FUZZ_CHECK(WriteXbelFile(tree, path, WriteOptions{}, progress).Complete());
    BookmarkTree back;
    FileTreeBuilder backBuilder(back, StoreKind::Netscape);
    FUZZ_CHECK(LoadXbelFile(path, backBuilder).empty());
    backBuilder.Finish();
    // XBEL holds every link whatever its address: none is lost or added.
    FUZZ_CHECK(back.NodeCount() == tree.NodeCount());
    FUZZ_CHECK(fuzz::LinkCount(back) == fuzz::LinkCount(tree));
    return 0;
}
