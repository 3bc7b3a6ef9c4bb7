#include "text/entities.h"

#include "text/replace_all.h"

namespace tellavin {

std::string DecodeEntities(std::string text) {
    if (text.find('&') == std::string::npos) {
        return text;
    }
    static const std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&amp;", "&"}, {"&#39;", "'"}, {"&gt;", ">"}, {"&lt;", "<"}, {"&quot;", "\""}, {"&apos;", "'"},
    };
    for (const auto& [entity, character] : kEntities) {
        ReplaceAll(text, entity, character);
    }
    return text;
}

} // namespace tellavin
