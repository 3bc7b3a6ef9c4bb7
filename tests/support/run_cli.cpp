#include "support/run_cli.h"

#include "cli/command_line.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <vector>

namespace tellavin::test {

namespace {

// The words of a command line as a shell splits them: blanks separate
// words, quotes group and are removed.
std::vector<std::string> ShellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (char c : line) {
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ') {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

} // namespace

CliRun RunCliWith(const std::string& arguments, const Platform& platform) {
    auto words = ShellWords(arguments);
    words.insert(words.begin(), "tellavin-cli");
    std::vector<const char*> argv;
    for (const auto& word : words) {
        argv.push_back(word.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status =
        cli::RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, platform, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

CliRun RunCliHere(const std::string& arguments) {
    static const TempDir settings;
    FakePlatform platform;
    platform.executablePath = (settings.path() / "tellavin-cli").string();
    return RunCliWith(arguments, platform);
}

} // namespace tellavin::test
