#include "sources/firefox_backup_reader.h"

#include "platform/file_io.h"
#include "sources/firefox_places_reader.h"
#include "sources/json_nodes.h"
#include "sources/mozlz4.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

// The keys the reader keeps of each node, by their index.
enum Key : std::size_t { kType, kTitle, kRoot, kUri, kDateAdded, kLastModified, kTags, kKeyword };
constexpr std::string_view kKeyNames[] = {"type",      "title",        "root", "uri",
                                          "dateAdded", "lastModified", "tags", "keyword"};

constexpr std::string_view kLinkType = "text/x-moz-place";
constexpr std::string_view kFolderType = "text/x-moz-place-container";
constexpr std::string_view kSeparatorType = "text/x-moz-place-separator";

// A NUL carries nothing in a name or an address (Firefox's database cuts
// its texts there): it is dropped, as the other readers drop it.
std::string TextOf(const JsonNodes& nodes, std::uint32_t node, Key key) {
    if (nodes.KindOf(node, key) != JsonValueKind::String) {
        return {};
    }
    std::string text(nodes.Text(node, key));
    std::erase(text, '\0');
    return text;
}

// A date in whole seconds from Firefox's microseconds; 0 (no date) when the
// value is no whole number.
std::int64_t SecondsOf(const JsonNodes& nodes, std::uint32_t node, Key key) {
    auto text = nodes.KindOf(node, key) == JsonValueKind::Number ? nodes.Text(node, key)
                                                                 : std::string_view();
    std::int64_t micros = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), micros);
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return micros / 1'000'000;
}

// Notes a node the tree has no place for, and every node below it, as
// skipped entries, in stored order.
void NoteSkipped(const JsonNodes& nodes, std::uint32_t node, BookmarkSink& sink) {
    if (sink.WantsLinkDetails()) {
        VisitJsonSubtree(nodes, node, [&](std::uint32_t entry) {
            sink.NoteLoss(LossKind::EntrySkipped, TextOf(nodes, entry, kTitle));
        });
    }
}

// The tags attribute lists a link's tags, comma-separated.
std::vector<std::string> TagsOf(const JsonNodes& nodes, std::uint32_t node) {
    std::vector<std::string> tags;
    auto text = TextOf(nodes, node, kTags);
    std::string_view rest = text;
    while (!rest.empty()) {
        auto comma = rest.find(',');
        if (auto tag = rest.substr(0, comma); !tag.empty()) {
            tags.emplace_back(tag);
        }
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return tags;
}

void PushLink(const JsonNodes& nodes, std::uint32_t node, BookmarkSink& sink) {
    auto uri = TextOf(nodes, node, kUri);
    if (uri.empty() || uri.starts_with("place:")) {
        // A saved search is no address another browser can open.
        sink.NoteLoss(LossKind::AddressUnusable, TextOf(nodes, node, kTitle));
    } else {
        sink.AddLink(TextOf(nodes, node, kTitle), std::move(uri));
        sink.SetLinkDates(SecondsOf(nodes, node, kDateAdded),
                          SecondsOf(nodes, node, kLastModified));
        if (auto tags = TagsOf(nodes, node); !tags.empty()) {
            sink.SetLinkTags(std::move(tags));
        }
        if (auto keyword = TextOf(nodes, node, kKeyword); !keyword.empty()) {
            sink.SetLinkKeyword(keyword);
        }
    }
}

// Pushes the children of a node, and every folder below them, in stored
// order.
void PushChildren(const JsonNodes& nodes, std::uint32_t parent, BookmarkSink& sink) {
    WalkJsonChildren(nodes, parent, sink, [&](std::uint32_t node) {
        auto type = nodes.KindOf(node, kType) == JsonValueKind::String ? nodes.Text(node, kType)
                                                                       : std::string_view();
        if (type == kFolderType) {
            sink.BeginFolder(TextOf(nodes, node, kTitle));
            sink.SetFolderDates(SecondsOf(nodes, node, kDateAdded),
                                SecondsOf(nodes, node, kLastModified));
            return true;
        }
        if (type == kLinkType) {
            PushLink(nodes, node, sink);
        } else if (type == kSeparatorType) {
            sink.AddSeparator();
        } else {
            NoteSkipped(nodes, node, sink);
            return false;
        }
        // A link or a separator holds no entries in Firefox's own tree.
        for (auto child = nodes[node].firstChild; child != kNoJsonNode;
             child = nodes[child].nextSibling) {
            NoteSkipped(nodes, child, sink);
        }
        return false;
    });
}

bool IsRoot(const JsonNodes& nodes, std::uint32_t node, std::string_view root) {
    return nodes.KindOf(node, kRoot) == JsonValueKind::String && nodes.Text(node, kRoot) == root;
}

// The child of the top node that is the given root, or kNoJsonNode.
std::uint32_t RootNode(const JsonNodes& nodes, std::string_view root) {
    for (auto child = nodes[0].firstChild; child != kNoJsonNode; child = nodes[child].nextSibling) {
        if (IsRoot(nodes, child, root)) {
            return child;
        }
    }
    return kNoJsonNode;
}

// Pushes the tree of Firefox's HTML export from the backup's nodes.
std::string PushBackupTree(const JsonNodes& nodes, BookmarkSink& sink) {
    auto menu = RootNode(nodes, "bookmarksMenuFolder");
    if (!IsRoot(nodes, 0, "placesRoot") || menu == kNoJsonNode) {
        return kNotFirefoxBackup;
    }
    struct FolderRoot {
        std::string_view root;
        const char* title;
    };
    constexpr FolderRoot kFolderRoots[] = {
        {"toolbarFolder", "Bookmarks Toolbar"},
        {"unfiledBookmarksFolder", "Other Bookmarks"},
        {"mobileFolder", "Mobile Bookmarks"},
    };
    sink.SetRootText(kFirefoxRootText);
    PushChildren(nodes, menu, sink);
    for (const auto& root : kFolderRoots) {
        auto node = RootNode(nodes, root.root);
        if (node != kNoJsonNode && nodes[node].firstChild != kNoJsonNode) {
            sink.BeginFolder(root.title);
            if (root.root == "toolbarFolder") {
                sink.MarkToolbarFolder();
            }
            PushChildren(nodes, node, sink);
            sink.EndFolder();
        }
    }
    return {};
}

} // namespace

std::string LoadFirefoxBackup(const std::string& path, BookmarkSink& sink) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReasonCannotRead(path, false);
    }
    if (bytes->starts_with(kMozLz4Magic)) {
        auto content = DecompressMozLz4(*bytes);
        if (!content.failure.empty()) {
            return content.failure;
        }
        *bytes = std::move(content.text);
    }
    auto nodes = ReadJsonNodes(*bytes, kKeyNames);
    // The text is no longer needed: the nodes keep what is read of it.
    bytes.reset();
    if (!nodes) {
        return kNotFirefoxBackup;
    }
    return PushBackupTree(*nodes, sink);
}

bool LooksLikeFirefoxBackup(std::string_view start) {
    if (start.starts_with(kMozLz4Magic)) {
        return true;
    }
    if (start.starts_with("\xEF\xBB\xBF")) {
        start.remove_prefix(3);
    }
    auto first = start.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || start[first] != '{') {
        return false;
    }
    // "root", blanks, a colon, blanks, "placesRoot".
    constexpr std::string_view kRootKey = "\"root\"";
    constexpr std::string_view kBlanks = " \t\r\n";
    for (auto key = start.find(kRootKey); key != std::string_view::npos;
         key = start.find(kRootKey, key + 1)) {
        auto rest = start.substr(key + kRootKey.size());
        rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
        if (!rest.starts_with(':')) {
            continue;
        }
        rest.remove_prefix(1);
        rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
        if (rest.starts_with("\"placesRoot\"")) {
            return true;
        }
    }
    return false;
}

} // namespace tellavin
