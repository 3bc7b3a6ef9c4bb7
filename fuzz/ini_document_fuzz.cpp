// Parses arbitrary text as an INI file and checks what the profile rules
// promise about the result.
#include "fuzz_check.h"
#include "settings/ini_document.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using tellavin::EqualsIgnoringCase;
using tellavin::IniDocument;
using tellavin::TrimBlanks;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto document = IniDocument::Parse(text);
    for (const auto& section : document.sections()) {
        FUZZ_CHECK(section.name == TrimBlanks(section.name));
        FUZZ_CHECK(section.name.find('\n') == std::string::npos);
        // The first section of a name answers for all of them.
        const auto* first = document.FindSection(section.name);
        FUZZ_CHECK(first != nullptr && EqualsIgnoringCase(first->name, section.name));
        for (const auto& entry : section.entries) {
            FUZZ_CHECK(entry.key == TrimBlanks(entry.key));
            FUZZ_CHECK(entry.value == TrimBlanks(entry.value));
            FUZZ_CHECK(entry.key.find('\n') == std::string::npos);
            FUZZ_CHECK(entry.value.find('\n') == std::string::npos);
        }
        if (first == &section && !section.entries.empty()) {
            FUZZ_CHECK(document.Get(section.name, section.entries.front().key).has_value());
        }
    }
    return 0;
}
