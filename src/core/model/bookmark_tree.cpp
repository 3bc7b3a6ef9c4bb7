#include "model/bookmark_tree.h"

#include "model/icon_image.h"
#include "platform/platform.h"
#include "text/collation.h"

#include <algorithm>

namespace tellavin {

void BookmarkTree::Clear() {
    FolderTable.clear();
    EntryTable.clear();
    texts_.Clear();
    nSelectedFolders = 0;
    nSelectedLinks = 0;
    nListedEntries = 0;
    ReadLosses = {};
    nodes_.clear();
    rootKey_.clear();
    rowLister_ = nullptr;
    linkIcons_.clear();
    linkIconsByHash_.clear();
    details_.clear();
    iconImages_.clear();
    iconImagesByHash_.clear();
}

const LinkDetails& BookmarkTree::DetailsOf(const EntryRecord& row) const {
    static const LinkDetails kNone;
    return row.nDetails < 0 ? kNone : details_.at(static_cast<std::size_t>(row.nDetails));
}

LinkDetails& BookmarkTree::EditDetails(EntryRecord& row) {
    if (row.nDetails < 0) {
        row.nDetails = static_cast<std::int32_t>(details_.size());
        details_.emplace_back();
    }
    return details_.at(static_cast<std::size_t>(row.nDetails));
}

namespace {

bool IsTagBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view TrimmedTag(std::string_view tag) {
    while (!tag.empty() && IsTagBlank(tag.front())) {
        tag.remove_prefix(1);
    }
    while (!tag.empty() && IsTagBlank(tag.back())) {
        tag.remove_suffix(1);
    }
    return tag;
}

} // namespace

std::vector<std::string> SplitTags(std::string_view text) {
    std::vector<std::string> tags;
    while (!text.empty()) {
        auto comma = std::min(text.find(','), text.size());
        if (auto tag = TrimmedTag(text.substr(0, comma)); !tag.empty()) {
            tags.emplace_back(tag);
        }
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return tags;
}

std::string TagsText(const std::vector<std::string>& tags) {
    std::vector<std::string> kept;
    std::string text;
    for (const auto& given : tags) {
        for (auto& tag : SplitTags(given)) {
            if (std::find(kept.begin(), kept.end(), tag) != kept.end()) {
                continue;
            }
            text += text.empty() ? "" : ",";
            text += tag;
            kept.push_back(std::move(tag));
        }
    }
    return text;
}

std::int32_t BookmarkTree::IconImagePlace(std::string_view imageBytes) {
    auto hash = std::hash<std::string_view>{}(imageBytes);
    auto [first, last] = iconImagesByHash_.equal_range(hash);
    for (auto at = first; at != last; ++at) {
        if (iconImages_[static_cast<std::size_t>(at->second)] == imageBytes) {
            return at->second;
        }
    }
    auto place = IconImageCount();
    iconImages_.emplace_back(imageBytes);
    iconImagesByHash_.emplace(hash, place);
    return place;
}

std::int32_t BookmarkTree::AddLinkIcon(std::string_view imageBytes, std::string_view address) {
    bool hasImage = IsIconImage(imageBytes);
    if (!IsIconAddress(address)) {
        address = {};
    }
    if (!keepIcons_ || (!hasImage && address.empty())) {
        return LinkRowIcon(source_);
    }
    auto image = hasImage ? IconImagePlace(imageBytes) : -1;
    auto hash = std::hash<std::string_view>{}(address) ^ static_cast<std::size_t>(image);
    auto [first, last] = linkIconsByHash_.equal_range(hash);
    for (auto at = first; at != last; ++at) {
        const auto& entry = linkIcons_[static_cast<std::size_t>(at->second)];
        if (entry.image == image && entry.address == address) {
            return image::kFirstLinkIcon + at->second;
        }
    }
    auto place = LinkIconCount();
    if (place == image::kMaxLinkIcons) {
        return LinkRowIcon(source_);
    }
    linkIcons_.push_back({image, address.empty() ? address : KeepText(address)});
    linkIconsByHash_.emplace(hash, place);
    return image::kFirstLinkIcon + place;
}

std::string_view BookmarkTree::LinkIconBytes(std::int32_t nIcon) const {
    auto place = nIcon - image::kFirstLinkIcon;
    if (place < 0 || place >= LinkIconCount()) {
        return {};
    }
    auto image = linkIcons_[static_cast<std::size_t>(place)].image;
    return image < 0 ? std::string_view() : iconImages_[static_cast<std::size_t>(image)];
}

std::string_view BookmarkTree::LinkIconAddress(std::int32_t nIcon) const {
    auto place = nIcon - image::kFirstLinkIcon;
    if (place < 0 || place >= LinkIconCount()) {
        return {};
    }
    return linkIcons_[static_cast<std::size_t>(place)].address;
}

std::span<EntryRecord> BookmarkTree::Rows(std::int32_t folder) {
    const auto& record = FolderTable.at(folder);
    return std::span(EntryTable)
        .subspan(static_cast<std::size_t>(record.nFirstEntry),
                 static_cast<std::size_t>(record.nLastEntry + 1 - record.nFirstEntry));
}

std::span<const EntryRecord> BookmarkTree::Rows(std::int32_t folder) const {
    return const_cast<BookmarkTree&>(*this).Rows(folder);
}

void BookmarkTree::AddRoot(StoreKind source, std::string text, std::string rootKey) {
    Clear();
    source_ = source;
    rootKey_ = std::move(rootKey);
    FolderNode root;
    root.Text = std::move(text);
    root.Expanded = true;
    root.Image = FolderImage(source);
    root.SelectedImage = FolderSelectedImage(source);
    nodes_.push_back(std::move(root));
    FolderRecord record;
    record.sName = source == StoreKind::Favorites ? std::string() : nodes_[0].Text;
    FolderTable.push_back(std::move(record));
}

std::int32_t BookmarkTree::AddFolder(std::int32_t parent, std::string name) {
    auto index = static_cast<std::int32_t>(nodes_.size());
    FolderNode node;
    node.Text = name;
    node.Tag = index;
    node.Parent = parent;
    node.Image = FolderImage(source_);
    node.SelectedImage = FolderSelectedImage(source_);
    node.siblingIndex = static_cast<std::int32_t>(nodes_.at(parent).children.size());
    nodes_[parent].children.push_back(index);
    nodes_.push_back(std::move(node));
    FolderRecord record;
    record.sName = std::move(name);
    FolderTable.push_back(std::move(record));
    return index;
}

void BookmarkTree::FinishBuild() {
    for (auto& node : nodes_) {
        std::stable_sort(node.children.begin(), node.children.end(),
                         [this](std::int32_t a, std::int32_t b) {
                             return DisplayNameLess(nodes_[a].Text, nodes_[b].Text);
                         });
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            nodes_[node.children[i]].siblingIndex = static_cast<std::int32_t>(i);
        }
    }
}

bool BookmarkTree::EnsureListed(std::int32_t folder) {
    if (FolderTable.at(folder).bListed) {
        return true;
    }
    return rowLister_ && rowLister_(*this, folder);
}

std::int32_t BookmarkTree::Child(std::int32_t index) const {
    const auto& children = Node(index).children;
    return children.empty() ? -1 : children.front();
}

std::int32_t BookmarkTree::Next(std::int32_t index) const {
    const auto& node = Node(index);
    if (node.Parent < 0) {
        return -1;
    }
    const auto& siblings = Node(node.Parent).children;
    auto next = static_cast<std::size_t>(node.siblingIndex) + 1;
    return next < siblings.size() ? siblings[next] : -1;
}

std::int32_t BookmarkTree::Children(std::int32_t index) const {
    return static_cast<std::int32_t>(Node(index).children.size());
}

namespace {
// The node and its ancestors, root first.
std::vector<std::int32_t> Lineage(const BookmarkTree& tree, std::int32_t index) {
    std::vector<std::int32_t> chain;
    for (auto at = index; at >= 0; at = tree.Parent(at)) {
        chain.push_back(at);
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}
} // namespace

std::string BookmarkTree::FullPath(std::int32_t index) const {
    std::string path;
    for (auto at : Lineage(*this, index)) {
        if (at != 0) {
            path.push_back('\\');
        }
        path += Node(at).Text;
    }
    return path;
}

char BookmarkTree::KeySeparator() const {
    return source_ == StoreKind::Favorites ? PathSeparator() : '\\';
}

std::string BookmarkTree::Key(std::int32_t index) const {
    // The Favorites root's key is the folder path with the separator ensured;
    // every other key is the parent's key, the name and a separator.
    std::string key;
    for (auto at : Lineage(*this, index)) {
        if (at == 0 && source_ == StoreKind::Favorites) {
            key = rootKey_;
            if (!key.empty() && key.back() == KeySeparator()) {
                continue;
            }
        } else {
            key += Node(at).Text;
        }
        key.push_back(KeySeparator());
    }
    return key;
}

std::string BookmarkTree::ParentPath(std::int32_t index) const {
    return Key(index == 0 ? 0 : Parent(index));
}

std::string BookmarkTree::FolderPath(std::int32_t index) const {
    return ParentPath(index) + FolderTable.at(index).sName;
}

std::string BookmarkTree::FolderKeyOf(const EntryRecord& row) const {
    return row.IsFolder() ? Key(row.nFolder) : std::string();
}

std::int32_t FolderImage(StoreKind source) {
    switch (source) {
    case StoreKind::Netscape:
        return image::kNetscapeFolderClosed;
    case StoreKind::Opera:
        return image::kOperaFolderClosed;
    default:
        return image::kFolderClosed;
    }
}

std::int32_t FolderSelectedImage(StoreKind source) {
    return FolderImage(source) + 1;
}

std::int32_t FolderRowIcon(StoreKind source) {
    return FolderImage(source);
}

std::int32_t LinkRowIcon(StoreKind source) {
    switch (source) {
    case StoreKind::Netscape:
        return image::kNetscapeBookmark;
    case StoreKind::Opera:
        return image::kOperaBookmark;
    default:
        return image::kFavoritesLink;
    }
}

} // namespace tellavin
