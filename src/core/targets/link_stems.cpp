#include "targets/link_stems.h"

#include "targets/file_name_fit.h"
#include "targets/folder_links.h"

#include <utf8.h>

namespace tellavin {

std::string CaseFoldedName(const std::string& name) {
    if (!utf8::is_valid(name.begin(), name.end())) {
        std::string folded = "b";
        for (char c : name) {
            folded.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return folded;
    }
    auto key = LinkSortKey(name);
    return "u" +
           std::string(reinterpret_cast<const char*>(key.data()), key.size() * sizeof(char16_t));
}

std::optional<TakenStem> LinkStems::Take(const std::string& name, FileNameRules rules,
                                         std::string_view folderPath) {
    auto stem = FitLinkStem(name, rules, folderPath);
    if (!stem) {
        return std::nullopt;
    }
    auto key = CaseFoldedName(*stem);
    if (taken_.insert(key).second) {
        return TakenStem{std::move(*stem), false};
    }
    auto& number = nextNumber_.try_emplace(key, 2).first->second;
    for (;; ++number) {
        auto suffix = "(" + std::to_string(number) + ")";
        auto numbered = FitLinkStem(name, rules, folderPath, suffix);
        if (!numbered) {
            return std::nullopt;
        }
        if (taken_.insert(CaseFoldedName(*numbered)).second) {
            ++number;
            return TakenStem{std::move(*numbered), true};
        }
    }
}

} // namespace tellavin
