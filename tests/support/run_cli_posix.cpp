#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace tellavin::test {

CliRun RunCli(const std::string& arguments, const std::string& environment) {
    TempDir dir;
    auto errFile = dir / "stderr";
    std::string command =
        "env " + environment + " " + TELLAVIN_CLI + " " + arguments + " 2>'" + errFile + "'";
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
