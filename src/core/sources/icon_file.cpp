#include "sources/icon_file.h"

#include "model/icon_image.h"
#include "platform/file_io.h"
#include "text/ascii_text.h"
#include "text/percent_decoding.h"

#include <optional>

namespace tellavin {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The scheme an address starts with ("http", "file"), or empty. One letter
// before the colon is a drive ("C:\Icons\a.ico"), no scheme.
std::string_view SchemeOf(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAsciiLetter(text.front())) {
        return {};
    }
    for (char c : text.substr(1, colon - 1)) {
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return {};
        }
    }
    return text.substr(0, colon);
}

// The path of a file: URL on this machine; nothing for one on another host.
std::optional<std::string> PathOfFileUrl(std::string_view url) {
    url.remove_prefix(url.find(':') + 1);
    if (url.starts_with("//")) {
        auto slash = url.find('/', 2);
        auto host = url.substr(2, slash == std::string_view::npos ? url.npos : slash - 2);
        if (!host.empty() && !EqualsIgnoringCase(host, "localhost")) {
            return std::nullopt;
        }
        url.remove_prefix(slash == std::string_view::npos ? url.size() : slash);
    }
    auto path = PercentDecode(url);
    // "/C:/Icons/a.ico" names a drive's file; the slash before it is the URL's.
    if (path.size() >= 3 && path[0] == '/' && IsAsciiLetter(path[1]) &&
        (path[2] == ':' || path[2] == '|')) {
        path.erase(0, 1);
        path[1] = ':';
    }
    return path;
}

} // namespace

std::string ReadIconFile(std::string_view iconFile, const std::string& shortcutFolder) {
    std::string path(iconFile);
    auto scheme = SchemeOf(iconFile);
    if (EqualsIgnoringCase(scheme, "file")) {
        auto local = PathOfFileUrl(iconFile);
        if (!local) {
            return {};
        }
        path = std::move(*local);
    } else if (!scheme.empty()) {
        return {};
    }
    if (path.empty()) {
        return {};
    }
    if (PathFromUtf8(path).is_relative()) {
        path = Utf8FromPath(PathFromUtf8(shortcutFolder) / PathFromUtf8(path));
    }
    return ReadSmallFile(path, kMaxLinkIconBytes).value_or(std::string());
}

} // namespace tellavin
