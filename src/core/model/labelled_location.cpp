#include "model/labelled_location.h"

#include <algorithm>

namespace tellavin {

std::string LabelledLocation(std::string_view name, std::string_view path) {
    std::string item = "<";
    item += name;
    item += "> ";
    item += path;
    return item;
}

namespace {
// Position of the ">" that ends the label of a labelled item: the last one
// followed by the blank, so that a ">" inside the path (which POSIX file
// names allow) does not cut it; the last ">" at all when none is.
std::string_view::size_type LabelEnd(std::string_view item) {
    if (!item.starts_with('<')) {
        return std::string_view::npos;
    }
    auto end = item.rfind("> ");
    return end == std::string_view::npos ? item.rfind('>') : end;
}
} // namespace

std::string LocationPath(std::string_view item) {
    auto end = LabelEnd(item);
    if (end == std::string_view::npos) {
        return std::string(item);
    }
    return std::string(item.substr(std::min(end + 2, item.size())));
}

std::string LocationLabel(std::string_view item) {
    auto end = LabelEnd(item);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(item.substr(1, end - 1));
}

} // namespace tellavin
