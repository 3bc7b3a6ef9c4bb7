#include "targets/favorites_directory.h"

#include "platform/file_io.h"

#include <filesystem>

namespace tellavin {

namespace fs = std::filesystem;

namespace {

FavoritesDirectory::Kind KindOf(const fs::directory_entry& entry) {
    std::error_code error;
    switch (entry.symlink_status(error).type()) {
    case fs::file_type::regular:
        return FavoritesDirectory::Kind::File;
    case fs::file_type::directory:
        return FavoritesDirectory::Kind::Directory;
    case fs::file_type::symlink:
        return FavoritesDirectory::Kind::SymbolicLink;
    default:
        return FavoritesDirectory::Kind::Other;
    }
}

} // namespace

FavoritesDirectory::FavoritesDirectory(const std::string& path) {
    std::error_code error;
    fs::directory_iterator it(PathFromUtf8(path), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        entries_.emplace(Utf8FromPath(it->path().filename()), KindOf(*it));
    }
    // In name order, so the first of names that differ only in case wins.
    for (const auto& [name, kind] : entries_) {
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

FavoritesDirectory& FavoritesDirectory::Child(const std::string& name, const std::string& path) {
    auto& child = children_[CaseFoldedName(name)];
    if (!child) {
        child = std::make_unique<FavoritesDirectory>(path);
    }
    return *child;
}

} // namespace tellavin
