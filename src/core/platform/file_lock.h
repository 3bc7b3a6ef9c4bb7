#pragma once

#include <cstdint>
#include <string>

namespace tellavin {

// An exclusive lock on the changes of one file, held while the object
// lives: every process of this program that locks the same file waits for
// the one holding it, so a change that reads the file and writes it anew
// loses no change made in between. The file each change replaces whole (by
// a rename) cannot carry the lock itself, as a lock on it would stay with
// the file replaced. POSIX takes it on a lock file beside it (the file's
// name plus ".lock"), which the holder removes as it unlocks; Windows on a
// mutex named after the folder's identity and the file's name. Neither
// leaves anything behind.
class FileLock {
public:
    // Locks the file, waiting while another process holds the lock. The
    // file's folder must exist. When the lock cannot be had (the folder
    // cannot be found or written), nothing is locked and the caller goes
    // on: its own write then reports what is wrong.
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Locked() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    // The locked lock file's descriptor on POSIX, a held mutex on Windows.
    std::intptr_t handle_ = kNone;
    std::string lockFile_; // POSIX: the lock file to remove
};

} // namespace tellavin
