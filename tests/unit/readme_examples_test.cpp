// Every command of the README's command-line section, run as written in a
// home folder that holds the bundled samples as the user's stores.
#include "support/fake_platform.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

struct Example {
    std::string command;              // without "tellavin-cli ", its comment included
    std::vector<std::string> refusal; // the lines of a refusal shown below it
};

// The examples of the section: lines of its sh blocks that call
// tellavin-cli, continued lines joined.
std::vector<Example> ExamplesOf(const std::string& readme) {
    auto section = readme.substr(readme.find("## Command line"));
    section = section.substr(0, section.find("\n### Benchmarks"));
    std::vector<Example> examples;
    std::istringstream lines(section);
    bool inBlock = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("```")) {
            inBlock = !inBlock;
        } else if (inBlock && line.starts_with("tellavin-cli ")) {
            auto command = line.substr(13);
            for (std::string next; command.ends_with("\\") && std::getline(lines, next);) {
                command.back() = ' ';
                command += next.substr(next.find_first_not_of(' '));
            }
            examples.push_back({command, {}});
        } else if (inBlock && !examples.empty() && line.starts_with("# ")) {
            examples.back().refusal.push_back(line.substr(2));
        }
    }
    return examples;
}

TEST(ReadmeExamples, RunAsTheReadmeSays) {
    std::ifstream file(std::string(TELLAVIN_SAMPLES) + "/../../README.md");
    std::string readme((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto examples = ExamplesOf(readme);
    ASSERT_GE(examples.size(), 8u);

    test::TempDir home;
    fs::copy(fs::path(TELLAVIN_SAMPLES) / "Favorites", home.path() / "Favorites",
             fs::copy_options::recursive);
    fs::create_directories(home.path() / ".opera");
    // A Firefox and a Chromium profile with their own stores.
    const auto browsers = fs::path(TELLAVIN_TEST_DATA) / "browsers";
    fs::create_directories(home.path() / ".mozilla/firefox/abc.default");
    fs::copy_file(browsers / "nested-folders-tags-queries.sqlite",
                  home.path() / ".mozilla/firefox/abc.default/places.sqlite");
    fs::create_directories(home.path() / ".config/chromium/Default");
    fs::copy_file(browsers / "chromium-nested-roots.json",
                  home.path() / ".config/chromium/Default/Bookmarks");
    fs::copy_file(fs::path(TELLAVIN_SAMPLES) / "hotlist.adr", home.path() / ".opera/bookmarks.adr");
    test::FakePlatform platform;
    platform.folders[SpecialFolder::Home] = home.path().string();
    platform.folders[SpecialFolder::Favorites] = (home.path() / "Favorites").string();
    platform.executablePath = home / "bin/tellavin-cli";
    fs::create_directories(home.path() / "bin");
    auto firefoxRuns = platform;
    firefoxRuns.processNames = {{"firefox"}};

    const auto before = fs::current_path();
    fs::current_path(home.path());
    for (const auto& example : examples) {
        SCOPED_TRACE(example.command);
        auto comment = example.command.find("  #");
        auto command = example.command.substr(0, comment);
        std::string shown;
        if (comment != std::string::npos) {
            auto quote = example.command.find('"', comment);
            if (quote != std::string::npos) {
                shown = example.command.substr(quote + 1,
                                               example.command.find('"', quote + 1) - quote - 1);
            }
        }
        // The README's user is ann, at home in /home/ann.
        for (auto at = shown.find("/home/ann"); at != std::string::npos;
             at = shown.find("/home/ann", at + 1)) {
            shown.replace(at, 9, home.path().string());
        }
        if (example.refusal.empty()) {
            auto run = test::RunCliWith(command, platform);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out.substr(0, shown.size()), shown);
            continue;
        }
        auto run = test::RunCliWith(command, firefoxRuns);
        EXPECT_EQ(run.status, 1);
        std::string expected;
        for (auto line : example.refusal) {
            if (auto at = line.find("/home/ann"); at != std::string::npos) {
                line.replace(at, 9, home.path().string());
            }
            if (line.find_first_not_of(' ') != line.find("...")) {
                expected += line + "\n";
            }
        }
        EXPECT_EQ(run.err.substr(0, expected.size()), expected);
    }
    fs::current_path(before);
}

} // namespace
} // namespace tellavin
