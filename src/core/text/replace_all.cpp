#include "text/replace_all.h"

namespace tellavin {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    auto at = text.find(from);
    if (at == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    while (at != std::string::npos) {
        out.append(text, start, at - start);
        out.append(to);
        start = at + from.size();
        at = text.find(from, start);
    }
    out.append(text, start);
    text = std::move(out);
}

} // namespace tellavin
