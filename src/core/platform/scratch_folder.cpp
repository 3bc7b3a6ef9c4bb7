#include "platform/scratch_folder.h"

#include "platform/file_io.h"

#include <random>

namespace tellavin {

ScratchFolder::ScratchFolder() {
    std::error_code error;
    auto base = std::filesystem::temp_directory_path(error);
    std::random_device random;
    // A random name that does not exist yet; create_directory tells whether
    // this call made it.
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
        auto candidate = base / ("tellavin-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = std::move(candidate);
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
}

std::optional<std::filesystem::path> ScratchFolder::CopyIn(const std::string& source,
                                                           const std::string& name) {
    if (path_.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    auto target = path_ / name;
    std::filesystem::copy_file(PathFromUtf8(source), target,
                               std::filesystem::copy_options::overwrite_existing, error);
    return error ? std::nullopt : std::optional(target);
}

} // namespace tellavin
