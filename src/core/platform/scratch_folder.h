#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tellavin {

// A fresh folder of its own below the system's temporary folder, removed
// with everything in it when the object goes: where a file is copied to be
// read without touching the original.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Copies the file at source (UTF-8) into the folder under name; the
    // copy's path, or nothing when the file cannot be copied.
    std::optional<std::filesystem::path> CopyIn(const std::string& source, const std::string& name);

private:
    std::filesystem::path path_;
};

} // namespace tellavin
