#include "platform/platform.h"
#include "platform/wide_text.h"

// windows.h first: the shell and tool-help headers build on its types.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <lmcons.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>
// clang-format on

#include <memory>

namespace tellavin {

namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// The folder the shell keeps under a known-folder id, or nothing when the
// user has none (a profile without a Favorites folder, say).
std::optional<std::string> KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path);
    std::optional<std::string> folder;
    if (SUCCEEDED(result) && path != nullptr) {
        folder = Utf8FromWide(path);
    }
    CoTaskMemFree(path);
    return folder;
}

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Registry text is UTF-16 ending in one or more NULs: a string ends at its
// first NUL, a multi-string ("a", "b" stored as a NUL b NUL NUL) keeps the
// NULs between its strings and loses only those that end it.
std::string RegistryText(const std::vector<BYTE>& data, DWORD type) {
    std::wstring_view text(reinterpret_cast<const wchar_t*>(data.data()),
                           data.size() / sizeof(wchar_t));
    if (type != REG_MULTI_SZ) {
        return Utf8FromWide(text.substr(0, text.find(L'\0')));
    }
    while (!text.empty() && text.back() == L'\0') {
        text.remove_suffix(1);
    }
    return Utf8FromWide(text);
}

class WindowsPlatform final : public Platform {
public:
    std::string GetCurrentUserName() const override {
        wchar_t name[UNLEN + 1];
        DWORD size = UNLEN + 1;
        if (!GetUserNameW(name, &size) || size == 0) {
            return {};
        }
        return Utf8FromWide(std::wstring_view(name, size - 1));
    }

    bool ShellOpen(const std::string& target, std::int32_t showCommand) override {
        std::wstring wide = WideFromUtf8(target);
        auto instance =
            ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, showCommand);
        // Values above 32 report success; lower ones are error codes.
        return reinterpret_cast<INT_PTR>(instance) > 32;
    }

    std::optional<std::string> GetSpecialFolder(SpecialFolder folder) const override {
        switch (folder) {
        case SpecialFolder::Favorites:
            return KnownFolder(FOLDERID_Favorites);
        case SpecialFolder::AppData:
            return KnownFolder(FOLDERID_RoamingAppData);
        case SpecialFolder::Documents:
            return KnownFolder(FOLDERID_Documents);
        case SpecialFolder::Home:
            return KnownFolder(FOLDERID_Profile);
        }
        return std::nullopt;
    }

    std::optional<std::string> GetEnvironment(const std::string& name) const override {
        std::wstring wideName = WideFromUtf8(name);
        DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (size == 0) {
            return std::nullopt;
        }
        std::wstring value(size, L'\0');
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
        if (length >= size) {
            return std::nullopt; // changed between the two calls
        }
        value.resize(length);
        return Utf8FromWide(value);
    }

    std::optional<std::string> GetExecutablePath() const override {
        // The buffer grows until the whole path fits: a program may lie
        // deeper than the classic 260 characters.
        for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
            std::wstring path(size, L'\0');
            DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
            if (length == 0) {
                return std::nullopt;
            }
            if (length < size) {
                path.resize(length);
                return Utf8FromWide(path);
            }
        }
        return std::nullopt;
    }

    std::optional<RegistryValue> QueryRegistryValue(RegistryRoot root, const std::string& keyPath,
                                                    const std::string& valueName) const override {
        std::wstring key = WideFromUtf8(keyPath);
        std::wstring value = WideFromUtf8(valueName);
        // An expandable string stays as stored: its variables are the
        // reader's to expand, as with the other readers of the value.
        constexpr DWORD kFlags = RRF_RT_ANY | RRF_NOEXPAND;
        DWORD type = 0;
        DWORD size = 0;
        if (RegGetValueW(RootKey(root), key.c_str(), value.c_str(), kFlags, &type, nullptr,
                         &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<BYTE> data(size);
        if (RegGetValueW(RootKey(root), key.c_str(), value.c_str(), kFlags, &type, data.data(),
                         &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ:
            return RegistryValue(RegistryText(data, type));
        case REG_DWORD:
            if (data.size() != sizeof(DWORD)) {
                return std::nullopt;
            }
            return RegistryValue(
                static_cast<std::int32_t>(*reinterpret_cast<const DWORD*>(data.data())));
        case REG_BINARY:
            return RegistryValue(std::vector<std::uint8_t>(data.begin(), data.end()));
        default:
            return std::nullopt;
        }
    }

    std::optional<std::vector<std::string>> ListProcessNames() const override {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (snapshot.get() == INVALID_HANDLE_VALUE) {
            snapshot.release();
            return std::nullopt;
        }
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        if (!Process32FirstW(snapshot.get(), &entry)) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        do {
            names.push_back(Utf8FromWide(entry.szExeFile));
        } while (Process32NextW(snapshot.get(), &entry));
        return names;
    }
};

} // namespace

// Windows has no file-size signal: a write beyond a limit already fails
// with an error the writer reports.
void ReportFileSizeLimitAsError() {}

bool StandardErrorIsTerminal() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    // A console answers its mode; a file, a pipe or the NUL device does not.
    return error != nullptr && error != INVALID_HANDLE_VALUE && GetConsoleMode(error, &mode) != 0;
}

Platform& SystemPlatform() {
    static WindowsPlatform platform;
    return platform;
}

} // namespace tellavin
