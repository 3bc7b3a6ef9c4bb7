#pragma once

#include "platform/platform.h"

#include <string>

namespace tellavin::test {

struct CliRun {
    int status = -1;
    std::string out; // standard output
    std::string err; // standard error
};

// The built tellavin-cli as this test program runs it: linked or copied
// into a temporary folder of its own at the first call, removed at the end.
// The command line keeps its settings file beside itself, so what its runs
// save stays out of the build.
const std::string& CliProgram();

// Runs CliProgram() with arguments (already quoted for the shell) and
// captures its exit status and both output streams. environment holds
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
