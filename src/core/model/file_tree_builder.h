#pragma once

#include "model/bookmark_sink.h"
#include "model/bookmark_tree.h"
#include "model/progress.h"

#include <string_view>
#include <vector>

namespace tellavin {

// Builds the bookmark tree of a Netscape-format file or an Opera hotlist
// from a reader's events.
//
// Folders get their records in the order the file opens them (pre-order);
// each folder's rows (its links and direct sub-folders) keep file order and
// every folder is listed. Names stay as the source gives them, siblings of
// the same name included. A link without an address becomes an empty
// folder. Separators are rows of their own. A link's icon goes into the
// tree's icon table when the tree keeps icons; its description, keyword and
// tags go into the tree's side table of LinkDetails, a folder's dates and
// description into its record.
class FileTreeBuilder final : public BookmarkSink {
public:
    // progress, when given, is moved to the number of folders read so far.
    FileTreeBuilder(BookmarkTree& tree, StoreKind source, ProgressSink* progress = nullptr);

    void SetRootText(std::string text) override;
    void BeginFolder(std::string name) override;
    void AddLink(std::string name, std::string url) override;
    // The tree adopts the text: addresses in it are kept without copies.
    std::string_view KeepSourceText(std::string& text) override;
    void AddLinkInSource(std::string_view name, std::string_view url) override;
    // Icons are wanted when the tree keeps them (BookmarkTree::SetKeepIcons).
    bool WantsLinkIcons() const override { return tree_.KeepsIcons(); }
    // An image the tree does not take (IsIconImage) is noted as dropped.
    void AddLinkWithIcon(std::string name, std::string url, const LinkIcon& icon) override;
    void EndFolder() override;
    void AddSeparator() override;
    // Keeps the dates a link may carry; the others are noted in the tree's
    // ReadLosses as dropped.
    void SetLinkDates(std::optional<std::int64_t> created,
                      std::optional<std::int64_t> changed) override;
    using BookmarkSink::SetLinkDates;
    void SetLinkDescription(std::string_view description) override;
    void SetLinkKeyword(std::string_view keyword) override;
    void SetLinkTags(std::vector<std::string> tags) override;
    // Keeps the dates a link may carry (IsLinkDateInRange); a folder date
    // out of that range is left out.
    void SetFolderDates(std::optional<std::int64_t> created,
                        std::optional<std::int64_t> changed) override;
    using BookmarkSink::SetFolderDates;
    void SetFolderDescription(std::string_view description) override;
    void MarkToolbarFolder() override;
    void MarkTrashFolder() override;
    void NoteLoss(LossKind kind, std::string example) override;

    // Lays the rows out in the EntryTable and puts the tree in display
    // order. Call once, after the reader finished.
    void Finish();

private:
    // Rows stay in the tree's EntryTable in the order the reader gives them
    // until Finish moves them into folder order in place: the rows are never
    // held twice, and no vector per folder keeps unused room.
    using PendingRows = std::vector<EntryRecord>;
    void AppendRow(std::int32_t folder, EntryRecord row);
    // The link added last, or nothing when another event came after it.
    EntryRecord* LastLink();
    // The text, trimmed of blanks, kept in the tree.
    std::string_view KeepTrimmed(std::string_view text);
    std::int32_t AddFolderRow(std::string name);
    // A link row, or a folder row when the address is empty; the address is
    // kept in the tree (as it is when it lies in the adopted source text).
    void AddLinkRow(std::string_view name, std::string_view url, const LinkIcon& icon);

    BookmarkTree& tree_;
    StoreKind source_;
    ProgressSink* progress_;
    std::vector<std::int32_t> open_;       // the open folders, the root first
    PendingRows& rows_;                    // the tree's EntryTable
    std::vector<std::int32_t> rowFolders_; // the folder of each of rows_
    std::vector<std::int32_t> rowCounts_;  // rows per folder
    std::int32_t lastLink_ = -1;           // the row of the link added last, until the next event
    std::int32_t lastFolder_ = -1;         // the folder begun last
};

} // namespace tellavin
