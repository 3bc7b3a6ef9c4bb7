#include "settings/color_presets.h"

#include "settings/setting_store.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace tellavin {

namespace {

CSetting PresetFile(const Platform& platform) {
    CSetting file(platform);
    file.Init(std::string(kPresetFileName));
    return file;
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
    auto file = PresetFile(platform);
    double installed = PresetFileNumber(file.GetSettingStr(kVersionSection, "Version", "0"));
    if (installed >= kBuiltinPresetsVersion) {
        return;
    }
    for (const auto& preset : kBuiltinPresets) {
        if (preset.version <= installed) {
            continue;
        }
        std::istringstream colors{std::string(preset.colors)};
        std::string piece;
        for (std::size_t slot = 0; colors >> piece; ++slot) {
            file.SaveSettingStr(preset.name, ColorKey(slot), piece);
        }
    }
    file.SaveSettingStr(kVersionSection, "Version", std::to_string(kBuiltinPresetsVersion));
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
