#pragma once

#include "model/conversion_path.h"
#include "model/loss_report.h"
#include "text/text_arena.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tellavin {

// Images of the shared image list, by their one-based place in it.
namespace image {
inline constexpr std::int32_t kFolderClosed = 1;
inline constexpr std::int32_t kFolderOpened = 2;
inline constexpr std::int32_t kNetscapeFolderClosed = 3;
inline constexpr std::int32_t kNetscapeFolderOpened = 4;
inline constexpr std::int32_t kNetscapeBookmark = 5;
inline constexpr std::int32_t kFavoritesLink = 6;
inline constexpr std::int32_t kOperaFolderClosed = 7;
inline constexpr std::int32_t kOperaFolderOpened = 8;
inline constexpr std::int32_t kOperaBookmark = 9;
// The icons links bring from their stores follow the fixed images; the
// selection window's shared list shows at most kMaxImages images in all.
// A tree holds at most kMaxLinkIcons distinct icons, so that an icon's
// number fits a row's 16 bits; a link past them shows the default image.
inline constexpr std::int32_t kFirstLinkIcon = 10;
inline constexpr std::int32_t kMaxImages = 500;
inline constexpr std::int32_t kMaxLinkIcons = INT16_MAX - kFirstLinkIcon + 1;
} // namespace image

// One folder of the tree. A node's index in the tree is also the index of
// its FolderRecord, and Tag holds that index.
struct FolderNode {
    std::string Text;
    std::int32_t Tag = 0;
    bool Checked = false;          // the folder is selected for export
    bool Bold = false;             // the folder or one below it holds a checked link
    std::int32_t boldChildren = 0; // how many children are Bold
    bool Expanded = false;         // set on the root when it is created
    std::int32_t Image = 0;
    std::int32_t SelectedImage = 0;
    std::int32_t Parent = -1;
    std::vector<std::int32_t> children; // in display order once the build finished
    std::int32_t siblingIndex = 0;      // place among the parent's children
};

struct FolderRecord {
    bool bListed = false; // the folder's rows are in the EntryTable
    std::string sName;    // empty for the Favorites root
    std::int32_t nCheckedLinks = 0;
    std::int32_t nFirstEntry = 0;
    std::int32_t nLastEntry = -1; // nFirstEntry - 1 when the folder has no rows
    // The folder a browser shows as its bookmarks toolbar (a Netscape-format
    // file's PERSONAL_TOOLBAR_FOLDER, the Favorites Links folder).
    bool bToolbar = false;
    // The folder of deleted entries (a hotlist's trash): never exported.
    bool bTrash = false;
    // The folder's creation and last change, in seconds since 1970 UTC; 0
    // when the source does not say.
    std::int64_t nCreated = 0;
    std::int64_t nChanged = 0;
    // What the folder's store says about it; a text the tree keeps.
    std::string_view sDescription;
};

// What a link may carry besides its name, address, dates and icon, each a
// text the tree keeps and empty when the store gives none. Few links carry
// any of it, so the tree keeps it in a side table that only those links
// reach (EntryRecord::nDetails), and the rows stay small.
struct LinkDetails {
    std::string_view description;
    std::string_view keyword; // typed in the address bar, it opens the link
    std::string_view tags;    // the link's tags, in order, joined by commas (TagsText)
};

// The tags as the tree keeps them: each trimmed of blanks, empty ones and
// repeats dropped, joined by commas (a tag cannot hold a comma: browsers
// take a comma as the end of a tag).
std::string TagsText(const std::vector<std::string>& tags);
// The tags of a TagsText, or of a comma-separated list as a bookmark file
// writes them, each trimmed, empty ones dropped.
std::vector<std::string> SplitTags(std::string_view text);

// One row of a folder's content list: a link, a direct sub-folder, or a
// separator line between them (file sources only; the selection lists do
// not show separators).
//
// The name and the address are views of texts the tree keeps
// (BookmarkTree::KeepText): a million rows then cost a few large blocks
// instead of two heap strings each.
//
// The fields are ordered so that the record packs into 64 bytes; an icon
// number fits in 16 bits (image::kMaxLinkIcons).
struct EntryRecord {
    bool bChecked = false; // links only; folders take their mark from the node
    bool bSeparator = false;
    std::int16_t nIcon = 0;
    std::int32_t nFolder = -1; // the sub-folder's node for a folder row, -1 otherwise
    // The link's place in the tree's table of LinkDetails; -1 when it
    // carries none (BookmarkTree::DetailsOf).
    std::int32_t nDetails = -1;
    std::chrono::year_month_day dDate{}; // Favorites rows only; zero otherwise
    std::string_view sName;
    std::string_view sURL;
    // A link's creation and last change, in seconds since 1970 UTC; 0 when
    // the source does not say or names a date out of range (link_dates.h).
    std::int64_t nCreated = 0;
    std::int64_t nChanged = 0;

    bool IsLink() const { return nFolder < 0 && !bSeparator; }
    bool IsFolder() const { return nFolder >= 0; }
    bool IsSeparator() const { return bSeparator; }
};
static_assert(sizeof(EntryRecord) <= 64);

// The in-memory model of the bookmarks being converted: a tree of folder
// nodes, the FolderTable with one record per node and the EntryTable with
// the rows of the folders that have been listed.
//
// Keys and paths are derived from the nodes on request rather than stored:
// a key holds every name above the folder, and storing one per folder would
// take memory quadratic in the depth of a deeply nested file.
//
// The tree can be moved but not copied: its rows view texts it owns.
class BookmarkTree {
public:
    // Lists the rows of one folder on demand (the Favorites source); returns
    // false when the folder could not be read.
    using RowLister = std::function<bool(BookmarkTree&, std::int32_t folder)>;

    std::vector<FolderRecord> FolderTable;
    std::vector<EntryRecord> EntryTable;
    std::int32_t nSelectedFolders = 0; // checked folders, the root never counts
    std::int32_t nSelectedLinks = 0;
    std::int32_t nListedEntries = 0; // rows appended by the Favorites lister
    // What reading the source left out (descriptions, the trash folder, ...)
    // and changed (numbered duplicate names).
    LossReport ReadLosses;

    // Empties the tree, both tables, the kept texts and the link icons and
    // resets the counters. Whether icons are kept stays as set.
    void Clear();

    // A copy of text that lives as long as the tree (until Clear): what
    // rows' names and addresses view.
    std::string_view KeepText(std::string_view text) { return texts_.Keep(text); }
    // Keeps a source's whole text for as long as the tree, so that names and
    // addresses found in it as they are need no copies; returns where it is.
    std::string_view AdoptText(std::string text) { return texts_.Adopt(std::move(text)); }

    // What a link row carries besides its name and address; all empty for
    // rows that carry nothing.
    const LinkDetails& DetailsOf(const EntryRecord& row) const;
    // The row's details to fill in, added to the side table on first use.
    // Texts put there must be kept by the tree (KeepText).
    LinkDetails& EditDetails(EntryRecord& row);

    // Whether loads keep the icons links bring from their stores (off by
    // default: a conversion into a target that holds no icons reads no icon
    // data). Set before the load.
    void SetKeepIcons(bool keep) { keepIcons_ = keep; }
    bool KeepsIcons() const { return keepIcons_; }
    // The image a link whose store holds this icon shows: the icon's place
    // in the icon table after image::kFirstLinkIcon, each distinct icon (its
    // image and address) entered once and each distinct image stored once.
    // The image is kept when it is one (IsIconImage), the address when it is
    // worth keeping (IsIconAddress). The source's default link image when
    // icons are not kept, neither is, or the table is full (kMaxLinkIcons).
    std::int32_t AddLinkIcon(std::string_view imageBytes, std::string_view address = {});
    // The image bytes of a link icon; empty for the fixed images, for
    // numbers the table does not hold and for an icon known only by its
    // address.
    std::string_view LinkIconBytes(std::int32_t nIcon) const;
    // The address a link icon was fetched from; empty when it is not known.
    std::string_view LinkIconAddress(std::int32_t nIcon) const;
    std::int32_t LinkIconCount() const { return static_cast<std::int32_t>(linkIcons_.size()); }
    // How many distinct images the icons hold.
    std::int32_t IconImageCount() const { return static_cast<std::int32_t>(iconImages_.size()); }

    // Starts a tree: the root node 0 with its record. For the Favorites
    // source rootKey is the Favorites folder path; file sources derive the
    // root key from the root's Text.
    void AddRoot(StoreKind source, std::string text, std::string rootKey = {});
    // Adds a folder node below parent, with its record; returns its index.
    std::int32_t AddFolder(std::int32_t parent, std::string name);
    // Puts every node's children into display order.
    void FinishBuild();

    void SetRowLister(RowLister lister) { rowLister_ = std::move(lister); }
    // Makes sure a folder's rows are in the EntryTable; false when they could
    // not be listed.
    bool EnsureListed(std::int32_t folder);
    // A listed folder's rows: its links and direct sub-folders.
    std::span<EntryRecord> Rows(std::int32_t folder);
    std::span<const EntryRecord> Rows(std::int32_t folder) const;

    bool HasRoot() const { return !nodes_.empty(); }
    StoreKind Source() const { return source_; }
    std::int32_t NodeCount() const { return static_cast<std::int32_t>(nodes_.size()); }
    FolderNode& Node(std::int32_t index) { return nodes_.at(index); }
    const FolderNode& Node(std::int32_t index) const { return nodes_.at(index); }

    std::int32_t Parent(std::int32_t index) const { return Node(index).Parent; }
    std::int32_t Child(std::int32_t index) const;
    std::int32_t Next(std::int32_t index) const;
    std::int32_t Children(std::int32_t index) const;

    // The Texts from the root down, joined by backslashes.
    std::string FullPath(std::int32_t index) const;
    // The node's key: its path followed by the separator.
    std::string Key(std::int32_t index) const;
    // The path of the folder that contains the node, ending in the separator
    // (for the root: its own key).
    std::string ParentPath(std::int32_t index) const;
    // The folder's own path: ParentPath followed by its name.
    std::string FolderPath(std::int32_t index) const;
    // The key of the sub-folder a row names; empty for a link.
    std::string FolderKeyOf(const EntryRecord& row) const;

    // The separator of keys: the file system's for the Favorites source, a
    // backslash for the file sources.
    char KeySeparator() const;

private:
    StoreKind source_ = StoreKind::Favorites;
    std::string rootKey_;
    std::vector<FolderNode> nodes_;
    TextArena texts_; // the rows' names, addresses and details
    std::vector<LinkDetails> details_;
    RowLister rowLister_;
    bool keepIcons_ = false;
    struct IconEntry {
        std::int32_t image; // place in iconImages_, -1 for none
        std::string_view address;
    };
    std::vector<IconEntry> linkIcons_;
    std::unordered_multimap<std::size_t, std::int32_t> linkIconsByHash_; // hash to table place
    std::vector<std::string> iconImages_;
    std::unordered_multimap<std::size_t, std::int32_t> iconImagesByHash_;
    // The place of an image in iconImages_, entered when new.
    std::int32_t IconImagePlace(std::string_view imageBytes);
};

// Images of folder nodes and of sub-folder and link rows by source kind.
std::int32_t FolderImage(StoreKind source);
std::int32_t FolderSelectedImage(StoreKind source);
std::int32_t FolderRowIcon(StoreKind source);
std::int32_t LinkRowIcon(StoreKind source);

} // namespace tellavin
