// Replacing a bookmark file that holds many more links than the export
// would leave is refused unless forced, and the refusal writes nothing.
#include "conversion/conversion.h"
#include "support/fake_platform.h"
#include "support/listing.h"
#include "support/message_text.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// A bookmark file holding count links, n1 to n<count>, in one folder.
std::string NetscapeWithLinks(std::int32_t count, const std::string& prefix) {
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>F</H3>\n<DL><p>\n";
    for (std::int32_t i = 1; i <= count; ++i) {
        auto name = prefix + std::to_string(i);
        text += "<DT><A HREF=\"http://" + name + ".example/\">" + name + "</A>\n";
    }
    return text + "</DL><p>\n</DL><p>\n";
}

std::string HotlistWithLinks(std::int32_t count) {
    std::string text = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n";
    for (std::int32_t i = 1; i <= count; ++i) {
        text += "#URL\r\n\tNAME=h" + std::to_string(i) + "\r\n\tURL=http://h" + std::to_string(i) +
                ".example/\r\n\r\n";
    }
    return text;
}

struct GuardRow {
    const char* what;
    StoreKind target;
    std::int32_t held;
    std::int32_t exported;
    bool merge;
    bool force;
    bool dryRun;
    std::string expected; // the outcome, then what the folder holds afterwards
};

TEST(ReplaceGuard, ReplacingMuchByLittleNeedsForce) {
    const std::string untouched = "target unchanged, no backup";
    const GuardRow rows[] = {
        {"51 by 25", StoreKind::Netscape, 51, 25, false, false, false,
         "refused: holds 51 links; the export would leave 25 | " + untouched},
        {"51 by 26: not more than twice", StoreKind::Netscape, 51, 26, false, false, false,
         "written | target replaced, backup"},
        {"50 by 1: not more than 50", StoreKind::Netscape, 50, 1, false, false, false,
         "written | target replaced, backup"},
        {"a merge", StoreKind::Netscape, 51, 25, true, false, false,
         "written | target replaced, backup"},
        {"forced: the backup first", StoreKind::Netscape, 51, 25, false, true, false,
         "written | target replaced, backup"},
        {"a dry run is refused alike", StoreKind::Netscape, 51, 25, false, false, true,
         "refused: holds 51 links; the export would leave 25 | " + untouched},
        {"a hotlist", StoreKind::Opera, 5214, 30, false, false, false,
         "refused: holds 5,214 links; the export would leave 30 | " + untouched},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "bin/tellavin"; // the settings file
        auto target = dir / (row.target == StoreKind::Opera ? "t.adr" : "t.html");
        auto old = row.target == StoreKind::Opera ? HotlistWithLinks(row.held)
                                                  : NetscapeWithLinks(row.held, "old");
        test::WriteFile(target, old);
        test::WriteFile(dir / "source.html", NetscapeWithLinks(row.exported, "new"));
        ConversionRequest request;
        request.source = {StoreKind::Netscape, dir / "source.html"};
        request.target = {row.target, target};
        request.options.merge = row.merge;
        request.options.force = row.force;
        request.options.dryRun = row.dryRun;
        request.options.backup = true;
        NullProgress progress;
        auto result = RunConversion(request, platform, progress);
        auto outcome = result.ok ? std::string("written") : "refused: " + result.outcome.subject;
        auto backup =
            fs::exists(dir.path() / ("Backup_of_" + fs::path(target).filename().string()));
        auto kept = test::ReadFile(target) == old;
        EXPECT_EQ(outcome + " | " + (kept ? "target unchanged" : "target replaced") +
                      (backup ? ", backup" : ", no backup"),
                  row.expected);
    }
}

// The command line names both counts and what to add, and exits as for
// any other refusal of the machine's state.
TEST(ReplaceGuard, TheCommandLineSaysHowToGoOn) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "x.html", NetscapeWithLinks(60, "old"));
    test::WriteFile(dir.path() / "s.html", NetscapeWithLinks(3, "new"));
    auto command =
        "convert 'netscape:" + (dir / "s.html") + "' 'netscape:" + (dir / "x.html") + "'";
    auto refused = test::RunCliHere(command);
    auto forced = test::RunCliHere(command + " --force -q");
    EXPECT_EQ(std::to_string(refused.status) + " " + refused.out + refused.err +
                  std::to_string(forced.status) + " " + forced.out + forced.err,
              "1 tellavin-cli: " + (dir / "x.html") +
                  ": holds 60 links; the export would leave 3. Add --merge to add to it, or "
                  "--force to replace it\n"
                  "0 1 Folders & 3 Links Exported Successfully.\n");
}

} // namespace
} // namespace tellavin
