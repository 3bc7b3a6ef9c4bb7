#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tellavin {

// What tells a file or directory apart from every other on the machine,
// whichever path or symbolic link reaches it: its device and file number.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

struct FileIdentityHash {
    std::size_t operator()(const FileIdentity& identity) const {
        return std::hash<std::uint64_t>()(identity.file) ^
               (std::hash<std::uint64_t>()(identity.device) << 1);
    }
};

// The identity of what path names, a symbolic link followed; nothing when
// it cannot be found.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

} // namespace tellavin
