#include "model/bookmark_sink.h"

namespace tellavin {

void CountingSink::BeginFolder(std::string name) {
    ++folders_;
    if (onFolder) {
        onFolder(name);
    }
}

void CountingSink::AddLink(std::string name, std::string url) {
    AddLinkInSource(std::move(name), url);
}

void CountingSink::AddLinkInSource(std::string name, std::string_view url) {
    if (url.empty()) {
        BeginFolder(std::move(name));
        return;
    }
    ++links_;
}

} // namespace tellavin
