#include "sources/favorites_reader.h"

#include "model/icon_image.h"
#include "model/link_dates.h"
#include "sources/favorites_walk.h"
#include "sources/icon_file.h"
#include "sources/internet_shortcut.h"
#include "text/ascii_text.h"

#include <unordered_map>
#include <vector>

namespace tellavin {

namespace {

class CountingVisitor final : public FavoritesVisitor {
public:
    explicit CountingVisitor(cFastScanning& scanner) : scanner_(scanner) {}

    void BeginFolder(const std::string& parentPath, const std::string& name) override {
        ++folders;
        if (scanner_.FolderScan) {
            scanner_.FolderScan(parentPath, name);
        }
    }
    void Link(const std::string&, const FavoritesEntry&) override { ++links; }
    void EndFolder() override {}

    std::int32_t folders = 0;
    std::int32_t links = 0;

private:
    cFastScanning& scanner_;
};

class TreeVisitor final : public FavoritesVisitor {
public:
    TreeVisitor(BookmarkTree& tree, ProgressSink* progress) : tree_(tree), progress_(progress) {}

    void BeginFolder(const std::string&, const std::string& name) override {
        auto index = tree_.AddFolder(open_.back(), name);
        if (progress_ != nullptr) {
            progress_->SetValue(index);
        }
        open_.push_back(index);
    }
    void Link(const std::string&, const FavoritesEntry&) override {}
    void EndFolder() override { open_.pop_back(); }

private:
    BookmarkTree& tree_;
    ProgressSink* progress_;
    std::vector<std::int32_t> open_{0};
};

// The Links folder at the top of the Favorites is the one the browser shows
// as its toolbar.
void MarkLinksFolder(BookmarkTree& tree) {
    for (auto child : tree.Node(0).children) {
        if (EqualsIgnoringCase(tree.Node(child).Text, kFavoritesToolbarName)) {
            tree.FolderTable[static_cast<std::size_t>(child)].bToolbar = true;
            return;
        }
    }
}

// The image of a link whose shortcut names an icon: the image file its
// IconFile names, or the web address of one (kept as the icon's address,
// never fetched). A program or library file, whose icons IconIndex picks,
// holds no image to keep; such an icon, and one whose file cannot be read
// or is no image, is noted as dropped.
std::int32_t LinkIconOf(BookmarkTree& tree, const ShortcutFields& fields, const std::string& folder,
                        const std::string& name) {
    if (auto address = TrimBlanks(fields.iconFile); IsIconAddress(address)) {
        return tree.AddLinkIcon({}, address);
    }
    auto index = TrimBlanks(fields.iconIndex);
    auto image = index.empty() || index == "0" ? ReadIconFile(fields.iconFile, folder) : "";
    auto icon = tree.AddLinkIcon(image);
    if (tree.LinkIconBytes(icon).empty()) {
        tree.ReadLosses.Note(LossKind::IconDropped, name);
    }
    return icon;
}

} // namespace

std::optional<std::string> cFastScanning::GetFolderPath(const Platform& platform) {
    auto folder = platform.GetSpecialFolder(SpecialFolder::Favorites);
    favFolder_ = folder.value_or("");
    return folder;
}

void cFastScanning::Scan(const std::string& folder, const Platform& platform) {
    std::string root = folder;
    if (root.empty()) {
        root = favFolder_.empty() ? GetFolderPath(platform).value_or("") : favFolder_;
    }
    favFolder_ = root;
    CountingVisitor counter(*this);
    if (!root.empty()) {
        WalkFavorites(root, counter);
    }
    folders_ = counter.folders;
    links_ = counter.links;
    completed_ = true;
}

bool BuildFavoritesTree(BookmarkTree& tree, const std::string& favoritesFolder,
                        ProgressSink* progress) {
    tree.Clear();
    if (favoritesFolder.empty()) {
        return false;
    }
    tree.AddRoot(StoreKind::Favorites, "My Favorites", EnsureTrailingSeparator(favoritesFolder));
    TreeVisitor builder(tree, progress);
    WalkFavorites(favoritesFolder, builder, false);
    MarkLinksFolder(tree);
    tree.FinishBuild();
    tree.SetRowLister(ListFolderEntries);
    return true;
}

bool ListFolderEntries(BookmarkTree& tree, std::int32_t folder) {
    auto path = tree.FolderPath(folder);
    auto entries = ReadFavoritesDirectory(path);
    if (!entries) {
        return false;
    }
    // Sub-folder rows name the nodes the tree was built with; a directory
    // without a node (made since, or a link back to an ancestor) gets no row.
    std::unordered_map<std::string, std::int32_t> childByName;
    for (auto child : tree.Node(folder).children) {
        childByName.emplace(tree.Node(child).Text, child);
    }
    auto& record = tree.FolderTable[folder];
    record.nFirstEntry = tree.nListedEntries;
    auto folderPath = EnsureTrailingSeparator(path);
    for (auto& entry : *entries) {
        EntryRecord row;
        row.dDate = entry.date;
        if (entry.isFolder) {
            auto child = childByName.find(entry.name);
            if (child == childByName.end()) {
                continue;
            }
            row.nFolder = child->second;
            row.sName = tree.KeepText(entry.name);
            // A directory's last write is the folder's last change; the
            // listing tells no creation.
            auto changed = entry.modified.value_or(0);
            tree.FolderTable[static_cast<std::size_t>(child->second)].nChanged =
                IsLinkDateInRange(changed) ? changed : 0;
            row.nIcon = image::kFolderClosed;
        } else {
            row.nIcon = image::kFavoritesLink;
            auto fields = ReadShortcutFields(folderPath + entry.name);
            auto name = LinkNameFromFileName(entry.name);
            row.sURL = tree.KeepText(fields.url);
            if (!fields.iconFile.empty() && tree.KeepsIcons()) {
                row.nIcon = static_cast<std::int16_t>(LinkIconOf(tree, fields, path, name));
            } else if (!fields.iconFile.empty()) {
                tree.ReadLosses.Note(LossKind::IconDropped, name);
            }
            row.sName = tree.KeepText(name);
            row.nChanged = KeptLinkDate(entry.modified, LossKind::ChangedDateDropped, row.sName,
                                        tree.ReadLosses);
        }
        tree.EntryTable.push_back(std::move(row));
    }
    tree.nListedEntries = static_cast<std::int32_t>(tree.EntryTable.size());
    record.nLastEntry = tree.nListedEntries - 1;
    record.bListed = true;
    return true;
}

} // namespace tellavin
