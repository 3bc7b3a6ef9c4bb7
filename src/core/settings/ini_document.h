#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// An INI text read with the rules of the Windows profile functions: section
// and key names compare without regard to case, the first matching section
// and the first matching key in it win, names and values are trimmed of
// blanks, a value in matching quotes loses them, lines starting with ';' are
// comments and lines without '=' inside a section are ignored.
class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Parses UTF-8 text; CR LF, LF and CR alone all end a line.
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    const Section* FindSection(std::string_view section) const;
    const std::vector<Section>& sections() const { return sections_; }

private:
    std::vector<Section> sections_;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string_view TrimBlanks(std::string_view text);

} // namespace tellavin
