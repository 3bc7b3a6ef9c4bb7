#include "model/file_tree_builder.h"

#include "model/link_dates.h"

namespace tellavin {

FileTreeBuilder::FileTreeBuilder(BookmarkTree& tree, StoreKind source, ProgressSink* progress)
    : tree_(tree), source_(source), progress_(progress), rows_(tree.EntryTable) {
    tree_.AddRoot(source, {});
    open_.push_back(Open(0));
    rowCounts_.push_back(0);
}

void FileTreeBuilder::SetRootText(std::string text) {
    tree_.Node(0).Text = text;
    tree_.FolderTable[0].sName = std::move(text);
}

FileTreeBuilder::OpenFolder FileTreeBuilder::Open(std::int32_t index) const {
    return OpenFolder{index, RowNameSet(rows_), {}};
}

std::string FileTreeBuilder::UniqueName(OpenFolder& folder, std::string name) {
    if (!folder.names.Contains(name)) {
        return name;
    }
    // The hint remembers the last number given to this name, so a folder
    // with thousands of equal names stays linear.
    auto& hint = folder.nextSuffix[name];
    for (std::int32_t number = std::max(hint, 2);; ++number) {
        std::string candidate = name + "(" + std::to_string(number) + ")";
        if (!folder.names.Contains(candidate)) {
            hint = number + 1;
            tree_.ReadLosses.Note(LossKind::DuplicateNumbered, RenamedExample(name, candidate));
            return candidate;
        }
    }
}

std::string_view FileTreeBuilder::KeepUniqueName(OpenFolder& folder, std::string_view name) {
    if (!folder.names.Contains(name)) {
        return tree_.KeepText(name);
    }
    return tree_.KeepText(UniqueName(folder, std::string(name)));
}

void FileTreeBuilder::AppendRow(OpenFolder& folder, EntryRecord row) {
    AppendPending(folder.index, std::move(row));
    folder.names.Insert(static_cast<std::int32_t>(rows_.size()) - 1);
}

void FileTreeBuilder::AppendPending(std::int32_t folder, EntryRecord row) {
    rows_.push_back(std::move(row));
    rowFolders_.push_back(folder);
    ++rowCounts_[static_cast<std::size_t>(folder)];
}

std::int32_t FileTreeBuilder::AddFolderRow(std::string name) {
    auto& parent = open_.back();
    auto index = tree_.AddFolder(parent.index, name);
    rowCounts_.push_back(0);
    EntryRecord row;
    row.nFolder = index;
    row.sName = tree_.KeepText(name);
    row.nIcon = FolderRowIcon(source_);
    AppendRow(parent, std::move(row));
    if (progress_ != nullptr) {
        progress_->SetValue(index);
    }
    return index;
}

void FileTreeBuilder::BeginFolder(std::string name) {
    lastLink_ = -1;
    auto index = AddFolderRow(UniqueName(open_.back(), std::move(name)));
    open_.push_back(Open(index));
    lastFolder_ = index;
}

void FileTreeBuilder::AddLink(std::string name, std::string url) {
    AddLinkWithIcon(std::move(name), std::move(url), {});
}

std::string_view FileTreeBuilder::KeepSourceText(std::string& text) {
    // Room for the rows the text likely holds, so that the table is not
    // copied over and over as it grows: bookmark files spend 128 bytes or
    // more on most rows. Room left unused is address space the system
    // gives memory to only when it is written.
    rows_.reserve(rows_.size() + text.size() / 128);
    return tree_.AdoptText(std::move(text));
}

void FileTreeBuilder::AddLinkInSource(std::string_view name, std::string_view url) {
    AddLinkRow(name, url, {});
}

void FileTreeBuilder::AddLinkWithIcon(std::string name, std::string url, const LinkIcon& icon) {
    AddLinkRow(name, url, icon);
}

void FileTreeBuilder::AddLinkRow(std::string_view name, std::string_view url,
                                 const LinkIcon& icon) {
    lastLink_ = -1;
    if (url.empty()) {
        lastFolder_ = AddFolderRow(UniqueName(open_.back(), std::string(name)));
        return;
    }
    EntryRecord row;
    row.sName = KeepUniqueName(open_.back(), name);
    row.sURL = tree_.KeepText(url);
    row.nIcon = icon.image.empty() && icon.address.empty()
                    ? LinkRowIcon(source_)
                    : tree_.AddLinkIcon(icon.image, icon.address);
    if (!icon.image.empty() && tree_.LinkIconBytes(row.nIcon).empty()) {
        tree_.ReadLosses.Note(LossKind::IconDropped, std::string(row.sName));
    }
    AppendRow(open_.back(), std::move(row));
    lastLink_ = static_cast<std::int32_t>(rows_.size()) - 1;
}

void FileTreeBuilder::EndFolder() {
    lastLink_ = -1;
    if (open_.size() > 1) {
        open_.pop_back();
    }
}

void FileTreeBuilder::AddSeparator() {
    lastLink_ = -1;
    EntryRecord row;
    row.bSeparator = true;
    AppendPending(open_.back().index, std::move(row));
}

void FileTreeBuilder::SetLinkDates(std::optional<std::int64_t> created,
                                   std::optional<std::int64_t> changed) {
    if (lastLink_ >= 0) {
        auto& link = rows_[static_cast<std::size_t>(lastLink_)];
        auto& losses = tree_.ReadLosses;
        link.nCreated = KeptLinkDate(created, LossKind::CreatedDateDropped, link.sName, losses);
        link.nChanged = KeptLinkDate(changed, LossKind::ChangedDateDropped, link.sName, losses);
    }
}

void FileTreeBuilder::MarkToolbarFolder() {
    if (lastFolder_ >= 0) {
        tree_.FolderTable[static_cast<std::size_t>(lastFolder_)].bToolbar = true;
    }
}

void FileTreeBuilder::MarkTrashFolder() {
    if (lastFolder_ >= 0) {
        tree_.FolderTable[static_cast<std::size_t>(lastFolder_)].bTrash = true;
    }
}

void FileTreeBuilder::NoteLoss(LossKind kind, std::string example) {
    tree_.ReadLosses.Note(kind, std::move(example));
}

void FileTreeBuilder::Finish() {
    open_.clear();
    lastLink_ = -1;
    // Each folder's rows take the next places of its range, in the order
    // they came; rowFolders_ becomes each row's place.
    std::vector<std::int32_t> next(rowCounts_.size());
    std::int32_t total = 0;
    for (std::size_t folder = 0; folder < rowCounts_.size(); ++folder) {
        auto& record = tree_.FolderTable[folder];
        record.nFirstEntry = total;
        next[folder] = total;
        total += rowCounts_[folder];
        record.nLastEntry = total - 1;
        record.bListed = true;
    }
    for (auto& place : rowFolders_) {
        place = next[static_cast<std::size_t>(place)]++;
    }
    // Moves every row to its place by following the cycles of the
    // permutation: each swap puts one row where it belongs.
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        while (rowFolders_[row] != static_cast<std::int32_t>(row)) {
            auto place = static_cast<std::size_t>(rowFolders_[row]);
            std::swap(rows_[row], rows_[place]);
            std::swap(rowFolders_[row], rowFolders_[place]);
        }
    }
    std::vector<std::int32_t>().swap(rowFolders_);
    rowCounts_.clear();
    tree_.FinishBuild();
}

} // namespace tellavin
