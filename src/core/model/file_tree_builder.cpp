#include "model/file_tree_builder.h"

#include "model/link_dates.h"

namespace tellavin {

FileTreeBuilder::FileTreeBuilder(BookmarkTree& tree, StoreKind source, ProgressSink* progress)
    : tree_(tree), source_(source), progress_(progress), rows_(tree.EntryTable) {
    tree_.AddRoot(source, {});
    open_.push_back(0);
    rowCounts_.push_back(0);
}

void FileTreeBuilder::SetRootText(std::string text) {
    tree_.Node(0).Text = text;
    tree_.FolderTable[0].sName = std::move(text);
}

void FileTreeBuilder::AppendRow(std::int32_t folder, EntryRecord row) {
    rows_.push_back(std::move(row));
    rowFolders_.push_back(folder);
    ++rowCounts_[static_cast<std::size_t>(folder)];
}

std::int32_t FileTreeBuilder::AddFolderRow(std::string name) {
    auto parent = open_.back();
    auto index = tree_.AddFolder(parent, name);
    rowCounts_.push_back(0);
    EntryRecord row;
    row.nFolder = index;
    row.sName = tree_.KeepText(name);
    row.nIcon = static_cast<std::int16_t>(FolderRowIcon(source_));
    AppendRow(parent, std::move(row));
    if (progress_ != nullptr) {
        progress_->SetValue(index);
    }
    return index;
}

void FileTreeBuilder::BeginFolder(std::string name) {
    lastLink_ = -1;
    auto index = AddFolderRow(std::move(name));
    open_.push_back(index);
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
        lastFolder_ = AddFolderRow(std::string(name));
        return;
    }
    EntryRecord row;
    row.sName = tree_.KeepText(name);
    row.sURL = tree_.KeepText(url);
    row.nIcon = static_cast<std::int16_t>(icon.image.empty() && icon.address.empty()
                                              ? LinkRowIcon(source_)
                                              : tree_.AddLinkIcon(icon.image, icon.address));
    if (!icon.image.empty() && tree_.LinkIconBytes(row.nIcon).empty()) {
        tree_.ReadLosses.Note(LossKind::IconDropped, std::string(row.sName));
    }
    AppendRow(open_.back(), std::move(row));
    lastLink_ = static_cast<std::int32_t>(rows_.size()) - 1;
}

EntryRecord* FileTreeBuilder::LastLink() {
    return lastLink_ < 0 ? nullptr : &rows_[static_cast<std::size_t>(lastLink_)];
}

std::string_view FileTreeBuilder::KeepTrimmed(std::string_view text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return tree_.KeepText(text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first));
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
    AppendRow(open_.back(), std::move(row));
}

void FileTreeBuilder::SetLinkDates(std::optional<std::int64_t> created,
                                   std::optional<std::int64_t> changed) {
    if (auto* link = LastLink()) {
        auto& losses = tree_.ReadLosses;
        link->nCreated = KeptLinkDate(created, LossKind::CreatedDateDropped, link->sName, losses);
        link->nChanged = KeptLinkDate(changed, LossKind::ChangedDateDropped, link->sName, losses);
    }
}

void FileTreeBuilder::SetLinkDescription(std::string_view description) {
    auto* link = LastLink();
    if (auto kept = KeepTrimmed(description); link != nullptr && !kept.empty()) {
        tree_.EditDetails(*link).description = kept;
    }
}

void FileTreeBuilder::SetLinkKeyword(std::string_view keyword) {
    auto* link = LastLink();
    if (auto kept = KeepTrimmed(keyword); link != nullptr && !kept.empty()) {
        tree_.EditDetails(*link).keyword = kept;
    }
}

void FileTreeBuilder::SetLinkTags(std::vector<std::string> tags) {
    auto* link = LastLink();
    if (auto text = TagsText(tags); link != nullptr && !text.empty()) {
        tree_.EditDetails(*link).tags = tree_.KeepText(text);
    }
}

void FileTreeBuilder::SetFolderDates(std::optional<std::int64_t> created,
                                     std::optional<std::int64_t> changed) {
    if (lastFolder_ < 0) {
        return;
    }
    auto kept = [](std::optional<std::int64_t> date) {
        return date && IsLinkDateInRange(*date) ? *date : 0;
    };
    auto& record = tree_.FolderTable[static_cast<std::size_t>(lastFolder_)];
    record.nCreated = kept(created);
    record.nChanged = kept(changed);
}

void FileTreeBuilder::SetFolderDescription(std::string_view description) {
    if (lastFolder_ >= 0) {
        tree_.FolderTable[static_cast<std::size_t>(lastFolder_)].sDescription =
            KeepTrimmed(description);
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
