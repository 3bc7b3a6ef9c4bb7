// Reads arbitrary bytes as a Netscape-format bookmark file: the count
// equals what the tree holds, everything read is UTF-8, keeping icons
// changes nothing else, the tree comes back
// whole after the Netscape-format writer wrote it and the reader read it
// again, and written as a hotlist it reads back with no folder or link lost
// or added.
#include "fuzz_check.h"
#include "model/file_tree_builder.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "round_trip.h"
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
    auto text = DecodeNetscapeBytes(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(IsValidUtf8(text.text));

    CountingSink counter;
    ParseNetscapeText(text, counter);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    ParseNetscapeText(text, builder);
    builder.Finish();
    FUZZ_CHECK(counter.folders() == tree.NodeCount() - 1);
    FUZZ_CHECK(counter.links() == fuzz::LinkCount(tree));
    auto expected = fuzz::CanonicalTree(tree);
    FUZZ_CHECK(IsValidUtf8(expected));

    // Keeping icons changes no folder or link, and every link shows its
    // default image or an icon the table holds, with an image or an
    // address.
    BookmarkTree withIcons;
    withIcons.SetKeepIcons(true);
    FileTreeBuilder iconBuilder(withIcons, StoreKind::Netscape);
    ParseNetscapeText(text, iconBuilder);
    iconBuilder.Finish();
    FUZZ_CHECK(fuzz::CanonicalTree(withIcons) == expected);
    for (const auto& row : withIcons.EntryTable) {
        FUZZ_CHECK(!row.IsLink() || row.nIcon == LinkRowIcon(StoreKind::Netscape) ||
                   !withIcons.LinkIconBytes(row.nIcon).empty() ||
                   !withIcons.LinkIconAddress(row.nIcon).empty());
    }

    auto path = fuzz::ScratchPath("bookmarks.html");
    NullProgress progress;
    auto written = PrintBookmarkFile(tree, path, WriteOptions{}, progress);
    FUZZ_CHECK(written.ok);
    FUZZ_CHECK(written.nLinksWritten == counter.links());
    BookmarkTree again;
    FUZZ_CHECK(BuildNetscapeTree(again, path));
    FUZZ_CHECK(fuzz::CanonicalTree(again) == expected);

    // Merging one link into the input as an existing file: refused with the
    // file untouched, or the file then holds every old link and the new one.
    auto old = fuzz::ScratchPath("old.html");
    const std::string oldBytes(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(WriteFileAtomically(old, oldBytes, false).ok);
    BookmarkTree one;
    FileTreeBuilder oneBuilder(one, StoreKind::Netscape);
    oneBuilder.AddLink("new", "http://new/");
    oneBuilder.Finish();
    WriteOptions merge;
    merge.merge = true;
    if (PrintBookmarkFile(one, old, merge, progress).ok) {
        CountingSink merged;
        FUZZ_CHECK(LoadNetscapeTree(old, merged));
        FUZZ_CHECK(merged.links() == counter.links() + 1);
    } else {
        FUZZ_CHECK(ReadWholeFile(old) == oldBytes);
    }

    auto hotlist = fuzz::ScratchPath("hotlist.adr");
    FUZZ_CHECK(PrintHotlistFile(tree, hotlist, WriteOptions{}, progress).Complete());
    BookmarkTree fromOpera;
    FUZZ_CHECK(LoadOperaTree(fromOpera, hotlist));
    FUZZ_CHECK(fuzz::Counts(fromOpera) == fuzz::Counts(tree));
    return 0;
}
