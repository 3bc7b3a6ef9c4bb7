// tellavin-cli: counts, shows and converts bookmark stores from the command
// line, for scripting and for machines without a display.
#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"Tellavin: moves web bookmarks between a Favorites folder, a Netscape-format "
                 "bookmark file and an Opera hotlist"};
    app.require_subcommand(1);

    std::string source;
    auto* count = app.add_subcommand("count", "Print the number of folders and links of a store");
    count->add_option("SOURCE", source, "favorites:DIR")->required();
    auto* tree = app.add_subcommand("tree", "Print the folder tree of a store with its links");
    tree->add_option("SOURCE", source, "favorites:DIR")->required();
    auto* discover = app.add_subcommand(
        "discover",
        "List the Favorites folder, Firefox bookmark files and Opera hotlist found here");

    CLI11_PARSE(app, argc, argv);

    if (discover->parsed()) {
        return tellavin::cli::RunDiscover(tellavin::SystemPlatform(), std::cout);
    }
    if (count->parsed()) {
        return tellavin::cli::RunCount(source, std::cout, std::cerr);
    }
    return tellavin::cli::RunTree(source, std::cout, std::cerr);
}
