// Runs arbitrary changes through the settings store on an arbitrary file:
// a change that succeeds reads back as saved and touches no other key, a
// change that fails leaves the file byte for byte as it was.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "platform/file_io.h"
#include "settings/setting_store.h"
#include "text/ascii_text.h"
#include "text/ini_document.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

using tellavin::CSetting;
using tellavin::EqualsIgnoringCase;
using tellavin::SettingError;
using tellavin::TrimBlanks;

// A section and key; names compare without regard to ASCII case, as the
// store compares them.
using Name = std::pair<std::string, std::string>;
struct CaselessLess {
    static bool Less(const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
    bool operator()(const Name& a, const Name& b) const {
        if (Less(a.first, b.first) || Less(b.first, a.first)) {
            return Less(a.first, b.first);
        }
        return Less(a.second, b.second);
    }
};
using View = std::map<Name, std::string, CaselessLess>;

// Everything the store keeps: each section's keys with their values. An
// empty section name or key can stand in a file but is never written back.
View Everything(CSetting& store) {
    View view;
    for (const auto& section : store.GetSectionNames()) {
        for (auto& [key, value] : store.GetSettingAll(section)) {
            if (!section.empty() && !key.empty()) {
                view.emplace(std::make_pair(section, key), value);
            }
        }
    }
    return view;
}

const std::string& Folder() {
    static const std::string folder = [] {
        std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        auto path = base + "/tellavin-setting-fuzz-" + std::to_string(getpid());
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

std::string FileBytes(const std::string& path) {
    return tellavin::ReadWholeFile(path).value_or("<missing>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tellavin::fuzz::FuzzInput input(data, size);
    const std::string path = Folder() + "/settings.ini";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << input.Piece();
    }
    CSetting store;
    store.Init(path);
    for (int step = 0; step < 6 && !input.empty(); ++step) {
        auto operation = input.Choice(3);
        auto section = input.Piece();
        auto key = input.Piece();
        auto value = input.Piece();
        auto before = Everything(store);
        auto bytesBefore = FileBytes(path);
        auto touched = [&](const Name& name) {
            bool inSection = EqualsIgnoringCase(name.first, section);
            return operation == 2 ? inSection : inSection && EqualsIgnoringCase(name.second, key);
        };
        try {
            if (operation == 0) {
                store.SaveSettingStr(section, key, value);
                FUZZ_CHECK(store.GetSettingStr(section, key, "\x01") == TrimBlanks(value));
            } else if (operation == 1) {
                store.DeleteKey(section, key);
                FUZZ_CHECK(store.GetSettingStr(section, key, "\x01") == "\x01");
            } else {
                store.DeleteKey(section);
                FUZZ_CHECK(store.GetSettingAll(section).empty());
            }
        } catch (const SettingError&) {
            FUZZ_CHECK(FileBytes(path) == bytesBefore);
            continue;
        }
        auto after = Everything(store);
        for (const auto& [name, value] : before) {
            if (!touched(name)) {
                auto found = after.find(name);
                FUZZ_CHECK(found != after.end() && found->second == value);
            }
        }
    }
    return 0;
}
