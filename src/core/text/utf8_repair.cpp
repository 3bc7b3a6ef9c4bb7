#include "text/utf8_repair.h"

#include "text/encoding.h"
#include "text/replace_all.h"

#include <utility>
#include <vector>

namespace tellavin {

namespace {

// The characters in the order they are repaired. The degree sign stands
// twice; the second pass finds nothing.
constexpr char32_t kRepaired[] = {
    0xE0, 0xE8, 0xE9, 0xEC, 0xF2, 0xF9, 0xBB, 0xAE, 0xA9, 0xA3, 0xB0, 0xA7, 0x2013, 0xFC, 0xE4,
    0x20AC, 0x2122, 0xA1, 0xA2, 0xA4, 0xA5, 0xA6, 0xA8, 0xAA, 0xAB, 0xAC, 0xAF, 0xB0, 0xB1, 0xB2,
    0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBC, 0xBD, 0xBE, 0xBF, 0xF6,
};

// Pairs of (misread form, repaired form), both UTF-8.
const std::vector<std::pair<std::string, std::string>>& RepairTable() {
    static const auto table = [] {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (char32_t c : kRepaired) {
            std::string utf8;
            AppendUtf8(utf8, c);
            std::string repaired = c == 0x2013 ? std::string("-") : utf8;
            pairs.emplace_back(Windows1252ToUtf8(utf8), std::move(repaired));
        }
        return pairs;
    }();
    return table;
}

} // namespace

std::string RepairUtf8Text(std::string text) {
    // Every misread form starts with Ã or â (bytes C3 or C3 A2 in UTF-8).
    if (text.find('\xC3') == std::string::npos) {
        return text;
    }
    for (const auto& [misread, repaired] : RepairTable()) {
        ReplaceAll(text, misread, repaired);
    }
    return text;
}

} // namespace tellavin
