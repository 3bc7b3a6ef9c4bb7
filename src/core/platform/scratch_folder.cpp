#include "platform/scratch_folder.h"

#include "platform/file_io.h"

namespace tellavin {

ScratchFolder::ScratchFolder() {
    std::error_code error;
    base_ = std::filesystem::temp_directory_path(error);
    if (error) {
        failure_ = "cannot make a temporary folder: " + error.message();
        return;
    }
    MakeFolder();
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
}

std::string ScratchFolder::WriteFailure(const std::string& reason) const {
    return "cannot copy into the temporary folder " + Utf8FromPath(base_) + ": " + reason;
}

} // namespace tellavin
