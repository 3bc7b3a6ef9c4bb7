#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tellavin {

class IniDocument;

// Numbers of the errors the settings store raises.
inline constexpr std::int32_t kSettingWriteError = static_cast<std::int32_t>(0x80040202);
inline constexpr std::int32_t kSettingReadError = static_cast<std::int32_t>(0x80040203);
inline constexpr std::int32_t kSectionReadError = static_cast<std::int32_t>(0x80040204);
inline constexpr std::int32_t kKeyDeleteError = static_cast<std::int32_t>(0x80040205);

// An error of the settings store: its number, the operation that raised it
// ("CSetting.SaveSettingStr") and a description that names the error caught
// inside, as "Error writing Setting (75, Cannot write ...)".
class SettingError : public std::runtime_error {
public:
    SettingError(std::int32_t number, std::string source, std::string description);

    std::int32_t number() const { return number_; }
    const std::string& source() const { return source_; }
    const std::string& description() const { return description_; }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// The store every persistent value goes through: one INI file of named
// sections holding named keys, all values text. Each operation reads the
// file afresh, and each change writes it whole at once (temporary file and
// rename), so nothing is cached and a crash never leaves half a file. A
// change holds the file's lock (FileLock) from its read to its write, so
// changes that the program's processes make at once each keep the others'.
//
// Reading follows the Windows profile functions (see IniDocument): section
// and key names without regard to case, the first match wins, values trimmed.
// A missing, unreadable or non-text file (one holding NUL bytes, or broken
// UTF-16) reads as empty, so every read gives its default; the next change
// then writes a clean file. Values keep their whole length.
//
// Reads never fail, except a number too large for GetSettingInt. Changes
// raise SettingError when the file cannot be written or a name or value
// cannot be stored (a line break in it, a ']' in a section name, a '=' in a
// key); the file is then left as it was.
class CSetting {
public:
    static constexpr std::int32_t kIniFileMode = 1;

    explicit CSetting(const Platform& platform = SystemPlatform());

    // Binds the store to a file. No name: the settings file, named after the
    // executable. A bare name: that name + ".ini" in the settings folder (see
    // SettingsFolder). A name holding a path separator: that file. Names are
    // trimmed of blanks. Every mode reads and writes the INI file, the only
    // place where the program keeps settings; the mode is only remembered.
    void Init(std::optional<std::string> name = std::nullopt, std::int32_t mode = kIniFileMode);

    // The value, trimmed of blanks, or the default when the key is missing.
    std::string GetSettingStr(std::string_view section, std::string_view key,
                              std::string_view defaultValue);
    // The leading whole number of the value (blanks, an optional sign, then
    // digits); the default when the key is missing or its value starts with
    // no number. Raises error kSettingReadError when the number does not fit
    // 16 bits.
    std::int16_t GetSettingInt(std::string_view section, std::string_view key,
                               std::int16_t defaultValue);
    // The keys of a section with their values, in file order; empty when the
    // section is missing or has no keys.
    std::vector<std::pair<std::string, std::string>> GetSettingAll(std::string_view section);
    // The names of the sections, in file order, each name once.
    std::vector<std::string> GetSectionNames();

    void SaveSettingStr(std::string_view section, std::string_view key, std::string_view value);
    void SaveSettingInt(std::string_view section, std::string_view key, std::int16_t value);
    // Changes a value by what it is now, in one step: change gets the value,
    // trimmed of blanks (nothing when the key is missing), and gives the new
    // one, or nothing to keep the file as it is. Raises what SaveSettingStr
    // raises.
    using ValueChange =
        std::function<std::optional<std::string>(std::optional<std::string_view> value)>;
    void UpdateSettingStr(std::string_view section, std::string_view key,
                          const ValueChange& change);
    // Removes the key, or the whole section when no key is given.
    void DeleteKey(std::string_view section, std::optional<std::string_view> key = std::nullopt);

    std::int32_t SaveMode() const { return saveMode_; }
    void SetSaveMode(std::int32_t mode) { saveMode_ = mode; }
    const std::string& IniFile() const { return iniFile_; }
    const std::string& AppName() const { return appName_; }

private:
    struct LoadedFile;

    void EnsureInit();
    LoadedFile Load();
    void Store(const LoadedFile& file);
    // Reads the file, lets alter change the document and, when it says it
    // did, writes the file, all under the file's lock. The folder is made
    // first, as the lock needs it.
    void Change(const std::function<bool(IniDocument&)>& alter);

    const Platform* platform_;
    std::int32_t saveMode_ = 0;
    std::string iniFile_;
    std::string appName_;
};

} // namespace tellavin
