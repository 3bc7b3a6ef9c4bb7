#include "selection/selection_filter.h"

#include "text/search_folding.h"

#include <algorithm>

namespace tellavin {

namespace {

// Separates a link's folded name from its folded address: folding turns
// every control character into a space, so no search text holds it and no
// find runs from a name into its address.
constexpr char kNameEnd = '\x1F';

// The folders within holds and every folder below them, in node order.
std::vector<std::int32_t> FoldersWithin(const BookmarkTree& tree,
                                        std::span<const std::int32_t> within) {
    std::vector<std::int32_t> folders;
    if (within.empty()) {
        folders.resize(static_cast<std::size_t>(tree.NodeCount()));
        for (std::int32_t folder = 0; folder < tree.NodeCount(); ++folder) {
            folders[static_cast<std::size_t>(folder)] = folder;
        }
        return folders;
    }
    std::vector<bool> inside(static_cast<std::size_t>(tree.NodeCount()), false);
    std::vector<std::int32_t> pending(within.begin(), within.end());
    while (!pending.empty()) {
        auto folder = pending.back();
        pending.pop_back();
        if (inside[static_cast<std::size_t>(folder)]) {
            continue;
        }
        inside[static_cast<std::size_t>(folder)] = true;
        const auto& children = tree.Node(folder).children;
        pending.insert(pending.end(), children.begin(), children.end());
    }
    for (std::int32_t folder = 0; folder < tree.NodeCount(); ++folder) {
        if (inside[static_cast<std::size_t>(folder)]) {
            folders.push_back(folder);
        }
    }
    return folders;
}

std::vector<std::int32_t> LinkRows(const BookmarkTree& tree, std::int32_t folder) {
    std::vector<std::int32_t> rows;
    const auto all = tree.Rows(folder);
    for (std::size_t row = 0; row < all.size(); ++row) {
        if (all[row].IsLink()) {
            rows.push_back(static_cast<std::int32_t>(row));
        }
    }
    return rows;
}

} // namespace

const FoundFolder* SearchResult::Of(std::int32_t folder) const {
    auto at = std::lower_bound(
        folders.begin(), folders.end(), folder,
        [](const FoundFolder& found, std::int32_t wanted) { return found.folder < wanted; });
    return at != folders.end() && at->folder == folder ? &*at : nullptr;
}

SelectionFilter::SelectionFilter(BookmarkTree& tree, std::span<const std::int32_t> within,
                                 ProgressSink& progress)
    : tree_(tree), folders_(FoldersWithin(tree, within)) {
    // Listing may move the rows, so every folder is listed before any text
    // is taken.
    const auto count = static_cast<std::int32_t>(folders_.size());
    progress.SetRange(0, count);
    progress.SetStatusText("Reading every folder to search it...");
    std::size_t bytes = 0;
    for (std::int32_t at = 0; at < count; ++at) {
        const auto folder = folders_[static_cast<std::size_t>(at)];
        progress.SetValue(at);
        tree.EnsureListed(folder);
        bytes += tree.Node(folder).Text.size() + 1;
        for (const auto& row : tree_.Rows(folder)) {
            bytes += row.IsLink() ? row.sName.size() + row.sURL.size() + 2 : 1;
        }
    }
    // Folding never lengthens a text, so the block is allocated once.
    folded_.reserve(bytes);
    for (auto folder : folders_) {
        AddFolder(folder);
    }
    firstText_.push_back(starts_.size());
    starts_.push_back(folded_.size());
    progress.SetValue(count);
}

void SelectionFilter::AddFolder(std::int32_t folder) {
    firstText_.push_back(starts_.size());
    starts_.push_back(folded_.size());
    AppendFolded(folded_, tree_.Node(folder).Text);
    folded_.push_back('\0');
    for (const auto& row : tree_.Rows(folder)) {
        starts_.push_back(folded_.size());
        if (row.IsLink()) {
            AppendFolded(folded_, row.sName);
            folded_.push_back(kNameEnd);
            AppendFolded(folded_, row.sURL);
        }
        folded_.push_back('\0');
    }
}

SearchResult SelectionFilter::Find(std::string_view text) const {
    SearchResult result;
    const auto needle = Folded(text);
    if (needle.empty()) {
        return result;
    }
    const std::string_view all = folded_;
    const std::size_t texts = starts_.size() - 1;
    std::size_t textAt = 0; // the text that holds the find
    std::size_t slot = 0;   // its folder's place in folders_
    for (auto at = all.find(needle); at != std::string_view::npos;) {
        // Finds come in order, so both places only move on.
        while (starts_[textAt + 1] <= at) {
            ++textAt;
        }
        while (firstText_[slot + 1] <= textAt) {
            ++slot;
        }
        const auto folder = folders_[slot];
        if (result.folders.empty() || result.folders.back().folder != folder) {
            result.folders.push_back({folder, false, {}});
        }
        auto& found = result.folders.back();
        if (textAt == firstText_[slot]) {
            // The folder's name: all its links are found, and none need searching.
            found.byName = true;
            found.rows = LinkRows(tree_, folder);
            textAt = firstText_[slot + 1];
        } else {
            found.rows.push_back(static_cast<std::int32_t>(textAt - firstText_[slot] - 1));
            ++textAt;
        }
        at = textAt < texts ? all.find(needle, starts_[textAt]) : std::string_view::npos;
    }
    if (result.folders.empty()) {
        return result;
    }
    result.shown.assign(static_cast<std::size_t>(tree_.NodeCount()), false);
    for (const auto& found : result.folders) {
        result.links += static_cast<std::int32_t>(found.rows.size());
        // Up to the first folder shown already: each is marked once.
        for (auto at = found.folder; at >= 0 && !result.shown[static_cast<std::size_t>(at)];
             at = tree_.Parent(at)) {
            result.shown[static_cast<std::size_t>(at)] = true;
        }
    }
    return result;
}

std::size_t SelectionFilter::MemoryBytes() const {
    return folded_.capacity() + starts_.capacity() * sizeof(std::size_t) +
           folders_.capacity() * sizeof(std::int32_t) + firstText_.capacity() * sizeof(std::size_t);
}

std::vector<std::int32_t> FoundRows(const BookmarkTree& tree, const SearchResult& found,
                                    std::int32_t folder, std::vector<std::int32_t> order) {
    const auto* links = found.Of(folder);
    const auto rows = tree.Rows(folder);
    std::erase_if(order, [&](std::int32_t row) {
        const auto& entry = rows[static_cast<std::size_t>(row)];
        if (entry.IsFolder()) {
            return !found.IsShown(entry.nFolder);
        }
        return links == nullptr || !std::binary_search(links->rows.begin(), links->rows.end(), row);
    });
    return order;
}

void CheckFound(SelectionModel& selection, const SearchResult& found) {
    for (const auto& folder : found.folders) {
        if (folder.byName) {
            selection.SetFolderChecked(folder.folder, true);
        } else {
            selection.SetRowsChecked(folder.folder, folder.rows, true);
        }
    }
}

} // namespace tellavin
