#include "targets/favorites_directory.h"

#include "platform/atomic_file.h"
#include "sources/favorites_walk.h"
#include "sources/internet_shortcut.h"
#include "targets/file_name_fit.h"
#include "targets/merge_plan.h"

namespace tellavin {

// The shortcuts are written without a flush each, which also leaves out
// the writer's own look for stale temporary files: it is done here, once
// per directory.
FavoritesDirectory::FavoritesDirectory(const std::string& path) : path_(path) {
    RemoveStaleTemporaryFiles(path);
    if (auto listed = ListFolder(path, false)) {
        for (auto& entry : *listed) {
            entries_.emplace(std::move(entry.name), entry.type);
        }
    }
    // In name order, so the first of names that differ only in case wins.
    for (const auto& [name, type] : entries_) {
        folded_.try_emplace(CaseFoldedName(name), name);
    }
}

std::optional<FavoritesDirectory::Entry> FavoritesDirectory::Find(const std::string& name) const {
    auto exact = entries_.find(name);
    if (exact == entries_.end()) {
        auto folded = folded_.find(CaseFoldedName(name));
        if (folded == folded_.end()) {
            return std::nullopt;
        }
        exact = entries_.find(folded->second);
    }
    return Entry{exact->first, exact->second};
}

bool FavoritesDirectory::HeldAddress(std::string_view address) {
    if (!addresses_) {
        addresses_.emplace();
        for (const auto& [name, type] : entries_) {
            if (type == ListedType::File && IsLinkFileName(name)) {
                addresses_->insert(NormalizedAddress(ReadShortcutUrl(path_ + name)));
            }
        }
    }
    return addresses_->contains(NormalizedAddress(address));
}

// A number is kept per name, so that many folders of one name are
// numbered in one pass; the name is cut to leave room for it.
std::string FavoritesDirectory::TakeFolderName(const std::string& name) {
    auto [taken, isNew] = folderNumbers_.try_emplace(CaseFoldedName(name), 2);
    if (isNew) {
        return name;
    }
    for (auto& number = taken->second;; ++number) {
        auto suffix = "(" + std::to_string(number) + ")";
        auto numbered = detail::CutToBytes(name, kPosixComponentBytes - suffix.size()) + suffix;
        if (folderNumbers_.try_emplace(CaseFoldedName(numbered), 2).second) {
            ++number;
            return numbered;
        }
    }
}

FavoritesDirectory& FavoritesDirectory::Child(const std::string& name, const std::string& path) {
    auto& child = children_[CaseFoldedName(name)];
    if (!child) {
        child = std::make_unique<FavoritesDirectory>(path);
    }
    return *child;
}

} // namespace tellavin
