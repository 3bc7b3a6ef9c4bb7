#include "targets/folder_links.h"

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

} // namespace

std::u16string LinkSortKey(const std::string& name) {
    std::u16string key;
    key.reserve(name.size());
    auto it = name.begin();
    while (it != name.end()) {
        char32_t c = 0xFFFD;
        try {
            c = utf8::next(it, name.end());
        } catch (const utf8::exception&) {
            ++it;
        }
        c = ToLower(c);
        if (c >= 0x10000) {
            key.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            key.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            key.push_back(static_cast<char16_t>(c));
        }
    }
    return key;
}

void SortLinks(std::vector<LinkItem>& links, std::int32_t hi, bool descending) {
    const std::int32_t lo = 0;
    const std::int32_t n = hi - lo + 1;
    if (n < 2) {
        return;
    }
    // Keys are lowered once, and move with their links.
    std::vector<std::u16string> keys;
    keys.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = lo; i <= hi; ++i) {
        keys.push_back(LinkSortKey(links[i].name));
    }
    std::int32_t h = 0;
    while (h <= n) {
        h = 3 * h + 1;
    }
    do {
        h /= 3;
        for (std::int32_t i = lo + h; i <= hi; ++i) {
            LinkItem saved = std::move(links[i]);
            std::u16string savedKey = std::move(keys[i]);
            std::int32_t j = i;
            while ((keys[j - h] > savedKey) != descending) {
                links[j] = std::move(links[j - h]);
                keys[j] = std::move(keys[j - h]);
                j -= h;
                if (j - h < lo) {
                    break;
                }
            }
            links[j] = std::move(saved);
            keys[j] = std::move(savedKey);
        }
    } while (h > 1);
}

LinkItem LinkItemOf(const EntryRecord& row) {
    return {row.sName, row.sURL, row.nCreated, row.nChanged};
}

std::vector<LinkItem> GetFolderLinks(const BookmarkTree& tree, std::int32_t folder,
                                     bool exportAll) {
    std::vector<LinkItem> links;
    for (const auto& entry : tree.Rows(folder)) {
        if (entry.IsLink() && (exportAll || entry.bChecked)) {
            links.push_back(LinkItemOf(entry));
        }
    }
    if (!links.empty()) {
        SortLinks(links, static_cast<std::int32_t>(links.size()) - 1);
    }
    return links;
}

} // namespace tellavin
