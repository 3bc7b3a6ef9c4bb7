#include "settings/setting_store.h"

#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "settings/settings_location.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"
#include "text/number_text.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace tellavin {

namespace {

// An error inside an operation, before the operation wraps it. The numbers
// are those of the classic runtime errors, so a wrapped description reads
// the same on every system.
class InnerError : public std::runtime_error {
public:
    InnerError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    std::int32_t number() const { return number_; }

private:
    std::int32_t number_;
};

constexpr std::int32_t kInvalidArgument = 5;
constexpr std::int32_t kOverflow = 6;
constexpr std::int32_t kFileAccess = 75;

template <typename Body>
auto Wrapped(std::int32_t number, const char* source, const char* what, Body&& body) {
    try {
        return body();
    } catch (const InnerError& inner) {
        throw SettingError(number, source,
                           std::string(what) + "(" + std::to_string(inner.number()) + ", " +
                               inner.what() + ")");
    }
}

void SetOrRefuse(IniDocument& document, std::string_view section, std::string_view key,
                 std::string_view value) {
    if (!document.Set(section, key, value)) {
        throw InnerError(kInvalidArgument, "Invalid procedure call or argument: cannot store [" +
                                               std::string(section) + "] " + std::string(key));
    }
}

bool IsPathName(std::string_view name) {
    return name.find('/') != std::string_view::npos ||
           name.find(PathSeparator()) != std::string_view::npos;
}

} // namespace

SettingError::SettingError(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(source + ": " + description), number_(number), source_(std::move(source)),
      description_(std::move(description)) {}

struct CSetting::LoadedFile {
    IniDocument document;
    std::optional<std::string> bytes; // the file as read, when it could be read
};

CSetting::CSetting(const Platform& platform) : platform_(&platform) {}

void CSetting::Init(std::optional<std::string> name, std::int32_t mode) {
    std::string trimmed = name ? std::string(TrimBlanks(*name)) : std::string();
    appName_ = trimmed.empty() ? std::string(kProgramName) : trimmed;
    if (IsPathName(appName_)) {
        iniFile_ = appName_;
    } else {
        iniFile_ = Utf8FromPath(PathFromUtf8(SettingsFolder(*platform_)) / (appName_ + ".ini"));
    }
    saveMode_ = mode;
}

void CSetting::EnsureInit() {
    if (appName_.empty()) {
        Init(std::nullopt, 0);
    }
}

CSetting::LoadedFile CSetting::Load() {
    EnsureInit();
    LoadedFile file;
    file.bytes = ReadWholeFile(iniFile_);
    if (!file.bytes) {
        return file;
    }
    auto text = IniDocument::DecodeFileBytes(*file.bytes);
    if (text && text->find('\0') == std::string::npos) {
        file.document = IniDocument::Parse(*text);
    }
    return file;
}

void CSetting::Store(const LoadedFile& file) {
    std::string text = file.document.ToText();
    if (file.bytes && *file.bytes == text) {
        return; // the file already says exactly this
    }
    auto written = WriteFileAtomically(iniFile_, text);
    if (!written.ok) {
        throw InnerError(kFileAccess, written.message);
    }
}

void CSetting::Change(const std::function<bool(IniDocument&)>& alter) {
    EnsureInit();
    auto folder = PathFromUtf8(iniFile_).parent_path();
    std::error_code ignored; // a folder that cannot be made fails the write
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    FileLock lock(iniFile_);
    auto file = Load();
    if (alter(file.document)) {
        Store(file);
    }
}

std::string CSetting::GetSettingStr(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) {
    auto value = Load().document.Get(section, key).value_or(std::string(defaultValue));
    return std::string(TrimBlanks(value));
}

std::int16_t CSetting::GetSettingInt(std::string_view section, std::string_view key,
                                     std::int16_t defaultValue) {
    return Wrapped(kSettingReadError, "CSetting.GetSettingInt", "Error reading Setting ", [&] {
        auto value = Load().document.Get(section, key);
        auto number = value ? ParseLeadingInteger(*value) : std::nullopt;
        if (!number) {
            return defaultValue;
        }
        if (number->value < std::numeric_limits<std::int16_t>::min() ||
            number->value > std::numeric_limits<std::int16_t>::max()) {
            throw InnerError(kOverflow, "Overflow");
        }
        return static_cast<std::int16_t>(number->value);
    });
}

std::vector<std::pair<std::string, std::string>> CSetting::GetSettingAll(std::string_view section) {
    auto document = Load().document;
    std::vector<std::pair<std::string, std::string>> result;
    const auto* found = document.FindSection(section);
    if (found == nullptr) {
        return result;
    }
    for (const auto& entry : found->entries) {
        bool seen = std::any_of(result.begin(), result.end(), [&](const auto& kept) {
            return EqualsIgnoringCase(kept.first, entry.key);
        });
        if (!seen) {
            auto value = document.Get(section, entry.key).value_or("");
            result.emplace_back(entry.key, std::string(TrimBlanks(value)));
        }
    }
    return result;
}

std::vector<std::string> CSetting::GetSectionNames() {
    auto document = Load().document;
    std::vector<std::string> names;
    for (const auto& section : document.sections()) {
        bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& kept) {
            return EqualsIgnoringCase(kept, section.name);
        });
        if (!seen) {
            names.push_back(section.name);
        }
    }
    return names;
}

void CSetting::SaveSettingStr(std::string_view section, std::string_view key,
                              std::string_view value) {
    Wrapped(kSettingWriteError, "CSetting.SaveSettingStr", "Error writing Setting ", [&] {
        Change([&](IniDocument& document) {
            SetOrRefuse(document, section, key, value);
            return true;
        });
    });
}

void CSetting::SaveSettingInt(std::string_view section, std::string_view key, std::int16_t value) {
    Wrapped(kSettingWriteError, "CSetting.SaveSettingInt", "Error writing Setting ", [&] {
        Change([&](IniDocument& document) {
            SetOrRefuse(document, section, key, std::to_string(value));
            return true;
        });
    });
}

void CSetting::UpdateSettingStr(std::string_view section, std::string_view key,
                                const ValueChange& change) {
    Wrapped(kSettingWriteError, "CSetting.UpdateSettingStr", "Error writing Setting ", [&] {
        Change([&](IniDocument& document) {
            auto stored = document.Get(section, key);
            auto value = change(stored ? std::optional(TrimBlanks(*stored)) : std::nullopt);
            if (!value) {
                return false;
            }
            SetOrRefuse(document, section, key, *value);
            return true;
        });
    });
}

void CSetting::DeleteKey(std::string_view section, std::optional<std::string_view> key) {
    Wrapped(kKeyDeleteError, "CSetting.DeleteKey", "Error Deleting Key ", [&] {
        try {
            Change([&](IniDocument& document) {
                return key ? document.RemoveKey(section, *key) : document.RemoveSection(section);
            });
        } catch (const InnerError&) {
            throw InnerError(kKeyDeleteError, "Error Deleting Key (check if file is protected)");
        }
    });
}

} // namespace tellavin
