#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace tellavin::test {

const std::string& CliProgram() {
    static const TempDir bin;
    static const std::string program = [] {
        const auto copy = bin.path() / "tellavin-cli";
        // A link costs nothing where the temporary folder lies on the
        // build's file system, and the program still finds itself there.
        std::error_code linked;
        std::filesystem::create_hard_link(TELLAVIN_CLI, copy, linked);
        if (linked) {
            std::filesystem::copy_file(TELLAVIN_CLI, copy);
        }
        return copy.string();
    }();
    return program;
}

CliRun RunCli(const std::string& arguments, const std::string& environment) {
    TempDir dir;
    auto errFile = dir / "stderr";
    std::string command =
        "env " + environment + " '" + CliProgram() + "' " + arguments + " 2>'" + errFile + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer{};
    while (auto read = fread(buffer.data(), 1, buffer.size(), pipe)) {
        run.out.append(buffer.data(), read);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errFile);
    return run;
}

} // namespace tellavin::test
