#include "model/bookmark_sink.h"

namespace tellavin {

void CountingSink::BeginFolder(std::string name) {
    ++folders_;
    if (onFolder) {
        onFolder(name);
    }
}

void CountingSink::AddLink(std::string name, std::string url) {
    AddLinkInSource(name, url);
}

void CountingSink::AddLinkInSource(std::string_view name, std::string_view url) {
    if (url.empty()) {
        BeginFolder(std::string(name));
        return;
    }
    ++links_;
}

} // namespace tellavin
