#include "support/icon_text.h"

#include "model/icon_image.h"
#include "text/md5.h"

namespace tellavin::test {

std::string IconText(BookmarkTree& tree) {
    std::string text;
    for (std::int32_t folder = 0; folder < tree.NodeCount(); ++folder) {
        tree.EnsureListed(folder);
        for (const auto& row : tree.Rows(folder)) {
            if (!row.IsLink()) {
                continue;
            }
            text += std::string(row.sName);
            auto image = tree.LinkIconBytes(row.nIcon);
            auto address = tree.LinkIconAddress(row.nIcon);
            if (!image.empty() || !address.empty()) {
                text += "=";
            }
            if (!image.empty()) {
                Md5 md5;
                md5.Add(image);
                auto type = IconMediaType(image);
                text += std::string(type.substr(type.find('/') + 1)) + ":" +
                        md5.HexDigest().substr(0, 8);
            }
            if (!address.empty()) {
                text += "@" + std::string(address);
            }
            text += " ";
        }
    }
    return text + "; " + std::to_string(tree.IconImageCount()) + " images";
}

} // namespace tellavin::test
