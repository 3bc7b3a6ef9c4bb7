#include "settings/color_presets.h"

#include "platform/file_io.h"
#include "settings/setting_store.h"
#include "settings/settings_location.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <sstream>
#include <vector>

namespace tellavin {

namespace {

CSetting PresetFile(const Platform& platform) {
    CSetting file(platform);
    file.Init(std::string(kPresetFileName));
    return file;
}

// A preset that comes with the program: its name, the version that brought
// it in and its colour values as written into the user's file.
struct ShippedPreset {
    std::string name;
    double version = 0;
    std::vector<std::string> colors;
};

struct ShippedPresets {
    std::string version;
    std::vector<ShippedPreset> presets;
};

ShippedPresets BuiltinPresets() {
    ShippedPresets shipped{std::to_string(kBuiltinPresetsVersion), {}};
    for (const auto& preset : kBuiltinPresets) {
        ShippedPreset entry{std::string(preset.name), preset.version, {}};
        std::istringstream colors{std::string(preset.colors)};
        for (std::string piece; colors >> piece;) {
            entry.colors.push_back(piece);
        }
        shipped.presets.push_back(std::move(entry));
    }
    return shipped;
}

// The presets of the installed presets file, or nothing when the program
// has none or it names no version.
std::optional<ShippedPresets> InstalledPresets(const Platform& platform) {
    auto executable = platform.GetExecutablePath();
    if (!executable) {
        return std::nullopt;
    }
    auto data = InstalledDataFolder(Utf8FromPath(PathFromUtf8(*executable).parent_path()));
    if (!data) {
        return std::nullopt;
    }
    CSetting file(platform);
    file.Init(Utf8FromPath(PathFromUtf8(*data) / kInstalledPresetFile));
    ShippedPresets shipped{file.GetSettingStr(kVersionSection, "Version", ""), {}};
    if (shipped.version.empty()) {
        return std::nullopt;
    }
    for (const auto& name : file.GetSectionNames()) {
        if (EqualsIgnoringCase(name, kVersionSection)) {
            continue;
        }
        ShippedPreset preset{
            name, PresetFileNumber(file.GetSettingStr(name, "Version", shipped.version)), {}};
        for (std::size_t slot = 0; slot < MenuColors{}.size(); ++slot) {
            auto value = file.GetSettingStr(name, ColorKey(slot), "");
            if (value.empty()) {
                break;
            }
            preset.colors.push_back(std::move(value));
        }
        shipped.presets.push_back(std::move(preset));
    }
    return shipped;
}

bool StartsNumber(std::string_view text) {
    return !text.empty() && (std::isdigit(static_cast<unsigned char>(text.front())) ||
                             (text.front() == '.' && text.size() > 1 &&
                              std::isdigit(static_cast<unsigned char>(text[1]))));
}

} // namespace

double PresetFileNumber(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan", which are no numbers here.
    if (!StartsNumber(text)) {
        return 0;
    }
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return negative ? -value : value;
}

std::string ColorKey(std::size_t slot) {
    return "Color" + std::to_string(slot);
}

void InstallBuiltinPresets(const Platform& platform) {
    auto shipped = InstalledPresets(platform);
    if (!shipped) {
        shipped = BuiltinPresets();
    }
    auto file = PresetFile(platform);
    double installed = PresetFileNumber(file.GetSettingStr(kVersionSection, "Version", "0"));
    if (installed >= PresetFileNumber(shipped->version)) {
        return;
    }
    for (const auto& preset : shipped->presets) {
        if (preset.version <= installed) {
            continue;
        }
        for (std::size_t slot = 0; slot < preset.colors.size(); ++slot) {
            file.SaveSettingStr(preset.name, ColorKey(slot), preset.colors[slot]);
        }
    }
    file.SaveSettingStr(kVersionSection, "Version", shipped->version);
}

bool SavePresetColors(const Platform& platform, const std::string& name, const MenuColors& colors) {
    if (EqualsIgnoringCase(name, kVersionSection) || !IniDocument::IsStorableSectionName(name)) {
        return false;
    }
    try {
        auto file = PresetFile(platform);
        for (std::size_t slot = 0; slot < colors.size(); ++slot) {
            file.SaveSettingStr(name, ColorKey(slot), std::to_string(colors[slot]));
        }
    } catch (const SettingError&) {
        return false;
    }
    return true;
}

} // namespace tellavin
