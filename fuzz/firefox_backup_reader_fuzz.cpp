// Reads arbitrary bytes as a Firefox bookmark backup, plain JSON or
// compressed: the file is refused with nothing pushed, or read; then the
// count equals what the tree holds, everything read is UTF-8, every date a
// link keeps is one links may carry, and written as a Netscape-format file
// the tree reads back with no folder or link lost or added. For plain
// JSON the streaming reader takes exactly the documents holding an object
// that nlohmann-json's parser takes.
#include "fuzz_check.h"
#include "model/file_tree_builder.h"
#include "model/link_dates.h"
#include "platform/atomic_file.h"
#include "round_trip.h"
#include "sources/firefox_backup_reader.h"
#include "sources/json_nodes.h"
#include "sources/mozlz4.h"
#include "sources/netscape_reader.h"
#include "targets/netscape_writer.h"
#include "text/encoding.h"

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

using namespace tellavin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!bytes.starts_with(kMozLz4Magic)) {
        auto document = nlohmann::json::parse(bytes, nullptr, false);
        bool taken = !document.is_discarded() && document.is_object();
        FUZZ_CHECK(ReadJsonNodes(bytes, {}).has_value() == taken);
    }
    auto path = fuzz::ScratchPath("bookmarks.jsonlz4");
    FUZZ_CHECK(WriteFileAtomically(path, bytes, false).ok);
    CountingSink counter;
    auto counted = LoadFirefoxBackup(path, counter);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto read = LoadFirefoxBackup(path, builder);
    builder.Finish();
    FUZZ_CHECK(read == counted);
    if (!read.empty()) {
        FUZZ_CHECK(counter.folders() == 0 && counter.links() == 0);
        FUZZ_CHECK(tree.NodeCount() == 1 && tree.EntryTable.empty());
        return 0;
    }
    FUZZ_CHECK(counter.folders() == tree.NodeCount() - 1);
    FUZZ_CHECK(counter.links() == fuzz::LinkCount(tree));
    FUZZ_CHECK(IsValidUtf8(fuzz::CanonicalTree(tree)));
    for (const auto& row : tree.EntryTable) {
        FUZZ_CHECK(row.nCreated == 0 || IsLinkDateInRange(row.nCreated));
        FUZZ_CHECK(row.nChanged == 0 || IsLinkDateInRange(row.nChanged));
    }

    NullProgress progress;
    auto bookmarks = fuzz::ScratchPath("bookmarks.html");
    FUZZ_CHECK(PrintBookmarkFile(tree, bookmarks, WriteOptions{}, progress).ok);
    BookmarkTree fromNetscape;
    FUZZ_CHECK(BuildNetscapeTree(fromNetscape, bookmarks));
    FUZZ_CHECK(fuzz::Counts(fromNetscape) == fuzz::Counts(tree));
    return 0;
}
