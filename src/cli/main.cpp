// tellavin-cli: counts, shows and converts bookmark stores from the command
// line, for scripting and for machines without a display.
#include "cli/command_line.h"
#include "platform/platform.h"

#include <iostream>

int main(int argc, char** argv) {
    tellavin::ReportFileSizeLimitAsError();
    return tellavin::cli::RunCommandLine(argc, argv, std::cout, std::cerr,
                                         tellavin::SystemPlatform(),
                                         tellavin::StandardErrorIsTerminal());
}
