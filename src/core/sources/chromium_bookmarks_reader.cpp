#include "sources/chromium_bookmarks_reader.h"

#include "platform/file_io.h"
#include "sources/nested_lists.h"

#include <charconv>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

using Json = nlohmann::json;

constexpr const char* kNotBookmarks = "not a Chromium Bookmarks file";

// A NUL carries nothing in a name or an address, and no other store can
// hold one: it is dropped, as the other readers drop it.
std::string TextOf(const Json& node, const char* key) {
    auto found = node.find(key);
    if (found == node.end() || !found->is_string()) {
        return {};
    }
    auto text = found->get<std::string>();
    std::erase(text, '\0');
    return text;
}

// Chromium stores times as microseconds since 1601 in a string, 0 for no
// time; seconds since 1970, or nothing when the string holds no time.
std::optional<std::int64_t> SecondsSince1970(const Json& node, const char* key) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    auto text = TextOf(node, key);
    std::int64_t micros = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), micros);
    if (error != std::errc() || end != text.data() + text.size() || micros == 0) {
        return std::nullopt;
    }
    return micros / 1'000'000 - kSecondsFrom1601To1970;
}

const Json* ChildrenOf(const Json& node) {
    auto found = node.find("children");
    return found != node.end() && found->is_array() ? &*found : nullptr;
}

// Notes a node the tree has no place for, and every node below it, as
// skipped entries, in stored order.
void NoteSkipped(const Json& node, BookmarkSink& sink) {
    if (!sink.WantsLinkDetails()) {
        return;
    }
    std::vector<const Json*> pending{&node};
    while (!pending.empty()) {
        const Json* entry = pending.back();
        pending.pop_back();
        if (!entry->is_object()) {
            continue;
        }
        sink.NoteLoss(LossKind::EntrySkipped, TextOf(*entry, "name"));
        if (const Json* children = ChildrenOf(*entry)) {
            for (auto child = children->rbegin(); child != children->rend(); ++child) {
                pending.push_back(&*child);
            }
        }
    }
}

void PushFolderDates(const Json& folder, BookmarkSink& sink) {
    sink.SetFolderDates(SecondsSince1970(folder, "date_added"),
                        SecondsSince1970(folder, "date_modified"));
}

void PushLink(const Json& node, BookmarkSink& sink) {
    auto url = TextOf(node, "url");
    if (url.empty()) {
        sink.NoteLoss(LossKind::AddressUnusable, TextOf(node, "name"));
    } else {
        sink.AddLink(TextOf(node, "name"), std::move(url));
        sink.SetLinkDates(SecondsSince1970(node, "date_added"), std::nullopt);
    }
    // A link holds no entries in Chromium's own tree.
    if (const Json* children = ChildrenOf(node)) {
        for (const auto& child : *children) {
            NoteSkipped(child, sink);
        }
    }
}

// Pushes the nodes of a children list, and every folder below them, in
// stored order.
void PushChildren(const Json& children, BookmarkSink& sink) {
    static const Json kNoChildren = Json::array();
    WalkNestedLists(children, sink, [&](const Json& node) -> const Json* {
        if (!node.is_object()) {
            return nullptr;
        }
        auto type = TextOf(node, "type");
        if (type == "folder") {
            sink.BeginFolder(TextOf(node, "name"));
            PushFolderDates(node, sink);
            const Json* inner = ChildrenOf(node);
            return inner != nullptr ? inner : &kNoChildren;
        }
        if (type == "url") {
            PushLink(node, sink);
        } else {
            NoteSkipped(node, sink);
        }
        return nullptr;
    });
}

} // namespace

std::string LoadChromiumBookmarks(const std::string& path, BookmarkSink& sink) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReasonCannotRead(path, false);
    }
    auto document = Json::parse(*bytes, nullptr, false);
    auto roots = document.is_object() ? document.find("roots") : document.end();
    if (roots == document.end() || !roots->is_object()) {
        return kNotBookmarks;
    }
    auto bar = roots->find("bookmark_bar");
    if (bar == roots->end() || !bar->is_object() || ChildrenOf(*bar) == nullptr) {
        return kNotBookmarks;
    }
    sink.SetRootText(kChromiumRootText);
    sink.BeginFolder(TextOf(*bar, "name"));
    sink.MarkToolbarFolder();
    PushFolderDates(*bar, sink);
    PushChildren(*ChildrenOf(*bar), sink);
    sink.EndFolder();
    for (const char* key : {"other", "synced"}) {
        auto root = roots->find(key);
        if (root != roots->end() && root->is_object() && ChildrenOf(*root) != nullptr) {
            PushChildren(*ChildrenOf(*root), sink);
        }
    }
    return {};
}

} // namespace tellavin
