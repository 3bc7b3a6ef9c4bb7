#pragma once

#include <string>

namespace tellavin::test {

struct CliRun {
    int status = -1;
    std::string out; // standard output
    std::string err; // standard error
};

// Runs the built tellavin-cli with arguments (already quoted for the shell)
// and captures its exit status and both output streams. environment holds
// arguments of env(1) that set up the command's environment and folder.
CliRun RunCli(const std::string& arguments, const std::string& environment = "");

} // namespace tellavin::test
