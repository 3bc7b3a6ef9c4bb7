#include "text/ini_document.h"

#include "text/ascii_text.h"
#include "text/encoding.h"

#include <algorithm>
#include <utf8.h>
#include <utility>

namespace tellavin {

namespace {

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The value as a reader gets it back: readers trim the line, so blanks at
// either end go now, and a value that then starts and ends with the same
// quote would lose those quotes on reading; one more pair brings it back.
std::string QuoteForFile(std::string_view value) {
    value = TrimBlanks(value);
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.front() + std::string(value) + value.back();
    }
    return std::string(value);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsTrimmed(std::string_view text) {
    return TrimBlanks(text).size() == text.size();
}

void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

} // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument document;
    Section* current = nullptr;
    std::vector<std::string> notes;
    auto keepNotes = [&] {
        auto& target = current ? current->notesAfter : document.prologue_;
        target.insert(target.end(), notes.begin(), notes.end());
        notes.clear();
    };
    std::size_t start = 0;
    while (start < text.size()) {
        // A line ends at CR LF, LF, or a CR alone (files from old Macs).
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        auto line = TrimBlanks(text.substr(start, end - start));
        start = text.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        if (line.empty() || line.front() == ';') {
            notes.emplace_back(line);
            continue;
        }
        if (line.front() == '[') {
            keepNotes();
            auto close = line.find(']');
            auto name =
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
            document.sections_.push_back(Section{std::string(TrimBlanks(name)), {}, {}});
            current = &document.sections_.back();
            continue;
        }
        auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            if (line.front() == '#') {
                notes.emplace_back(line); // a comment to other INI readers
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        current->entries.push_back(Entry{std::string(TrimBlanks(line.substr(0, equals))),
                                         std::string(TrimBlanks(line.substr(equals + 1))),
                                         std::move(notes)});
        notes.clear();
    }
    keepNotes();
    return document;
}

std::optional<std::string> IniDocument::DecodeFileBytes(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        }
        std::string out;
        try {
            utf8::utf16to8(units.begin(), units.end(), std::back_inserter(out));
        } catch (const utf8::exception&) {
            return std::nullopt;
        }
        return out;
    }
    return DecodeToUtf8(StripUtf8Bom(bytes));
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
    auto found = std::find_if(sections_.begin(), sections_.end(), [&](const Section& candidate) {
        return EqualsIgnoringCase(candidate.name, section);
    });
    return found == sections_.end() ? nullptr : &*found;
}

IniDocument::Section* IniDocument::FindMutableSection(std::string_view section) {
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
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

bool IniDocument::IsStorableSectionName(std::string_view name) {
    return !name.empty() && IsTrimmed(name) && name.find(']') == std::string_view::npos &&
           IsStorableValue(name);
}

bool IniDocument::IsStorableKey(std::string_view key) {
    return !key.empty() && IsTrimmed(key) && key.find('=') == std::string_view::npos &&
           key.front() != ';' && key.front() != '[' && IsStorableValue(key);
}

// Text that is not UTF-8 would make the whole file read as Windows-1252,
// changing every other non-ASCII name and value in it.
bool IniDocument::IsStorableValue(std::string_view value) {
    return !HasLineBreak(value) && IsValidUtf8(value);
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableSectionName(section) || !IsStorableKey(key) || !IsStorableValue(value)) {
        return false;
    }
    Section* target = FindMutableSection(section);
    if (target == nullptr) {
        target = &sections_.emplace_back(Section{std::string(section), {}, {}});
    }
    for (auto& entry : target->entries) {
        if (EqualsIgnoringCase(entry.key, key)) {
            entry.value = QuoteForFile(value);
            return true;
        }
    }
    target->entries.push_back(Entry{std::string(key), QuoteForFile(value), {}});
    return true;
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key) {
    Section* target = FindMutableSection(section);
    if (target == nullptr) {
        return false;
    }
    auto& entries = target->entries;
    auto before = entries.size();
    for (std::size_t i = 0; i < entries.size();) {
        if (!EqualsIgnoringCase(entries[i].key, key)) {
            ++i;
            continue;
        }
        // The lines above a removed key stay where they were.
        auto& heir = i + 1 < entries.size() ? entries[i + 1].notesBefore : target->notesAfter;
        heir.insert(heir.begin(), entries[i].notesBefore.begin(), entries[i].notesBefore.end());
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return entries.size() != before;
}

bool IniDocument::RemoveSection(std::string_view section) {
    return std::erase_if(sections_, [&](const Section& candidate) {
               return EqualsIgnoringCase(candidate.name, section);
           }) != 0;
}

std::string IniDocument::ToText() const {
    std::string out;
    for (const auto& note : prologue_) {
        AppendLine(out, note);
    }
    std::vector<std::string_view> written;
    auto alreadyIn = [](const std::vector<std::string_view>& names, std::string_view name) {
        return std::any_of(names.begin(), names.end(),
                           [&](std::string_view seen) { return EqualsIgnoringCase(seen, name); });
    };
    for (const auto& section : sections_) {
        if (section.name.empty() || alreadyIn(written, section.name)) {
            continue;
        }
        written.push_back(section.name);
        AppendLine(out, "[" + section.name + "]");
        std::vector<std::string_view> keys;
        for (const auto& entry : section.entries) {
            if (entry.key.empty() || alreadyIn(keys, entry.key)) {
                continue;
            }
            keys.push_back(entry.key);
            for (const auto& note : entry.notesBefore) {
                AppendLine(out, note);
            }
            AppendLine(out, entry.key + "=" + entry.value);
        }
        for (const auto& note : section.notesAfter) {
            AppendLine(out, note);
        }
    }
    return out;
}

} // namespace tellavin
