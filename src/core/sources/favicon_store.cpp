#include "sources/favicon_store.h"

namespace tellavin {

void IconAddingSink::AddLink(std::string name, std::string url) {
    auto icon = icons_.IconOf(url);
    if (icon.image.empty() && icon.address.empty()) {
        sink_.AddLink(std::move(name), std::move(url));
    } else {
        sink_.AddLinkWithIcon(std::move(name), std::move(url), icon);
    }
}

void IconAddingSink::AddLinkInSource(std::string_view name, std::string_view url) {
    auto icon = icons_.IconOf(url);
    if (icon.image.empty() && icon.address.empty()) {
        sink_.AddLinkInSource(name, url);
    } else {
        sink_.AddLinkWithIcon(std::string(name), std::string(url), icon);
    }
}

} // namespace tellavin
