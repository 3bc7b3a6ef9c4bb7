#pragma once

#include "model/menu_colors.h"
#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// One entry of the preset table: the colours as read (whole numbers in
// range, kept as the file gave them) and the preset's name, empty for the
// "<Custom>" entry.
struct PresetRecord {
    std::array<double, 8> Colors{};
    std::string Name;
};

inline constexpr std::string_view kCustomPresetName = "<Custom>";

// The presets file, "ColorPreset.ini" in the settings folder. Each preset is
// a section named after it with keys "Color0" to "Color7"; the section
// "Version" (key "Version") holds the version of the built-in presets already
// written into the file.
inline constexpr std::string_view kPresetFileName = "ColorPreset";
inline constexpr std::string_view kVersionSection = "Version";

struct BuiltinPreset {
    std::string_view name;
    double version;
    std::string_view colors; // slots 0 to 7 in decimal, separated by blanks
};

inline constexpr std::array<BuiltinPreset, 2> kBuiltinPresets = {{
    {"Ice", 1.1, "4469555 4469555 15722214 10543558 11440256 11440256 16777215 11440256"},
    {"TwinHelix", 1.1, "0 16777215 14535884 13408614 6710886 6710886 16777215 10053171"},
}};

// The version of the built-ins written by this program.
inline constexpr int kBuiltinPresetsVersion = 2;

// The value of a number in the presets file: its leading decimal number
// (blanks, a sign, digits, a fraction, an exponent), 0 when it starts with
// none.
double PresetFileNumber(std::string_view text);

// The key of colour slot k: "Color" + k.
std::string ColorKey(std::size_t slot);

// The presets file installed with the program, in its installed data folder
// (see InstalledDataFolder). It is laid out as the user's file, "Version"
// giving the version of its presets, and each preset's section also holds
// the version that brought it in (key "Version"; without one, the file's).
inline constexpr std::string_view kInstalledPresetFile = "ColorPreset.ini";

// Brings the presets file up to date with the presets that come with the
// program: those of the installed presets file when the program has one
// that names its version, else the built-in ones. When the user's file's
// version is below theirs, writes every such preset newer than that version,
// then the new version. A file already at that version is left alone, so
// presets the user deleted stay deleted. Raises SettingError when the file
// cannot be written.
void InstallBuiltinPresets(const Platform& platform);

// Writes the colours as the preset of that name. False when a colour could
// not be written (the colours before it stay written), and for a name the
// file cannot hold as a section, including "Version" in any case.
bool SavePresetColors(const Platform& platform, const std::string& name, const MenuColors& colors);

} // namespace tellavin
