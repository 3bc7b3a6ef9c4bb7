#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Text folded for searching, so that a search ignores case and accents:
// "Crème Brûlée" and "creme brulee" fold alike. Covered:
//   - ASCII letters lowered; control characters (tabs, line ends) become
//     spaces;
//   - the Latin-1 Supplement and Latin Extended-A letters (U+00C0 to
//     U+017F) and the Romanian Ș Ț with their commas (U+0218 to U+021B)
//     become their base letters: É to e, Ł to l, ß to ss, Æ to ae, Œ to oe,
//     Þ to th, Ĳ to ij;
//   - combining accents (U+0300 to U+036F) are dropped, so that a letter
//     followed by its accent folds as the precomposed letter does;
//   - Greek capitals lowered and the Greek accents (tonos, dialytika)
//     dropped, final sigma as sigma; Cyrillic capitals lowered, ё as е.
// Every other character, and any byte that is no UTF-8, stays as it is.
// The folded text is never longer than the text.
void AppendFolded(std::string& out, std::string_view text);

inline std::string Folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFolded(out, text);
    return out;
}

} // namespace tellavin
