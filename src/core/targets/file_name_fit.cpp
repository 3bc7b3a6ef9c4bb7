#include "targets/file_name_fit.h"

#include <array>

namespace tellavin {

namespace detail {

namespace {

// Bytes of the UTF-8 character that starts with lead.
std::size_t CharBytes(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto bytes = CharBytes(static_cast<unsigned char>(utf8[i]));
        units += bytes == 4 ? 2 : 1;
        i += bytes;
    }
    return units;
}

std::string CutToBytes(std::string utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) {
        return utf8;
    }
    auto cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    utf8.resize(cut);
    return utf8;
}

std::string CutToUtf16Units(std::string utf8, std::size_t maxUnits) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        auto bytes = CharBytes(static_cast<unsigned char>(utf8[i]));
        units += bytes == 4 ? 2 : 1;
        if (units > maxUnits) {
            utf8.resize(i);
            break;
        }
        i += bytes;
    }
    return utf8;
}

bool IsReservedDeviceName(std::string_view name) {
    auto stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    std::string upper;
    for (char c : stem) {
        upper.push_back(Upper(c));
    }
    static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    for (auto device : kDevices) {
        if (upper == device) {
            return true;
        }
    }
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

} // namespace detail

namespace {

// What Windows cannot take in any name.
std::string WindowsSafe(std::string name) {
    for (auto& c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = '-';
        }
    }
    if (detail::IsReservedDeviceName(name)) {
        auto dot = name.find('.');
        name.insert(dot == std::string::npos ? name.size() : dot, 1, '_');
    }
    return name;
}

} // namespace

std::string FitFolderName(std::string name, FileNameRules rules) {
    if (rules == FileNameRules::Posix) {
        return detail::CutToBytes(std::move(name), kPosixComponentBytes);
    }
    name = WindowsSafe(std::move(name));
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) {
        name.pop_back();
    }
    return name;
}

std::optional<std::string> FitLinkStem(std::string name, FileNameRules rules,
                                       std::string_view folderPath, std::string_view suffix) {
    if (rules == FileNameRules::Posix) {
        auto room = kPosixComponentBytes - kShortcutExtension.size();
        if (suffix.size() >= room) {
            return std::nullopt;
        }
        return detail::CutToBytes(std::move(name), room - suffix.size()) + std::string(suffix);
    }
    auto used = detail::Utf16Length(folderPath) + detail::Utf16Length(suffix);
    if (used >= kWindowsLinkPathChars) {
        return std::nullopt;
    }
    auto stem =
        detail::CutToUtf16Units(WindowsSafe(std::move(name)), kWindowsLinkPathChars - used) +
        std::string(suffix);
    if (detail::IsReservedDeviceName(stem)) {
        return std::nullopt; // only a cut back to the bare device name gets here
    }
    return stem;
}

} // namespace tellavin
