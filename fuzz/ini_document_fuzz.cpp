// Parses arbitrary text as an INI file, checks what the profile rules
// promise about the result, and that writing the document back keeps
// every value a reader sees.
#include "fuzz_check.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using tellavin::EqualsIgnoringCase;
using tellavin::IniDocument;
using tellavin::TrimBlanks;

namespace {

void CheckShape(const IniDocument& document) {
    for (const auto& section : document.sections()) {
        FUZZ_CHECK(section.name == TrimBlanks(section.name));
        FUZZ_CHECK(section.name.find_first_of("\r\n") == std::string::npos);
        // The first section of a name answers for all of them.
        const auto* first = document.FindSection(section.name);
        FUZZ_CHECK(first != nullptr && EqualsIgnoringCase(first->name, section.name));
        for (const auto& entry : section.entries) {
            FUZZ_CHECK(entry.key == TrimBlanks(entry.key));
            FUZZ_CHECK(entry.value == TrimBlanks(entry.value));
            FUZZ_CHECK(entry.key.find_first_of("\r\n") == std::string::npos);
            FUZZ_CHECK(entry.value.find_first_of("\r\n") == std::string::npos);
        }
    }
}

// Every value a reader can reach in before reads the same in after.
void CheckSameValues(const IniDocument& before, const IniDocument& after) {
    for (const auto& section : before.sections()) {
        if (section.name.empty() || before.FindSection(section.name) != &section) {
            continue; // written nowhere, or hidden behind an earlier section
        }
        for (const auto& entry : section.entries) {
            if (!entry.key.empty()) {
                FUZZ_CHECK(after.Get(section.name, entry.key) ==
                           before.Get(section.name, entry.key));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto document = IniDocument::Parse(text);
    CheckShape(document);

    auto written = document.ToText();
    auto reread = IniDocument::Parse(written);
    CheckSameValues(document, reread);
    // Once written, a document is written the same way again.
    FUZZ_CHECK(reread.ToText() == written);
    return 0;
}
