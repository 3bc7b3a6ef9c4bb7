#pragma once

#include "model/bookmark_sink.h"
#include "model/bookmark_tree.h"
#include "model/progress.h"
#include "model/row_name_set.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace tellavin {

// Builds the bookmark tree of a Netscape-format file or an Opera hotlist
// from a reader's events.
//
// Folders get their records in the order the file opens them (pre-order);
// each folder's rows (its links and direct sub-folders) keep file order and
// every folder is listed. Siblings with the same name are numbered: the
// second News becomes News(2), the next News(3), and each number given is
// noted in the tree's ReadLosses. A link without an address becomes an
// empty folder. Separators are rows of their own. A link's icon goes into
// the tree's icon table when the tree keeps icons.
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
    struct OpenFolder {
        std::int32_t index;
        RowNameSet names; // of its rows
        std::unordered_map<std::string, std::int32_t> nextSuffix;
    };

    OpenFolder Open(std::int32_t index) const;
    // The name, numbered when the folder has a row of that name already.
    std::string UniqueName(OpenFolder& folder, std::string name);
    // The same, kept in the tree.
    std::string_view KeepUniqueName(OpenFolder& folder, std::string_view name);
    // Appends a row to the folder's rows; its name is taken from then on.
    void AppendRow(OpenFolder& folder, EntryRecord row);
    void AppendPending(std::int32_t folder, EntryRecord row);
    std::int32_t AddFolderRow(std::string name);
    // A link row, or a folder row when the address is empty; the address is
    // kept in the tree (as it is when it lies in the adopted source text).
    void AddLinkRow(std::string_view name, std::string_view url, const LinkIcon& icon);

    BookmarkTree& tree_;
    StoreKind source_;
    ProgressSink* progress_;
    std::vector<OpenFolder> open_;
    PendingRows& rows_;                    // the tree's EntryTable
    std::vector<std::int32_t> rowFolders_; // the folder of each of rows_
    std::vector<std::int32_t> rowCounts_;  // rows per folder
    std::int32_t lastLink_ = -1;           // the row of the link added last, until the next event
    std::int32_t lastFolder_ = -1;         // the folder begun last
};

} // namespace tellavin
