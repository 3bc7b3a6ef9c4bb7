#pragma once

#include "platform/platform.h"

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

// Runs the command line's arguments (quoted as for the shell, with single
// or double quotes) in this process, against the given platform, without
// a terminal.
CliRun RunCliWith(const std::string& arguments, const Platform& platform);

// The same on a platform where the user is "ann", no browser runs and the
// settings file lies in a temporary folder of its own.
CliRun RunCliHere(const std::string& arguments);

} // namespace tellavin::test
