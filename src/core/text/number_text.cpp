#include "text/number_text.h"

#include "text/ascii_text.h"

#include <limits>

namespace tellavin {

std::optional<LeadingInteger> ParseLeadingInteger(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || !isDigit(text.front())) {
        return std::nullopt;
    }
    constexpr std::int64_t kCeiling = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    LeadingInteger number;
    std::size_t i = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        number.value = number.value < kCeiling ? number.value * 10 + (text[i] - '0') : kCeiling;
    }
    number.value = negative ? -number.value : number.value;
    number.whole = i == text.size();
    return number;
}

std::optional<std::int64_t> ParseSecondsSince1970(std::string_view text) {
    auto number = ParseLeadingInteger(text);
    if (!number || !number->whole) {
        return std::nullopt;
    }
    return number->value;
}

} // namespace tellavin
