#include "platform/file_io.h"
#include "platform/scratch_folder.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <random>
#include <vector>
#include <windows.h>

namespace tellavin {

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    // Closes the file now; the error a late write reports then, or 0.
    DWORD Close() {
        DWORD error = CloseHandle(handle_) ? 0 : GetLastError();
        handle_ = INVALID_HANDLE_VALUE;
        return error;
    }

private:
    HANDLE handle_;
};

// A file in the folder, emptied when it is there. It inherits the folder's
// access, which the user's temporary folder gives to the user alone.
HANDLE OpenScratchFile(const std::filesystem::path& path) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

} // namespace

void ScratchFolder::MakeFolder() {
    // A random name that does not exist yet: CreateDirectoryW fails on one
    // that does.
    std::random_device random;
    DWORD made = ERROR_ALREADY_EXISTS;
    for (int attempt = 0; attempt < 100 && made == ERROR_ALREADY_EXISTS; ++attempt) {
        auto candidate = base_ / ("tellavin-" + std::to_string(random()));
        made = CreateDirectoryW(candidate.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
        if (made == ERROR_SUCCESS) {
            path_ = std::move(candidate);
            return;
        }
    }
    failure_ =
        "cannot make a temporary folder in " + Utf8FromPath(base_) + ": " + SystemErrorText(made);
}

std::string ScratchFolder::MakeFile(const std::string& name) {
    if (path_.empty()) {
        return failure_;
    }
    Handle file(OpenScratchFile(PathOf(name)));
    return file.get() == INVALID_HANDLE_VALUE ? WriteFailure(SystemErrorText(GetLastError()))
                                              : std::string();
}

std::optional<ScratchFolder::CopyFailure>
ScratchFolder::CopyIn(const std::string& source, const std::string& name, std::uintmax_t maxBytes) {
    if (path_.empty()) {
        return CopyFailure{false, failure_};
    }
    // Shared every way, as the program that has the file open expects.
    Handle from(CreateFileW(WidePath(source).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (from.get() == INVALID_HANDLE_VALUE) {
        return CopyFailure{true, SystemErrorText(GetLastError())};
    }
    Handle to(OpenScratchFile(PathOf(name)));
    if (to.get() == INVALID_HANDLE_VALUE) {
        return CopyFailure{false, WriteFailure(SystemErrorText(GetLastError()))};
    }
    std::vector<char> buffer(std::size_t{1} << 16);
    while (maxBytes > 0) {
        DWORD got = 0;
        auto wanted = static_cast<DWORD>(std::min<std::uintmax_t>(buffer.size(), maxBytes));
        if (!ReadFile(from.get(), buffer.data(), wanted, &got, nullptr)) {
            return CopyFailure{true, SystemErrorText(GetLastError())};
        }
        if (got == 0) {
            break;
        }
        DWORD written = 0;
        if (!WriteFile(to.get(), buffer.data(), got, &written, nullptr) || written != got) {
            return CopyFailure{false, WriteFailure(SystemErrorText(GetLastError()))};
        }
        maxBytes -= got;
    }
    if (DWORD error = to.Close()) {
        return CopyFailure{false, WriteFailure(SystemErrorText(error))};
    }
    return std::nullopt;
}

} // namespace tellavin
