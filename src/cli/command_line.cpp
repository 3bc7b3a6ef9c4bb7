#include "cli/command_line.h"

#include "cli/commands.h"
#include "cli/convert_command.h"
#include "cli/menu_command.h"
#include "cli/terminal_progress.h"
#include "model/product_info.h"
#include "model/store_kind.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace tellavin::cli {

namespace {

constexpr int kUsageError = 2;

// The number of single-character edits that turn a into b.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        auto diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            auto above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The message for a first argument that is no command ("conver"), with the
// command it most likely meant; nothing when it is a command or an option.
std::optional<std::string> UnknownCommand(const CLI::App& app, int argc, const char* const* argv) {
    if (argc < 2 || argv[1][0] == '-') {
        return std::nullopt;
    }
    std::string_view given = argv[1];
    std::string closest;
    std::size_t best = 3; // more edits than this suggest nothing
    for (const auto* command : app.get_subcommands({})) {
        if (command->get_name() == given) {
            return std::nullopt;
        }
        if (auto distance = EditDistance(given, command->get_name()); distance < best) {
            best = distance;
            closest = command->get_name();
        }
    }
    auto message = "unknown command '" + std::string(given) + "'";
    return closest.empty() ? message : message + "; did you mean '" + closest + "'?";
}

// Which store converts into which, as the kinds' traits say: a row per
// source, a column per target, "yes" where the conversion exists.
std::string ConversionMatrix() {
    constexpr std::size_t kWidth = 11;
    auto cell = [](std::string_view text, std::size_t width) {
        std::string padded(text);
        padded.resize(std::max(padded.size() + 1, width), ' ');
        return padded;
    };
    // The sources' names in a column as wide as the longest.
    std::size_t sourceWidth = kWidth;
    for (const auto& source : kStoreKinds) {
        sourceWidth = std::max(sourceWidth, source.name.size() + 1);
    }
    std::string matrix = "Conversions (rows: SOURCE, columns: TARGET; the menu command writes a "
                         "menu page from any source):\n" +
                         cell("", sourceWidth);
    for (const auto& target : kStoreKinds) {
        if (target.kind != StoreKind::Menu && target.writable) {
            matrix += cell(target.name, kWidth);
        }
    }
    for (const auto& source : kStoreKinds) {
        if (!source.readable) {
            continue;
        }
        matrix.erase(matrix.find_last_not_of(' ') + 1);
        matrix += "\n" + cell(source.name, sourceWidth);
        for (const auto& target : kStoreKinds) {
            if (target.kind != StoreKind::Menu && target.writable) {
                matrix += cell(CanConvert(source.kind, target.kind) ? "yes" : "-", kWidth);
            }
        }
    }
    matrix.erase(matrix.find_last_not_of(' ') + 1);
    return matrix;
}

// --folder and --match, for a command that exports (verb "Export") or shows
// ("Show") what they choose.
void AddChoiceOptions(CLI::App& command, SelectionChoice& choice, const std::string& verb) {
    command
        .add_option("--folder", choice.folders,
                    verb + " only this folder with everything under it, named by its path from "
                           "the store's top with / between the names, as in \"News/Tech\"; "
                           "may be given more than once")
        ->allow_extra_args(false)
        ->option_text("PATH");
    command
        .add_option("--match", choice.match,
                    verb + " only the folders whose names and the links whose names or "
                           "addresses hold TEXT, ignoring case and accents (with --folder, "
                           "only inside those folders)")
        ->option_text("TEXT");
}

} // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const Platform& platform, bool errIsTerminal) {
    CLI::App app{"Tellavin: moves web bookmarks between a Favorites folder, a Netscape-format "
                 "bookmark file, an Opera hotlist and the browsers' own stores"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("tellavin-cli ") + kProductVersion);

    constexpr const char* kStoreHelp =
        "favorites:DIR, netscape:FILE, opera:FILE, firefox:PROFILE (a Firefox profile folder or "
        "its places.sqlite), chromium:PROFILE (a Chromium, Chrome, Edge, Brave or Vivaldi "
        "profile folder or its Bookmarks file), firefox-backup:FILE (a Firefox bookmark backup, "
        ".jsonlz4 or .json), xbel:FILE, safari:FILE (Safari's Bookmarks.plist or the folder "
        "holding it) or a path (a leading ~ is your home folder)";
    std::string source;
    auto* count = app.add_subcommand("count", "Print the number of folders and links of a store");
    count->add_option("SOURCE", source, kStoreHelp)->required();
    SelectionChoice choice;
    auto* tree = app.add_subcommand("tree", "Print the folder tree of a store with its links");
    tree->add_option("SOURCE", source, kStoreHelp)->required();
    AddChoiceOptions(*tree, choice, "Show");
    auto* discover = app.add_subcommand(
        "discover",
        "List the Favorites folder, Firefox bookmark files and databases, Chromium-family "
        "Bookmarks files and Opera hotlist found here");

    ConvertArguments request;
    bool quiet = false;
    auto* convert = app.add_subcommand("convert", "Export every folder and link of a store into "
                                                  "another store");
    convert->add_option("SOURCE", request.source, kStoreHelp)->required();
    convert
        ->add_option("TARGET", request.target,
                     "favorites:DIR, netscape:FILE, opera:FILE, xbel:FILE, chromium:PROFILE (the "
                     "export is added to the profile's bookmarks; the browser must be closed), or "
                     "a path: a folder, an existing file, a new .adr, .html, .htm or .xbel file")
        ->required();
    convert->footer(ConversionMatrix());
    convert->add_flag("--merge", request.merge,
                      "Add to the existing target instead of replacing it");
    convert->add_flag("--keep-duplicates", request.keepDuplicates,
                      "Merging: add every folder and link as it comes, instead of joining "
                      "folders of the same name and place and skipping links already there");
    auto* newFolder = convert->add_option("--new-folder", request.newFolder,
                                          "Put the export inside a new folder");
    convert
        ->add_option("--existing-folder", request.existingFolder,
                     "Favorites target: put the export into this existing sub-folder")
        ->excludes(newFolder);
    convert->add_flag("--links-first", request.linksFirst,
                      "Write each folder's links before its sub-folders");
    convert->add_flag("--keep-order", request.keepOrder,
                      "Write folders, links and separators in the source's order instead of "
                      "sorted (a Favorites folder shows its own order)");
    const std::map<std::string, BrowserRoot> roots{{"bar", BrowserRoot::Bar},
                                                   {"toolbar", BrowserRoot::Bar},
                                                   {"menu", BrowserRoot::Menu},
                                                   {"other", BrowserRoot::Other}};
    convert
        ->add_option("--place", request.place,
                     "Browser target: the root the export is added to: bar (or toolbar), other "
                     "(the default) or, for Firefox, menu")
        ->transform(CLI::CheckedTransformer(roots))
        ->option_text("bar|toolbar|other|menu");
    convert
        ->add_flag("--no-new-folder", request.noNewFolder,
                   "Browser target: add the export straight into the root, not into a new "
                   "\"Imported from ... (date)\" folder")
        ->excludes(newFolder);
    convert->add_option("--profile", request.profile,
                        "The name in the bookmark file's title (default: the user's name)");
    convert->add_flag("--backup", request.backup,
                      "Copy the target to Backup_of_<name> beside it first; when the copy "
                      "fails, nothing is exported");
    constexpr const char* kQuietHelp = "No progress line (it is shown only when standard error "
                                       "is a terminal) and no report of what was not carried over";
    constexpr const char* kDryRunHelp = "Do every check and read everything, write nothing (no "
                                        "backup, no total), and print what the export would do";
    convert->add_flag("--dry-run", request.dryRun, kDryRunHelp);
    convert->add_flag("--force", request.force,
                      "Replace a bookmark file even when it holds more than twice as many links "
                      "as the export, and more than 50");
    convert->add_flag("--quiet,-q", quiet, kQuietHelp);
    AddChoiceOptions(*convert, choice, "Export");

    std::string page;
    MenuArguments menuArguments;
    auto* menu =
        app.add_subcommand("menu", "Publish a store as an HTML page with a cascading menu");
    menu->add_option("SOURCE", source, kStoreHelp)->required();
    menu->add_option("PAGE", page, "The page to write, e.g. menu.html")->required();
    menu->add_flag("--vertical", menuArguments.vertical, "A root column at the left, not a bar");
    menu->add_flag("--new-window", menuArguments.newWindow, "Open links in a new window");
    menu->add_flag("--no-url-status", menuArguments.noUrlStatus,
                   "Do not show a link's address in the status bar");
    menu->add_flag("--no-shadows", menuArguments.noShadows, "No shadows behind the submenus");
    menu->add_flag("--statistics", menuArguments.statistics,
                   "Add the date and the numbers of folders and links");
    menu->add_flag("--keep-order", menuArguments.keepOrder,
                   "List folders, links and separators (as dividers) in the source's order "
                   "instead of folders then links by name (a Favorites folder shows its own "
                   "order)");
    menu->add_option("--break", menuArguments.breakAfter, "Break submenus after N entries")
        ->check(CLI::Range(2, 99));
    menu->add_option("--title", menuArguments.title, "The page title")->capture_default_str();
    auto* colors = menu->add_option(
        "--colors", menuArguments.colors,
        "Eight colours: item text, text under the pointer, background, background under the "
        "pointer, border, border under the pointer, page, bar; each a colour number or "
        "#RRGGBB, separated by commas");
    menu->add_option("--preset", menuArguments.preset,
                     "The colours of a menu colour preset, such as Ice or TwinHelix")
        ->excludes(colors);
    menu->add_flag("--dry-run", menuArguments.dryRun, kDryRunHelp);
    menu->add_flag("--quiet,-q", quiet, kQuietHelp);
    AddChoiceOptions(*menu, choice, "Publish");

    // CLI11's own complaints (an unknown option, a missing argument, a bad
    // value) read as the program's other messages do: one line, prefixed.
    app.failure_message([](const CLI::App*, const CLI::Error& error) {
        return "tellavin-cli: " + std::string(error.what()) + "\n";
    });
    if (auto unknown = UnknownCommand(app, argc, argv)) {
        err << "tellavin-cli: " << *unknown << "\n";
        return kUsageError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end the parse too, successfully.
        return app.exit(error, out, err) == 0 ? 0 : kUsageError;
    }

    if (discover->parsed()) {
        return RunDiscover(platform, out);
    }
    if (count->parsed()) {
        return RunCount(source, platform, out, err);
    }
    TerminalProgress progress(err, !quiet && errIsTerminal);
    if (convert->parsed()) {
        request.quiet = quiet;
        request.choice = choice;
        return RunConvert(request, out, err, platform, progress);
    }
    if (menu->parsed()) {
        menuArguments.quiet = quiet;
        menuArguments.choice = choice;
        return RunMenu(source, page, menuArguments, out, err, platform, progress);
    }
    return RunTree(source, choice, platform, out, err);
}

} // namespace tellavin::cli
