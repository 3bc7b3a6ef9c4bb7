// The manual page and the bash completion of the command line, both
// checked against what the built program's help says.
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tellavin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The first words of the lines under a heading of a help text, such as the
// option names ("-q", "--quiet" apart) under "Options:".
std::vector<std::string> Listed(const std::string& help, const std::string& heading) {
    std::vector<std::string> names;
    std::istringstream lines(help);
    bool listing = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != ' ') {
            listing = line == heading;
            continue;
        }
        if (!listing || line.rfind("  ", 0) != 0 || line.size() < 3 || line[2] == ' ') {
            continue;
        }
        auto first = line.substr(2, line.find(' ', 2) - 2);
        std::istringstream pieces(first);
        for (std::string name; std::getline(pieces, name, ',');) {
            names.push_back(name);
        }
    }
    return names;
}

// The page's text without roff's escapes for hyphens and fonts.
std::string PlainRoff(const std::string& roff) {
    std::string plain;
    for (std::size_t i = 0; i < roff.size(); ++i) {
        if (roff[i] == '\\' && i + 1 < roff.size()) {
            char next = roff[i + 1];
            if (next == '-') {
                plain += '-';
                ++i;
                continue;
            }
            if (next == 'f' && i + 2 < roff.size()) {
                i += 2;
                continue;
            }
            if (next == '&') {
                ++i;
                continue;
            }
        }
        plain += roff[i];
    }
    return plain;
}

// The lines of the page from the heading (".SS convert") to the next one.
std::string Section(const std::string& page, const std::string& heading) {
    auto start = page.find("\n" + heading + "\n");
    if (start == std::string::npos) {
        return "";
    }
    start += heading.size() + 2;
    auto end = page.find("\n.S", start);
    return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The word appears as a whole: "--new-folder" is not found in
// "--no-new-folder".
bool NamesWord(const std::string& text, const std::string& word) {
    auto isNamePart = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    };
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        auto after = at + word.size();
        if ((at == 0 || !isNamePart(text[at - 1])) &&
            (after == text.size() || !isNamePart(text[after]))) {
            return true;
        }
    }
    return false;
}

// Every command of the help has a section of the page, and every option a
// command's help lists is named in that section; the program's own options
// are named under OPTIONS.
TEST(ManualPages, NameEveryCommandAndOptionThatTheHelpLists) {
    auto page = PlainRoff(ReadFile(TELLAVIN_MANUAL_PAGES "/tellavin-cli.1.in"));
    auto help = test::RunCli("--help");
    ASSERT_EQ(help.status, 0) << help.err;
    auto commands = Listed(help.out, "Subcommands:");
    ASSERT_FALSE(commands.empty()) << help.out;
    auto ownOptions = Listed(help.out, "Options:");

    std::string missing;
    for (const auto& option : ownOptions) {
        if (!NamesWord(Section(page, ".SH OPTIONS"), option)) {
            missing += "OPTIONS: " + option + "\n";
        }
    }
    for (const auto& command : commands) {
        auto section = Section(page, ".SS " + command);
        if (section.empty()) {
            missing += command + ": no section\n";
            continue;
        }
        auto commandHelp = test::RunCli(command + " --help");
        for (const auto& option : Listed(commandHelp.out, "Options:")) {
            std::set<std::string> everywhere(ownOptions.begin(), ownOptions.end());
            if (!everywhere.count(option) && !NamesWord(section, option)) {
                missing += command + ": " + option + "\n";
            }
        }
    }
    EXPECT_EQ(missing, "");
}

TEST(ManualPages, CheckingFindsWhatAPageLeavesOut) {
    auto page = PlainRoff(".SH OPTIONS\n.B \\-\\-version\n.SS convert\n.B \\-\\-no\\-new\\-folder\n"
                          ".SS menu\n\\fB\\-q\\fR\n");
    EXPECT_EQ(Section(page, ".SS convert"), ".B --no-new-folder");
    std::string found;
    for (const char* word : {"--version", "--no-new-folder", "--new-folder", "-q", "--quiet"}) {
        found += std::string(word) + "=" + (NamesWord(page, word) ? "1 " : "0 ");
    }
    EXPECT_EQ(found, "--version=1 --no-new-folder=1 --new-folder=0 -q=1 --quiet=0 ");
}

// The completion's replies for a command line that ends where Tab is
// pressed, one a line.
std::string Completed(const std::string& line, const std::string& folder) {
    std::string command = "cd '" + folder +
                          "' && bash '" TELLAVIN_TEST_SUPPORT
                          "/complete_line.sh' '" TELLAVIN_BASH_COMPLETION "' '" +
                          test::CliProgram() + " " + line + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "popen failed";
    }
    std::string out;
    std::array<char, 4096> buffer{};
    while (auto read = fread(buffer.data(), 1, buffer.size(), pipe)) {
        out.append(buffer.data(), read);
    }
    pclose(pipe);
    return out;
}

TEST(BashCompletion, CommandsOptionsKindsAndFilesAfterAKind) {
    TempDir dir;
    WriteFile(dir.path() / "bookmarks.html", "");
    WriteFile(dir.path() / "bookmarks two.html", "");
    WriteFile(dir.path() / "Favorites/Links/a.url", "");
    WriteFile(dir.path() / "hotlist.adr", "");
    WriteFile(dir.path() / "fav backup/old.html", "");
    struct Case {
        std::string line;
        std::string replies;
    };
    const std::vector<Case> cases = {
        {"co", "convert\ncount\n"},
        {"--ver", "--version\n"},
        {"convert --me", "--merge\n"},
        {"convert --place ", "bar\nmenu\nother\ntoolbar\n"},
        {"convert --place o", "other\n"},
        {"convert --profile ", ""},
        {"menu x.html --vert", "--vertical\n"},
        {"tree x.html --ma", "--match\n"},
        {"convert --folder ", ""},
        {"count fa", "fav\\ backup/\nfavorites:\n"},
        {"count fi", "firefox:\n"},
        {"convert n", "netscape:\n"},
        {"convert netscape:book", "bookmarks two.html\nbookmarks.html\n"},
        {"convert opera:" + dir / "hot", dir / "hotlist.adr\n"},
        {"tree favorites:Fav", "Favorites\n"},
        {"convert favorites:Favorites/", "Favorites/Links\n"},
        {"convert hot", "hotlist.adr\n"},
        {"discover ", ""},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(Completed(entry.line, dir.path().string()), entry.replies) << entry.line;
    }
}

} // namespace
} // namespace tellavin
