// Reads arbitrary bytes as the content of an Internet Shortcut file.
#include "fuzz_check.h"
#include "sources/internet_shortcut.h"
#include "text/encoding.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto url = tellavin::ShortcutUrlFromText(bytes);
    // Whatever the file's encoding, the address comes out as UTF-8 on one line.
    FUZZ_CHECK(tellavin::IsValidUtf8(url));
    FUZZ_CHECK(url.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(url.size() <= 4 * size);
    // The icon file is read by the same rules, and reading it leaves the
    // address as it was.
    auto fields = tellavin::ShortcutFieldsFromText(bytes);
    FUZZ_CHECK(fields.url == url);
    FUZZ_CHECK(tellavin::IsValidUtf8(fields.iconFile));
    FUZZ_CHECK(fields.iconFile.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    return 0;
}
