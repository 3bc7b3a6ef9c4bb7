#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tellavin {

namespace {

ListedType TypeOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return ListedType::File;
    }
    if (S_ISDIR(mode)) {
        return ListedType::Folder;
    }
    return S_ISLNK(mode) ? ListedType::SymbolicLink : ListedType::Other;
}

ListedType TypeOfDirent(unsigned char type) {
    switch (type) {
    case DT_REG:
        return ListedType::File;
    case DT_DIR:
        return ListedType::Folder;
    case DT_LNK:
        return ListedType::SymbolicLink;
    default:
        return ListedType::Other;
    }
}

class OpenFolder {
public:
    explicit OpenFolder(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~OpenFolder() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    DIR* dir() const { return dir_; }

private:
    DIR* dir_;
};

} // namespace

// Entries are looked at relative to the open folder, so no look costs a
// walk along the folder's path again.
std::optional<std::vector<ListedEntry>> ListFolder(const std::string& path, bool withTimes) {
    OpenFolder folder(path);
    if (folder.dir() == nullptr) {
        return std::nullopt;
    }
    const int at = ::dirfd(folder.dir());
    std::vector<ListedEntry> entries;
    while (const auto* found = ::readdir(folder.dir())) {
        std::string_view name = found->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        ListedEntry listed;
        listed.name = name;
        // The listing tells most entries' own type; a look is needed for
        // the rest, for what a link leads to, and for times.
        listed.type = found->d_type == DT_UNKNOWN ? ListedType::Other : TypeOfDirent(found->d_type);
        struct stat own {};
        if (found->d_type == DT_UNKNOWN &&
            ::fstatat(at, found->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0) {
            listed.type = TypeOfMode(own.st_mode);
        }
        listed.target = listed.type;
        if (listed.type == ListedType::SymbolicLink || withTimes) {
            struct stat target {};
            if (::fstatat(at, found->d_name, &target, 0) == 0) {
                listed.target = TypeOfMode(target.st_mode);
                if (withTimes) {
                    listed.modified = static_cast<std::int64_t>(target.st_mtime);
                }
            } else if (listed.type == ListedType::SymbolicLink) {
                listed.target = ListedType::Other; // a link that leads nowhere
            }
        }
        entries.push_back(std::move(listed));
    }
    return entries;
}

} // namespace tellavin
