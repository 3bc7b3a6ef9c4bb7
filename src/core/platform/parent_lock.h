#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tellavin {

// Firefox's sign that it runs on a profile: the lock it holds on the
// profile's .parentlock file for as long as it runs. On POSIX that is an
// fcntl write lock (the file itself stays after Firefox quits, as does the
// "lock" symbolic link beside it, which then names a dead process and so
// tells nothing); on Windows Firefox keeps the file open without sharing
// and it is deleted when Firefox closes it.
//
// The object tries to take the lock itself, never waiting: a shared fcntl
// lock on POSIX, the file opened without sharing on Windows. While it holds
// it, a Firefox that starts on the profile finds the profile in use and
// does not open its database. A missing file is nobody's lock, and nothing
// is held then.
class ProfileLock {
public:
    explicit ProfileLock(const std::string& lockFile);
    ~ProfileLock();
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    // True when another process holds the lock, false when it is free (and
    // now held here while the file exists), nothing when the file is there
    // but could not be opened or tested: then nobody can tell.
    std::optional<bool> HeldElsewhere() const { return heldElsewhere_; }

private:
    static constexpr std::intptr_t kNone = -1;
    // An open descriptor on POSIX, an open handle on Windows.
    std::intptr_t handle_ = kNone;
    std::optional<bool> heldElsewhere_;
};

} // namespace tellavin
