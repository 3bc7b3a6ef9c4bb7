#include "platform/platform.h"
#include "platform/process_list.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef __APPLE__
#include <cstdint>
#include <mach-o/dyld.h>
#endif

extern char** environ;

namespace tellavin {

namespace {

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

class PosixPlatform final : public Platform {
public:
    std::string GetCurrentUserName() const override {
        if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) {
            return entry->pw_name;
        }
        if (auto user = GetEnvironment("USER")) {
            return *user;
        }
        return {};
    }

    bool ShellOpen(const std::string& target, std::int32_t) override {
#ifdef __APPLE__
        const char* opener = "open";
#else
        const char* opener = "xdg-open";
#endif
        pid_t child = 0;
        char* argv[] = {const_cast<char*>(opener), const_cast<char*>(target.c_str()), nullptr};
        if (posix_spawnp(&child, opener, nullptr, nullptr, argv, environ) != 0) {
            return false;
        }
        // The opener hands the document to the desktop and returns at once.
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::optional<std::string> GetSpecialFolder(SpecialFolder folder) const override {
        auto home = HomeFolder();
        if (!home) {
            return std::nullopt;
        }
        switch (folder) {
        case SpecialFolder::Home:
            return home;
        case SpecialFolder::Favorites:
            return FavoritesFolder(*home);
        case SpecialFolder::AppData:
            return ConfigFolder(*home);
        case SpecialFolder::Documents:
            if (IsDirectory(*home + "/Documents")) {
                return *home + "/Documents";
            }
            return home;
        }
        return std::nullopt;
    }

    std::optional<std::string> GetEnvironment(const std::string& name) const override {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    }

    std::optional<std::string> GetExecutablePath() const override {
#ifdef __APPLE__
        std::uint32_t size = 0;
        _NSGetExecutablePath(nullptr, &size);
        std::string path(size, '\0');
        if (_NSGetExecutablePath(path.data(), &size) != 0) {
            return std::nullopt;
        }
        path.resize(std::char_traits<char>::length(path.c_str()));
        std::error_code error;
        auto resolved = std::filesystem::canonical(path, error);
        return error ? path : resolved.string();
#else
        std::error_code error;
        auto path = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error) {
            return std::nullopt;
        }
        return path.string();
#endif
    }

    // There is no registry outside Windows.
    std::optional<RegistryValue> QueryRegistryValue(RegistryRoot, const std::string&,
                                                    const std::string&) const override {
        return std::nullopt;
    }

    std::optional<std::vector<std::string>> ListProcessNames() const override {
        return ReadProcessNames("/proc");
    }

private:
    // $XDG_CONFIG_HOME when it holds an absolute path (an empty or relative
    // value is to be ignored), else ~/.config.
    std::string ConfigFolder(const std::string& home) const {
        auto configured = GetEnvironment("XDG_CONFIG_HOME");
        if (configured && !configured->empty() && configured->front() == '/') {
            return *configured;
        }
        return home + "/.config";
    }

    std::optional<std::string> HomeFolder() const {
        if (auto home = GetEnvironment("HOME"); home && !home->empty()) {
            return home;
        }
        if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_dir) {
            return std::string(entry->pw_dir);
        }
        return std::nullopt;
    }

    // ~/Favorites when it exists, else the Favorites folder of the user in a
    // Wine prefix ($WINEPREFIX, by default ~/.wine).
    std::optional<std::string> FavoritesFolder(const std::string& home) const {
        if (IsDirectory(home + "/Favorites")) {
            return home + "/Favorites";
        }
        std::string prefix = GetEnvironment("WINEPREFIX").value_or(home + "/.wine");
        std::string wine = prefix + "/drive_c/users/" + GetCurrentUserName() + "/Favorites";
        if (IsDirectory(wine)) {
            return wine;
        }
        return std::nullopt;
    }
};

} // namespace

void ReportFileSizeLimitAsError() {
    std::signal(SIGXFSZ, SIG_IGN);
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

Platform& SystemPlatform() {
    static PosixPlatform platform;
    return platform;
}

} // namespace tellavin
