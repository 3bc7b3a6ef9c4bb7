#include "sources/chromium_bookmarks_reader.h"

#include "platform/file_io.h"
#include "sources/json_nodes.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

constexpr const char* kNotBookmarks = "not a Chromium Bookmarks file";

// The keys the reader keeps of each node, by their index.
enum Key : std::size_t {
    kRoots,
    kBookmarkBar,
    kOther,
    kSynced,
    kType,
    kName,
    kUrl,
    kDateAdded,
    kDateModified
};
constexpr std::string_view kKeyNames[] = {"roots",  "bookmark_bar", "other",
                                          "synced", "type",         "name",
                                          "url",    "date_added",   "date_modified"};

// A NUL carries nothing in a name or an address, and no other store can
// hold one: it is dropped, as the other readers drop it.
std::string TextOf(const JsonNodes& nodes, std::uint32_t node, Key key) {
    std::string text(nodes.Text(node, key));
    if (nodes.KindOf(node, key) != JsonValueKind::String) {
        return {};
    }
    std::erase(text, '\0');
    return text;
}

// Chromium stores times as microseconds since 1601 in a string, 0 for no
// time; seconds since 1970, or nothing when the string holds no time.
std::optional<std::int64_t> SecondsSince1970(const JsonNodes& nodes, std::uint32_t node, Key key) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    auto text = TextOf(nodes, node, key);
    std::int64_t micros = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), micros);
    if (error != std::errc() || end != text.data() + text.size() || micros == 0) {
        return std::nullopt;
    }
    return micros / 1'000'000 - kSecondsFrom1601To1970;
}

// Notes a node the tree has no place for, and every node below it, as
// skipped entries, in stored order.
void NoteSkipped(const JsonNodes& nodes, std::uint32_t node, BookmarkSink& sink) {
    if (sink.WantsLinkDetails()) {
        VisitJsonSubtree(nodes, node, [&](std::uint32_t entry) {
            sink.NoteLoss(LossKind::EntrySkipped, TextOf(nodes, entry, kName));
        });
    }
}

void PushFolderDates(const JsonNodes& nodes, std::uint32_t folder, BookmarkSink& sink) {
    sink.SetFolderDates(SecondsSince1970(nodes, folder, kDateAdded),
                        SecondsSince1970(nodes, folder, kDateModified));
}

void PushLink(const JsonNodes& nodes, std::uint32_t node, BookmarkSink& sink) {
    auto url = TextOf(nodes, node, kUrl);
    if (url.empty()) {
        sink.NoteLoss(LossKind::AddressUnusable, TextOf(nodes, node, kName));
    } else {
        sink.AddLink(TextOf(nodes, node, kName), std::move(url));
        sink.SetLinkDates(SecondsSince1970(nodes, node, kDateAdded), std::nullopt);
    }
    // A link holds no entries in Chromium's own tree.
    for (auto child = nodes[node].firstChild; child != kNoJsonNode;
         child = nodes[child].nextSibling) {
        NoteSkipped(nodes, child, sink);
    }
}

// Pushes the children of a node, and every folder below them, in stored
// order.
void PushChildren(const JsonNodes& nodes, std::uint32_t parent, BookmarkSink& sink) {
    WalkJsonChildren(nodes, parent, sink, [&](std::uint32_t node) {
        auto type = TextOf(nodes, node, kType);
        if (type == "folder") {
            sink.BeginFolder(TextOf(nodes, node, kName));
            PushFolderDates(nodes, node, sink);
            return true;
        }
        if (type == "url") {
            PushLink(nodes, node, sink);
        } else {
            NoteSkipped(nodes, node, sink);
        }
        return false;
    });
}

} // namespace

std::string LoadChromiumBookmarks(const std::string& path, BookmarkSink& sink) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReasonCannotRead(path, false);
    }
    auto nodes = ReadJsonNodes(*bytes, kKeyNames);
    // The text is no longer needed: the nodes keep what is read of it.
    bytes.reset();
    auto roots = nodes ? nodes->Object(0, kRoots) : kNoJsonNode;
    auto bar = roots != kNoJsonNode ? nodes->Object(roots, kBookmarkBar) : kNoJsonNode;
    if (bar == kNoJsonNode || !(*nodes)[bar].hasChildren) {
        return kNotBookmarks;
    }
    sink.SetRootText(kChromiumRootText);
    sink.BeginFolder(TextOf(*nodes, bar, kName));
    sink.MarkToolbarFolder();
    PushFolderDates(*nodes, bar, sink);
    PushChildren(*nodes, bar, sink);
    sink.EndFolder();
    for (Key key : {kOther, kSynced}) {
        auto root = nodes->Object(roots, key);
        if (root != kNoJsonNode && (*nodes)[root].hasChildren) {
            PushChildren(*nodes, root, sink);
        }
    }
    return {};
}

} // namespace tellavin
