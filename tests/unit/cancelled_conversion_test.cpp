// A conversion cancelled at each of its steps, into every kind of target:
// the folder of the target stays byte for byte, with no backup beside it
// and nothing added to the exported-items total.
#include "conversion/conversion.h"
#include "support/fake_platform.h"
#include "support/listing.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string kSourceText =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
    "<DT><A HREF=\"http://top/\">Top</A>\n"
    "<DT><H3>News</H3>\n<DL><p>\n"
    "<DT><A HREF=\"http://daily/\">Daily</A>\n"
    "<DT><H3>Deep</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\">X</A>\n</DL><p>\n"
    "</DL><p>\n"
    "<DT><H3>Work</H3>\n<DL><p>\n<DT><A HREF=\"http://w/\">W</A>\n</DL><p>\n"
    "</DL><p>\n";

// Cancels once a status text beginning with at was shown; an empty at
// cancels from the start.
class CancelAt final : public ProgressSink {
public:
    explicit CancelAt(std::string at) : at_(std::move(at)), cancelled_(at_.empty()) {}
    void SetStatusText(const std::string& text) override {
        cancelled_ = cancelled_ || text.starts_with(at_);
    }
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetValue(std::int32_t) override {}
    void SetVisible(bool) override {}
    bool Cancelled() const override { return cancelled_; }

private:
    std::string at_;
    bool cancelled_;
};

// Cancels from the start: once the source is loaded.
const std::string kFromTheStart;
// Cancels while the writer walks the second of the source's folders.
const std::string kHalfWay = "Exporting From Folder: News";

struct Row {
    const char* what;
    StoreKind target;
    bool merge;
    bool backup;
    std::string cancelAt;
    // The result's title ("Written" for a success), then whether the
    // folder is as it was.
    std::string expected;
};

// Every file below dir with its bytes: the target, any backup, the
// settings file with the exported-items total.
std::string Snapshot(const fs::path& dir) {
    std::string text;
    for (const auto& name : test::Listing(dir)) {
        text += name + (name.ends_with('/') ? "" : "=" + ReadFile(dir / name)) + "\n";
    }
    return text;
}

class CancelledConversions : public ::testing::Test {
protected:
    CancelledConversions() {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin"; // the settings file goes there
        WriteFile(dir / "source.html", kSourceText);
    }

    // A target of the kind that holds something already.
    StoreLocation Target(StoreKind kind) {
        const auto out = dir.path() / "out";
        fs::remove_all(out);
        fs::create_directories(out);
        const auto browsers = fs::path(TELLAVIN_TEST_DATA) / "browsers";
        switch (kind) {
        case StoreKind::Opera:
            WriteFile(out / "target.adr", "Opera Hotlist version 2.0\nOptions: encoding = utf8, "
                                          "version=3\n\n#URL\n\tNAME=Old\n\tURL=http://old/\n\n");
            return {kind, dir / "out/target.adr"};
        case StoreKind::Xbel:
            WriteFile(out / "target.xbel", "<xbel><bookmark href=\"http://old/\"><title>Old</title>"
                                           "</bookmark></xbel>\n");
            return {kind, dir / "out/target.xbel"};
        case StoreKind::Favorites:
            WriteFile(out / "Old.url", "[InternetShortcut]\r\nURL=http://old/\r\n");
            return {kind, dir / "out"};
        case StoreKind::Chromium:
            fs::copy_file(browsers / "chromium-nested-roots.json", out / "Bookmarks");
            return {kind, dir / "out"};
        case StoreKind::Firefox:
            fs::copy_file(browsers / "firefox-86-empty.sqlite", out / "places.sqlite");
            return {kind, dir / "out"};
        default:
            WriteFile(out / "target.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                                           "<DT><A HREF=\"http://old/\">Old</A>\n</DL><p>\n");
            return {kind, dir / "out/target.html"};
        }
    }

    void Check(const Row& row) {
        SCOPED_TRACE(row.what);
        ConversionRequest request;
        request.source = {StoreKind::Netscape, dir / "source.html"};
        request.target = Target(row.target);
        request.options.merge = row.merge;
        request.options.backup = row.backup;
        const auto before = Snapshot(dir.path());
        CancelAt progress(row.cancelAt);
        const auto result = RunConversion(request, platform, progress);
        const auto title = result.ok ? std::string("Written") : result.message.title;
        std::string said;
        for (const auto& line : result.message.lines) {
            said += line + "\n";
        }
        EXPECT_EQ(title + (Snapshot(dir.path()) == before ? ", as it was" : ", changed"),
                  row.expected)
            << said;
    }

    test::TempDir dir;
    test::FakePlatform platform;
};

TEST_F(CancelledConversions, EveryTargetStaysAsItWasWithNoNewBackup) {
    const std::string cancelled = "Exporting Cancelled, as it was";
    const Row rows[] = {
        {"new file, at once", StoreKind::Netscape, false, true, kFromTheStart, cancelled},
        {"new file, half way", StoreKind::Netscape, false, true, kHalfWay, cancelled},
        {"merged file, half way", StoreKind::Netscape, true, true, kHalfWay, cancelled},
        {"new hotlist, at once", StoreKind::Opera, false, true, kFromTheStart, cancelled},
        {"new hotlist, half way", StoreKind::Opera, false, true, kHalfWay, cancelled},
        {"merged hotlist, half way", StoreKind::Opera, true, true, kHalfWay, cancelled},
        {"new XBEL file, at once", StoreKind::Xbel, false, true, kFromTheStart, cancelled},
        {"new XBEL file, half way", StoreKind::Xbel, false, true, kHalfWay, cancelled},
        {"menu page, at once", StoreKind::Menu, false, false, kFromTheStart, cancelled},
        {"menu page, half way", StoreKind::Menu, false, false, kHalfWay, cancelled},
        {"Chromium, at once", StoreKind::Chromium, false, false, kFromTheStart, cancelled},
        {"Chromium, half way", StoreKind::Chromium, false, false, kHalfWay, cancelled},
        {"Favorites, at once", StoreKind::Favorites, false, false, kFromTheStart, cancelled},
        // Each link is a file of its own, written as the walk reaches it:
        // once begun, the export runs to its end rather than stop half done.
        {"Favorites, half way", StoreKind::Favorites, false, false, kHalfWay, "Written, changed"},
        // A cancel that comes after the last step changes nothing.
        {"new file, never", StoreKind::Netscape, false, false, "(never shown)", "Written, changed"},
    };
    for (const auto& row : rows) {
        Check(row);
    }
}

// Firefox's database: the rows added are rolled back and the backup taken
// with them is removed.
TEST_F(CancelledConversions, AFirefoxProfileStaysAsItWasWithNoBackup) {
    const std::string cancelled = "Exporting Cancelled, as it was";
    const Row rows[] = {
        {"Firefox, at once", StoreKind::Firefox, false, false, kFromTheStart, cancelled},
        {"Firefox, half way", StoreKind::Firefox, false, false, kHalfWay, cancelled},
    };
    for (const auto& row : rows) {
        Check(row);
    }
}

} // namespace
} // namespace tellavin
