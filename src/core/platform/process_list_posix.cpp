#include "platform/process_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace tellavin {

namespace fs = std::filesystem;

namespace {

bool IsProcessFolderName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The command name the kernel keeps for the process (at most 15 bytes).
std::optional<std::string> CommandName(const fs::path& process) {
    std::ifstream in(process / "comm", std::ios::binary);
    std::string name;
    if (!in || !std::getline(in, name)) {
        return std::nullopt;
    }
    return name;
}

// The file name of the process's executable, in full. The kernel marks an
// executable replaced on disk (a browser upgraded while it runs) with a
// suffix that is not part of the name.
std::optional<std::string> ExecutableName(const fs::path& process) {
    std::error_code error;
    auto target = fs::read_symlink(process / "exe", error);
    if (error) {
        return std::nullopt;
    }
    std::string name = target.filename().string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (name.size() > kDeleted.size() && name.ends_with(kDeleted)) {
        name.erase(name.size() - kDeleted.size());
    }
    return name;
}

} // namespace

std::optional<std::vector<std::string>> ReadProcessNames(const std::string& procRoot) {
    std::error_code error;
    fs::directory_iterator it(procRoot, error);
    if (error) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    bool anyRead = false;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (!IsProcessFolderName(it->path().filename().string())) {
            continue;
        }
        auto command = CommandName(it->path());
        auto executable = ExecutableName(it->path());
        if (command) {
            names.push_back(*command);
        }
        if (executable && executable != command) {
            names.push_back(*executable);
        }
        anyRead = anyRead || command || executable;
    }
    if (error || !anyRead) {
        return std::nullopt;
    }
    return names;
}

} // namespace tellavin
