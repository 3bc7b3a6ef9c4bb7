#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// An INI text read with the rules of the Windows profile functions: section
// and key names compare without regard to case (ASCII letters), the first
// matching section and the first matching key in it win, names and values are
// trimmed of blanks, a value in matching quotes loses them, lines starting
// with ';' are comments and lines without '=' inside a section are ignored.
//
// The document can also be changed and written back. Writing keeps sections
// and keys in file order, keeps comment lines (';' and '#') and blank lines
// where they were, and leaves out what a reader can never see: repeated
// sections and repeated keys (the first one wins), sections without a name,
// keys above the first section and lines that are neither keys nor comments.
// The text written is therefore also read the same way by other INI readers.
class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;                    // as in the file, trimmed, quotes kept
        std::vector<std::string> notesBefore; // comment and blank lines above the key
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::vector<std::string> notesAfter; // comment and blank lines after the last key
    };

    // Parses UTF-8 text; CR LF, LF and CR alone all end a line.
    static IniDocument Parse(std::string_view text);

    // The text of an INI file's bytes: UTF-16 LE with its byte order mark is
    // converted, valid UTF-8 stays (without a byte order mark), anything else
    // is Windows-1252. Nothing when a UTF-16 text is broken.
    static std::optional<std::string> DecodeFileBytes(std::string_view bytes);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    const Section* FindSection(std::string_view section) const;
    const std::vector<Section>& sections() const { return sections_; }

    // Sets a key's value, adding the section at the end of the document and
    // the key at the end of its section when they are new. False, and nothing
    // changed, when a name or the value cannot be stored (see IsStorable*).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every key of that name from the first section of that name;
    // false when there was none.
    bool RemoveKey(std::string_view section, std::string_view key);
    // Removes every section of that name; false when there was none.
    bool RemoveSection(std::string_view section);

    // The document as INI text with CR LF after every line.
    std::string ToText() const;

    // A section name can be stored when it is not empty, has no blanks at
    // either end and holds no ']' or line break; a key when it is not empty,
    // has no blanks at either end, holds no '=' or line break and does not
    // begin with ';' or '['; a value when it holds no line break. NUL counts
    // as a line break. None of them may be anything but UTF-8.
    static bool IsStorableSectionName(std::string_view name);
    static bool IsStorableKey(std::string_view key);
    static bool IsStorableValue(std::string_view value);

private:
    Section* FindMutableSection(std::string_view section);

    std::vector<std::string> prologue_; // comment and blank lines above the first section
    std::vector<Section> sections_;
};

} // namespace tellavin
