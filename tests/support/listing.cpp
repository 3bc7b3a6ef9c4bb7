#include "support/listing.h"

#include "platform/file_io.h"
#include "platform/folder_listing.h"

#include <algorithm>

namespace tellavin::test {

std::vector<std::string> Listing(const std::filesystem::path& root) {
    std::vector<std::string> names;
    const auto rootText = Utf8FromPath(root);
    std::vector<std::string> pending{""}; // relative folders still to list
    while (!pending.empty()) {
        auto relative = std::move(pending.back());
        pending.pop_back();
        auto listed = ListFolder(rootText + "/" + relative, false);
        if (!listed) {
            continue;
        }
        for (const auto& entry : *listed) {
            auto name = relative + entry.name;
            if (entry.target != ListedType::Folder) {
                names.push_back(name);
                continue;
            }
            names.push_back(name + "/");
            if (entry.type == ListedType::Folder) {
                pending.push_back(name + "/");
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tellavin::test
