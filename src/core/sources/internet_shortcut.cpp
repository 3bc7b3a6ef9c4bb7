#include "sources/internet_shortcut.h"

#include "platform/file_io.h"
#include "platform/platform.h"
#include "text/encoding.h"
#include "text/ini_document.h"

#include <optional>

namespace tellavin {

namespace {

// A value is one line of text. It ends at a NUL, as the strings the Windows
// profile functions return do, and line breaks and tabs inside it (which a
// UTF-7 value can hold) are dropped, as browsers drop them from addresses;
// left in, they would break the line-based files an address is written to.
std::string OneLineValue(std::string value) {
    value = StripAtNull(std::move(value));
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
    return value;
}

// A key of [InternetShortcut], taken from [InternetShortcut.W] when
// [InternetShortcut.A] shows the base value is the lossy copy.
std::string ShortcutValue(const IniDocument& document, std::string_view key) {
    auto value = document.Get("InternetShortcut", key).value_or("");
    auto wide = document.Get("InternetShortcut.W", key);
    auto ansi = document.Get("InternetShortcut.A", key);
    if (wide && ansi && *ansi == value) {
        return OneLineValue(Utf7ToUtf8(*wide));
    }
    return OneLineValue(std::move(value));
}

// The INI document of a shortcut file's bytes; nothing for a UTF-16 file
// with broken surrogates, which holds nothing usable.
std::optional<IniDocument> ParseShortcut(std::string_view fileBytes) {
    auto text = IniDocument::DecodeFileBytes(fileBytes);
    if (!text) {
        return std::nullopt;
    }
    return IniDocument::Parse(*text);
}

} // namespace

ShortcutFields ShortcutFieldsFromText(std::string_view fileBytes) {
    auto document = ParseShortcut(fileBytes);
    if (!document) {
        return {};
    }
    return {ShortcutValue(*document, "URL"), ShortcutValue(*document, "IconFile"),
            ShortcutValue(*document, "IconIndex")};
}

std::string ShortcutUrlFromText(std::string_view fileBytes) {
    auto document = ParseShortcut(fileBytes);
    return document ? ShortcutValue(*document, "URL") : std::string();
}

ShortcutFields ReadShortcutFields(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    return bytes ? ShortcutFieldsFromText(*bytes) : ShortcutFields();
}

std::string ReadShortcutUrl(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    return bytes ? ShortcutUrlFromText(*bytes) : std::string();
}

} // namespace tellavin
