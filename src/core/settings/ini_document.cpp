#include "settings/ini_document.h"

#include <algorithm>
#include <cctype>

namespace tellavin {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

namespace {
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}
} // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    Section* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        // A CR alone ends a line too (files from old Macs); the LF of a
        // CR LF then leaves an empty line, which is skipped.
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        auto line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            auto close = line.find(']');
            auto name =
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
            document.sections_.push_back(Section{std::string(TrimBlanks(name)), {}});
            current = &document.sections_.back();
            continue;
        }
        auto equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        current->entries.push_back(Entry{std::string(TrimBlanks(line.substr(0, equals))),
                                         std::string(TrimBlanks(line.substr(equals + 1)))});
    }
    return document;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
    auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& candidate) {
        return EqualsIgnoringCase(candidate.name, section);
    });
    return found == sections_.end() ? nullptr : &*found;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const auto& entry : found->entries) {
        if (EqualsIgnoringCase(entry.key, key)) {
            return std::string(Unquote(entry.value));
        }
    }
    return std::nullopt;
}

} // namespace tellavin
