#include "platform/scratch_folder.h"

#include "platform/file_io.h"

namespace tellavin {

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
