#include "targets/folder_links.h"

#include <numeric>
#include <string_view>
#include <utf8.h>

namespace tellavin {

namespace {

char32_t ToLower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 32;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) { // Greek capitals
        return c + 32;
    }
    if (c >= 0x410 && c <= 0x42F) { // Cyrillic capitals
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    // Latin Extended-A pairs capital and small letters side by side.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return c | 1;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c + 1 : c;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    return c;
}

// Writes the key of name at out, which has room for a unit per byte of the
// name (no character takes more units than bytes); returns the end.
// ASCII, most of any name, is lowered byte by byte.
char16_t* WriteLinkSortKey(char16_t* out, std::string_view name) {
    auto it = name.begin();
    while (it != name.end()) {
        auto byte = static_cast<unsigned char>(*it);
        if (byte < 0x80) {
            *out++ = static_cast<char16_t>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
            ++it;
            continue;
        }
        char32_t c = 0xFFFD;
        try {
            c = utf8::next(it, name.end());
        } catch (const utf8::exception&) {
            ++it;
        }
        c = ToLower(c);
        if (c >= 0x10000) {
            *out++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *out++ = static_cast<char16_t>(c);
        }
    }
    return out;
}

} // namespace

std::u16string LinkSortKey(const std::string& name) {
    std::u16string key(name.size(), u'\0');
    key.resize(static_cast<std::size_t>(WriteLinkSortKey(key.data(), name) - key.data()));
    return key;
}

void SortLinks(std::vector<LinkItem>& links, std::int32_t hi, bool descending) {
    const std::int32_t lo = 0;
    const std::int32_t n = hi - lo + 1;
    if (n < 2) {
        return;
    }
    // Every key is lowered once into one buffer; the sort moves the links'
    // numbers, and each link moves once, to its place, at the end.
    std::size_t nameBytes = 0;
    for (std::int32_t i = lo; i <= hi; ++i) {
        nameBytes += links[static_cast<std::size_t>(i)].name.size();
    }
    std::u16string keyText(nameBytes, u'\0');
    std::vector<std::size_t> keyStart(static_cast<std::size_t>(n) + 1);
    char16_t* end = keyText.data();
    for (std::int32_t i = lo; i <= hi; ++i) {
        keyStart[static_cast<std::size_t>(i)] = static_cast<std::size_t>(end - keyText.data());
        end = WriteLinkSortKey(end, links[static_cast<std::size_t>(i)].name);
    }
    keyStart[static_cast<std::size_t>(n)] = static_cast<std::size_t>(end - keyText.data());
    const std::u16string_view keys = keyText;
    auto keyOf = [&](std::int32_t link) {
        auto at = static_cast<std::size_t>(link);
        return keys.substr(keyStart[at], keyStart[at + 1] - keyStart[at]);
    };
    std::vector<std::int32_t> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), lo);
    std::int32_t h = 0;
    while (h <= n) {
        h = 3 * h + 1;
    }
    do {
        h /= 3;
        for (std::int32_t i = lo + h; i <= hi; ++i) {
            const std::int32_t saved = order[i];
            const auto savedKey = keyOf(saved);
            std::int32_t j = i;
            while ((keyOf(order[j - h]) > savedKey) != descending) {
                order[j] = order[j - h];
                j -= h;
                if (j - h < lo) {
                    break;
                }
            }
            order[j] = saved;
        }
    } while (h > 1);
    std::vector<LinkItem> sorted;
    sorted.reserve(order.size());
    for (auto link : order) {
        sorted.push_back(std::move(links[static_cast<std::size_t>(link)]));
    }
    std::move(sorted.begin(), sorted.end(), links.begin());
}

std::vector<LinkItem> GetFolderLinks(const BookmarkTree& tree, std::int32_t folder,
                                     bool exportAll) {
    std::vector<LinkItem> links;
    for (const auto& entry : tree.Rows(folder)) {
        if (entry.IsLink() && (exportAll || entry.bChecked)) {
            links.push_back({entry.sName, entry.sURL});
        }
    }
    if (!links.empty()) {
        SortLinks(links, static_cast<std::int32_t>(links.size()) - 1);
    }
    return links;
}

} // namespace tellavin
