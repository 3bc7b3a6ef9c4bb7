#include "targets/folder_links.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <utf8.h>

namespace tellavin {

namespace {

void PrefetchForReading(const void* address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

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

std::u16string LinkSortKey(std::string_view name) {
    std::u16string key(name.size(), u'\0');
    key.resize(static_cast<std::size_t>(WriteLinkSortKey(key.data(), name) - key.data()));
    return key;
}

namespace {

// The order SortLinks gives n links whose names nameOf(0..n-1) tells, as
// their numbers. Every key is lowered once into one buffer, and the sort
// moves numbers, not links.
template <typename NameOf>
std::vector<std::int32_t> ShellSortOrder(std::int32_t n, NameOf nameOf, bool descending) {
    std::vector<std::int32_t> order(static_cast<std::size_t>(std::max(n, 0)));
    std::iota(order.begin(), order.end(), 0);
    if (n < 2) {
        return order;
    }
    std::size_t nameBytes = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        nameBytes += nameOf(i).size();
    }
    std::u16string keyText(nameBytes, u'\0');
    std::vector<std::size_t> keyStart(static_cast<std::size_t>(n) + 1);
    char16_t* end = keyText.data();
    for (std::int32_t i = 0; i < n; ++i) {
        keyStart[static_cast<std::size_t>(i)] = static_cast<std::size_t>(end - keyText.data());
        end = WriteLinkSortKey(end, nameOf(i));
    }
    keyStart[static_cast<std::size_t>(n)] = static_cast<std::size_t>(end - keyText.data());
    const std::u16string_view keys = keyText;
    auto keyOf = [&](std::int32_t link) {
        auto at = static_cast<std::size_t>(link);
        return keys.substr(keyStart[at], keyStart[at + 1] - keyStart[at]);
    };
    // The four units of each key after the beginning all keys share, in one
    // number, zeros after a short key: two keys whose numbers differ compare
    // as their numbers do, so most comparisons never read the key text,
    // even in a folder whose names all begin alike.
    std::size_t common = keyOf(0).size();
    for (std::int32_t i = 1; i < n && common > 0; ++i) {
        auto first = keyOf(0).substr(0, common);
        auto key = keyOf(i);
        common = static_cast<std::size_t>(
            std::mismatch(first.begin(), first.end(), key.begin(), key.end()).first -
            first.begin());
    }
    std::vector<std::uint64_t> prefix(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        auto key = keyOf(i).substr(common);
        std::uint64_t packed = 0;
        for (std::size_t unit = 0; unit < 4; ++unit) {
            packed = (packed << 16) | (unit < key.size() ? key[unit] : 0u);
        }
        prefix[static_cast<std::size_t>(i)] = packed;
    }
    auto greater = [&](std::int32_t a, std::int32_t b) {
        auto pa = prefix[static_cast<std::size_t>(a)];
        auto pb = prefix[static_cast<std::size_t>(b)];
        return pa != pb ? pa > pb : keyOf(a) > keyOf(b);
    };
    const std::int32_t lo = 0;
    const std::int32_t hi = n - 1;
    std::int32_t h = 0;
    while (h <= n) {
        h = 3 * h + 1;
    }
    do {
        h /= 3;
        for (std::int32_t i = lo + h; i <= hi; ++i) {
            const std::int32_t saved = order[i];
            std::int32_t j = i;
            while (greater(order[j - h], saved) != descending) {
                order[j] = order[j - h];
                j -= h;
                if (j - h < lo) {
                    break;
                }
            }
            order[j] = saved;
        }
    } while (h > 1);
    return order;
}

} // namespace

void SortLinks(std::vector<LinkItem>& links, std::int32_t hi, bool descending) {
    auto order = ShellSortOrder(
        hi + 1,
        [&](std::int32_t i) -> std::string_view { return links[static_cast<std::size_t>(i)].name; },
        descending);
    if (order.size() < 2) {
        return;
    }
    // Each link moves once, to its place.
    std::vector<LinkItem> sorted;
    sorted.reserve(order.size());
    for (auto link : order) {
        sorted.push_back(std::move(links[static_cast<std::size_t>(link)]));
    }
    std::move(sorted.begin(), sorted.end(), links.begin());
}

std::vector<std::int32_t> GetFolderLinkRows(const BookmarkTree& tree, std::int32_t folder,
                                            bool exportAll) {
    std::vector<std::int32_t> rows;
    const auto first = tree.FolderTable[static_cast<std::size_t>(folder)].nFirstEntry;
    const auto entries = tree.Rows(folder);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].IsLink() && (exportAll || entries[i].bChecked)) {
            rows.push_back(first + static_cast<std::int32_t>(i));
        }
    }
    auto order = ShellSortOrder(
        static_cast<std::int32_t>(rows.size()),
        [&](std::int32_t i) -> std::string_view {
            return tree.EntryTable[static_cast<std::size_t>(rows[static_cast<std::size_t>(i)])]
                .sName;
        },
        false);
    std::vector<std::int32_t> sorted;
    sorted.reserve(order.size());
    for (auto i : order) {
        sorted.push_back(rows[static_cast<std::size_t>(i)]);
    }
    // The writer reads the addresses next, scattered over the source text;
    // asking for them now lets the memory fetch them side by side.
    for (auto row : sorted) {
        PrefetchForReading(tree.EntryTable[static_cast<std::size_t>(row)].sURL.data());
    }
    return sorted;
}

LinkItem LinkItemOf(const BookmarkTree& tree, const EntryRecord& row) {
    const auto& details = tree.DetailsOf(row);
    return {std::string(row.sName),
            std::string(row.sURL),
            row.nCreated,
            row.nChanged,
            std::string(details.description),
            std::string(details.keyword),
            std::string(details.tags)};
}

std::vector<LinkItem> GetFolderLinks(const BookmarkTree& tree, std::int32_t folder,
                                     bool exportAll) {
    std::vector<LinkItem> links;
    for (auto row : GetFolderLinkRows(tree, folder, exportAll)) {
        const auto& entry = tree.EntryTable[static_cast<std::size_t>(row)];
        links.push_back(LinkItemOf(tree, entry));
    }
    return links;
}

} // namespace tellavin
