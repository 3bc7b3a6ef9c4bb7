#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace tellavin {

// A fresh folder of its own below the system's temporary folder, removed
// with everything in it when the object goes: where a file is copied to be
// read without touching the original. Only the user may enter it, and the
// files made in it are the user's alone (on POSIX the folder is 0700 and its
// files 0600; on Windows the user's temporary folder is private to the user
// and what is made in it inherits that).
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Empty when the folder was made, else why not ("cannot make a
    // temporary folder in /tmp: No space left on device").
    const std::string& Failure() const { return failure_; }
    // Where the file of that name in the folder lies.
    std::filesystem::path PathOf(const std::string& name) const { return path_ / name; }

    // Makes an empty file of that name in the folder, or empties the one
    // there; empty, or why not.
    std::string MakeFile(const std::string& name);

    struct CopyFailure {
        bool reading = false; // the source could not be read; else the copy not written
        // The system's reason for the source, or for the copy "cannot copy
        // into the temporary folder /tmp: File too large".
        std::string reason;
    };
    // Copies at most maxBytes from the start of the file at source (UTF-8)
    // into the folder under name, replacing a copy made before; nothing when
    // it was copied.
    std::optional<CopyFailure>
    CopyIn(const std::string& source, const std::string& name,
           std::uintmax_t maxBytes = std::numeric_limits<std::uintmax_t>::max());

private:
    // Makes the folder below base_, or says in failure_ why it cannot; the
    // system's own part.
    void MakeFolder();
    // A failure to write into the folder, with the system's reason.
    std::string WriteFailure(const std::string& reason) const;

    std::filesystem::path base_; // the system's temporary folder
    std::filesystem::path path_;
    std::string failure_;
};

} // namespace tellavin
