#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tellavin {

// An exclusive advisory lock on a folder, held while the object lives.
// Writers of this program take it on the folder that holds a bookmark file
// (or on a Favorites folder) for the whole read, merge and replace of the
// target, so two exports into one target run one after the other instead
// of each replacing the file with its own merge. Locking the folder rather
// than the file keeps the lock when the file is replaced by a rename, and
// leaves no lock file behind. A second writer waits for the first.
class FolderLock {
public:
    // Locks the folder, waiting while another writer holds it; onWait, when
    // given, hears first that the wait begins, so the user knows why nothing
    // moves. A folder that cannot be opened is not locked: the writer then
    // goes on, and its own write reports what is wrong with the folder.
    explicit FolderLock(const std::string& folder, const std::function<void()>& onWait = {});
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Locked() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    // An open descriptor of the folder on POSIX, a held mutex on Windows.
    std::intptr_t handle_ = kNone;
};

} // namespace tellavin
