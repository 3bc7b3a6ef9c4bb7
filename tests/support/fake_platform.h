#pragma once

#include "platform/platform.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace tellavin::test {

// A platform whose answers a test sets, and which records what was opened.
class FakePlatform final : public Platform {
public:
    using RegistryKey = std::tuple<RegistryRoot, std::string, std::string>;

    std::string userName = "ann";
    std::map<SpecialFolder, std::string> folders;
    std::map<std::string, std::string> environment;
    std::optional<std::string> executablePath;
    std::map<RegistryKey, RegistryValue> registry; // (root, key path, value name)
    std::vector<std::string> opened;
    std::vector<std::int32_t> openedShowCommands;
    std::optional<std::vector<std::string>> processNames = std::vector<std::string>{};

    std::string GetCurrentUserName() const override { return userName; }
    bool openSucceeds = true;

    bool ShellOpen(const std::string& target, std::int32_t showCommand) override {
        opened.push_back(target);
        openedShowCommands.push_back(showCommand);
        return openSucceeds;
    }
    std::optional<std::string> GetSpecialFolder(SpecialFolder folder) const override {
        auto found = folders.find(folder);
        return found == folders.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<std::string> GetEnvironment(const std::string& name) const override {
        auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<std::string> GetExecutablePath() const override { return executablePath; }
    std::optional<RegistryValue> QueryRegistryValue(RegistryRoot root, const std::string& keyPath,
                                                    const std::string& valueName) const override {
        auto found = registry.find({root, keyPath, valueName});
        return found == registry.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<std::vector<std::string>> ListProcessNames() const override {
        return processNames;
    }
};

} // namespace tellavin::test
