#include "sources/safari_reader.h"

#include "platform/file_io.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <plist/plist.h>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

using PlistPointer = std::unique_ptr<void, decltype(&plist_free)>;

plist_t Item(plist_t dict, const char* key) {
    return dict != nullptr && plist_get_node_type(dict) == PLIST_DICT
               ? plist_dict_get_item(dict, key)
               : nullptr;
}

std::optional<std::string> StringOf(plist_t node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) {
        return std::nullopt;
    }
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    std::string value(text, static_cast<std::size_t>(length));
    std::erase(value, '\0');
    return value;
}

std::string TextOf(plist_t dict, const char* key) {
    return StringOf(Item(dict, key)).value_or("");
}

plist_t ChildrenOf(plist_t node) {
    auto children = Item(node, "Children");
    return children != nullptr && plist_get_node_type(children) == PLIST_ARRAY ? children : nullptr;
}

// Seconds since 1970 of a date node, which counts from 2001.
std::optional<std::int64_t> DateOf(plist_t node) {
    constexpr std::int64_t kSecondsFrom1970To2001 = 978'307'200;
    if (node == nullptr || plist_get_node_type(node) != PLIST_DATE) {
        return std::nullopt;
    }
    std::int32_t seconds = 0;
    std::int32_t micros = 0;
    plist_get_date_val(node, &seconds, &micros);
    return seconds + kSecondsFrom1970To2001;
}

enum class NodeType { List, Leaf, Proxy, Other };

NodeType TypeOf(plist_t node) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_DICT) {
        return NodeType::Other;
    }
    if (auto type = StringOf(Item(node, "WebBookmarkType"))) {
        return *type == "WebBookmarkTypeList"    ? NodeType::List
               : *type == "WebBookmarkTypeLeaf"  ? NodeType::Leaf
               : *type == "WebBookmarkTypeProxy" ? NodeType::Proxy
                                                 : NodeType::Other;
    }
    return ChildrenOf(node) != nullptr          ? NodeType::List
           : Item(node, "URLString") != nullptr ? NodeType::Leaf
                                                : NodeType::Other;
}

// The name a list of the top level shows under: the built-in ones by what
// Safari calls them, the others by their title.
std::string FolderName(plist_t list, bool atTop) {
    auto title = TextOf(list, "Title");
    if (atTop) {
        if (title == "BookmarksBar") {
            return "Favorites";
        }
        if (title == "BookmarksMenu") {
            return "Bookmarks Menu";
        }
        if (title == "com.apple.ReadingList") {
            return "Reading List";
        }
    }
    return title;
}

void PushLeaf(plist_t leaf, BookmarkSink& sink) {
    auto title = StringOf(Item(Item(leaf, "URIDictionary"), "title"));
    auto name = title ? std::move(*title) : TextOf(leaf, "Title");
    auto url = TextOf(leaf, "URLString");
    if (url.empty()) {
        sink.NoteLoss(LossKind::AddressUnusable, std::move(name));
        return;
    }
    sink.AddLink(std::move(name), std::move(url));
    sink.SetLinkDates(DateOf(Item(Item(leaf, "ReadingList"), "DateAdded")), std::nullopt);
}

// Pushes the children of the top list and every list below them in stored
// order, with an explicit stack of each open list and its next index.
void PushChildren(plist_t top, BookmarkSink& sink) {
    std::vector<std::pair<plist_t, std::uint32_t>> open{{top, 0}};
    while (!open.empty()) {
        auto& [list, next] = open.back();
        if (next == plist_array_get_size(list)) {
            open.pop_back();
            if (!open.empty()) {
                sink.EndFolder();
            }
            continue;
        }
        auto node = plist_array_get_item(list, next++);
        bool atTop = open.size() == 1;
        switch (TypeOf(node)) {
        case NodeType::List: {
            auto name = FolderName(node, atTop);
            sink.BeginFolder(name);
            if (atTop && TextOf(node, "Title") == "BookmarksBar") {
                sink.MarkToolbarFolder();
            }
            auto children = ChildrenOf(node);
            if (children != nullptr) {
                open.emplace_back(children, 0);
            } else {
                sink.EndFolder();
            }
            break;
        }
        case NodeType::Leaf:
            PushLeaf(node, sink);
            break;
        case NodeType::Proxy:
            break;
        default:
            sink.NoteLoss(LossKind::EntrySkipped, TextOf(node, "Title"));
        }
    }
}

} // namespace

std::string ParseSafariBookmarks(std::string_view bytes, BookmarkSink& sink) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        return kNotSafariBookmarks;
    }
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    PlistPointer owned(root, &plist_free);
    if (root == nullptr || plist_get_node_type(root) != PLIST_DICT) {
        return kNotSafariBookmarks;
    }
    sink.SetRootText(kSafariRootText);
    if (auto children = ChildrenOf(root)) {
        PushChildren(children, sink);
    }
    return {};
}

std::string LoadSafariBookmarks(const std::string& path, BookmarkSink& sink) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReasonCannotRead(path, false);
    }
    return ParseSafariBookmarks(*bytes, sink);
}

} // namespace tellavin
