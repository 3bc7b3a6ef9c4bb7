#include "sources/internet_shortcut.h"

#include "platform/file_io.h"
#include "platform/platform.h"
#include "text/ini_document.h"
#include "text/encoding.h"

namespace tellavin {

namespace {

// An address is one line of text. It ends at a NUL, as the strings the
// Windows profile functions return do, and line breaks and tabs inside it
// (which a UTF-7 value can hold) are dropped, as browsers drop them from
// addresses; left in, they would break the line-based files it is written
// to.
std::string OneLineAddress(std::string url) {
    url = StripAtNull(std::move(url));
    std::erase_if(url, [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
    return url;
}

} // namespace

std::string ShortcutUrlFromText(std::string_view fileBytes) {
    auto text = IniDocument::DecodeFileBytes(fileBytes);
    if (!text) {
        return {}; // a UTF-16 file with broken surrogates holds nothing usable
    }
    auto document = IniDocument::Parse(*text);
    auto url = document.Get("InternetShortcut", "URL").value_or("");
    auto wide = document.Get("InternetShortcut.W", "URL");
    auto ansi = document.Get("InternetShortcut.A", "URL");
    if (wide && ansi && *ansi == url) {
        return OneLineAddress(Utf7ToUtf8(*wide));
    }
    return OneLineAddress(std::move(url));
}

std::string ReadShortcutUrl(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    return bytes ? ShortcutUrlFromText(*bytes) : std::string();
}

} // namespace tellavin
