// A dry run on the command line: every check and read, nothing written,
// and the counts of the real run that follows.
#include "support/listing.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::RunCliHere;

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string SampleFavorites() {
    return Quoted(std::string("favorites:") + TELLAVIN_SAMPLES + "/Favorites");
}

std::string SampleHotlist() {
    return Quoted(std::string("opera:") + TELLAVIN_SAMPLES + "/hotlist.adr");
}

// Every file and folder below dir with each file's bytes.
std::string Snapshot(const fs::path& dir) {
    std::string text;
    for (const auto& name : test::Listing(dir)) {
        text += name;
        if (!name.ends_with('/')) {
            text += "=" + test::ReadFile(dir / name);
        }
        text += "\n";
    }
    return text;
}

// The dry run's lines as the real run words them.
std::string AsRealRun(std::string out) {
    const std::pair<std::string, std::string> words[] = {
        {"Dry run, nothing written: ", ""},
        {" Links would be exported.", " Links Exported Successfully."},
        {" would be ", " were "},
    };
    for (const auto& [dry, real] : words) {
        for (auto at = out.find(dry); at != std::string::npos; at = out.find(dry, at)) {
            out.replace(at, dry.size(), real);
            at += real.size();
        }
    }
    return out;
}

struct DryRunRow {
    const char* what;
    std::string prepared; // the source the target is made from first; empty for none
    std::string source;
    const char* target;
    const char* options;
};

TEST(DryRun, WritesNothingAndCountsWhatTheRealRunThenDoes) {
    const DryRunRow rows[] = {
        {"merge into a bookmark file", SampleHotlist(), SampleFavorites(), "netscape:b.html",
         "--merge --backup"},
        {"a new bookmark file", "", SampleFavorites(), "netscape:new.html", "--backup"},
        {"replace a bookmark file", SampleFavorites(), SampleHotlist(), "netscape:b.html",
         "--backup"},
        {"merge into a hotlist", SampleHotlist(), SampleFavorites(), "opera:b.adr",
         "--merge --new-folder 'From IE'"},
        {"an empty Favorites folder", "", SampleHotlist(), "favorites:Fav", ""},
        {"a menu page", "", SampleHotlist(), "menu:page.html", ""},
        // Refused alike, with the same exit status.
        {"merge into a missing file", "", SampleFavorites(), "netscape:gone.html", "--merge"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        fs::create_directory(dir.path() / "Fav");
        std::string target = row.target;
        auto colon = target.find(':');
        auto kind = target.substr(0, colon);
        target = Quoted(kind + ":" + (dir / target.substr(colon + 1)));
        if (!row.prepared.empty()) {
            ASSERT_EQ(RunCliHere("convert " + row.prepared + " " + target).status, 0);
        }
        auto command = kind == "menu" ? "menu " + row.source + " " + (dir / "page.html")
                                      : "convert " + row.source + " " + target;
        command += std::string(" ") + row.options;
        auto before = Snapshot(dir.path());
        auto dry = RunCliHere(command + " --dry-run");
        auto afterDry = Snapshot(dir.path());
        auto real = RunCliHere(command);
        EXPECT_EQ(afterDry + AsRealRun(dry.out) + dry.err + std::to_string(dry.status),
                  before + real.out + real.err + std::to_string(real.status));
    }
}

} // namespace
} // namespace tellavin
