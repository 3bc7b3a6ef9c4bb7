#include "sources/internet_shortcut.h"

#include "platform/file_io.h"
#include "settings/ini_document.h"
#include "text/encoding.h"

namespace tellavin {

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
        return Utf7ToUtf8(*wide);
    }
    return url;
}

std::string ReadShortcutUrl(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    return bytes ? ShortcutUrlFromText(*bytes) : std::string();
}

} // namespace tellavin
