#include "sources/favorites_walk.h"

#include "platform/file_identity.h"
#include "platform/folder_listing.h"
#include "platform/local_time.h"
#include "platform/platform.h"
#include "text/collation.h"

#include <algorithm>
#include <unordered_set>

namespace tellavin {

namespace {

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The local date of a last write given in seconds since 1970.
std::chrono::year_month_day LocalDateOf(std::int64_t modified) {
    return LocalDate(std::chrono::system_clock::time_point(std::chrono::seconds(modified)))
        .value_or(std::chrono::year_month_day{});
}

} // namespace

bool IsLinkFileName(std::string_view fileName) {
    return Lowered(fileName).find(".url") != std::string::npos;
}

std::string LinkNameFromFileName(std::string_view fileName) {
    return std::string(fileName.substr(0, Lowered(fileName).find(".url")));
}

std::optional<std::vector<FavoritesEntry>> ReadFavoritesDirectory(const std::string& path,
                                                                  bool withDates) {
    auto listed = ListFolder(path, withDates);
    if (!listed) {
        return std::nullopt;
    }
    std::vector<FavoritesEntry> entries;
    for (auto& entry : *listed) {
        FavoritesEntry found;
        found.name = std::move(entry.name);
        found.isFolder = entry.target == ListedType::Folder;
        // Only regular files are read as links: a pipe or device named *.url
        // would block or never end.
        if (!found.isFolder && !(IsLinkFileName(found.name) && entry.target == ListedType::File)) {
            continue;
        }
        if (entry.modified) {
            found.date = LocalDateOf(*entry.modified);
            found.modified = entry.modified;
        }
        entries.push_back(std::move(found));
    }
    // Listed by name, as NTFS returns them, so every system shows the same
    // row order.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return DisplayNameLess(a.name, b.name); });
    return entries;
}

void WalkFavorites(const std::string& root, FavoritesVisitor& visitor, bool reportLinks) {
    struct Frame {
        std::string path; // ends in the separator
        std::vector<FavoritesEntry> entries;
        std::size_t next = 0;
    };
    auto rootPath = EnsureTrailingSeparator(root);
    // The walk reports no dates; the rows of a listed folder carry them.
    auto rootEntries = ReadFavoritesDirectory(rootPath, false);
    if (!rootEntries) {
        return;
    }
    // Every directory walked so far: a second link to one (a link cycle, or
    // many links into one folder, which would multiply the walk) is skipped.
    std::unordered_set<FileIdentity, FileIdentityHash> walked;
    if (auto identity = IdentifyFile(rootPath)) {
        walked.insert(*identity);
    }
    std::vector<Frame> stack;
    stack.push_back(Frame{rootPath, std::move(*rootEntries)});
    while (!stack.empty()) {
        auto& frame = stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            if (!stack.empty()) {
                visitor.EndFolder();
            }
            continue;
        }
        const auto entry = frame.entries[frame.next++];
        if (!entry.isFolder) {
            if (reportLinks) {
                visitor.Link(frame.path, entry);
            }
            continue;
        }
        auto path = EnsureTrailingSeparator(frame.path + entry.name);
        auto identity = IdentifyFile(path);
        if (identity && !walked.insert(*identity).second) {
            continue;
        }
        visitor.BeginFolder(frame.path, entry.name);
        auto entries = ReadFavoritesDirectory(path, false).value_or(std::vector<FavoritesEntry>{});
        stack.push_back(Frame{path, std::move(entries)});
    }
}

} // namespace tellavin
