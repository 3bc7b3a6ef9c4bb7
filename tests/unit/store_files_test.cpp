// XBEL files and Safari's Bookmarks.plist as stores: known by their
// content, named on the command line, found where Safari keeps its store,
// and converted from and into other stores by the command line.
#include "sources/browser_discovery.h"
#include "sources/safari_reader.h"
#include "sources/store_detection.h"
#include "support/fake_platform.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& path) {
    return std::string(TELLAVIN_TEST_DATA) + "/" + path;
}

std::string KindText(const std::optional<StoreLocation>& location) {
    return location ? std::string(StoreKindName(location->kind)) + ":" +
                          fs::path(location->path).filename().string()
                    : "(none)";
}

TEST(StoreFiles, AFileIsKnownByItsContentAndANewOneByItsExtension) {
    test::TempDir dir;
    const std::pair<std::string, std::string> files[] = {
        {"bplist00\x01\x02", "safari:a"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE plist PUBLIC \"x\" \"y\">\n<plist/>",
         "safari:a"},
        {"<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict/></plist>", "safari:a"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xbel>\n<xbel/>", "xbel:a"},
        {"  <xbel version=\"1.0\"></xbel>", "xbel:a"},
        {"<!DOCTYPE xbel><xbel/>", "xbel:a"},
        // A page that only mentions the words is no property list or XBEL.
        {"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p><DT><A HREF=\"x\">&lt;xbel</A>",
         "netscape:a"},
        {"<html><body>about <plist> and <xbel></body></html>", "netscape:a"},
        {"<?xml version=\"1.0\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"/>", "netscape:a"},
        {"Opera Hotlist version 2.0\n", "opera:a"},
    };
    for (const auto& [bytes, expected] : files) {
        test::WriteFile(dir.path() / "a", bytes);
        EXPECT_EQ(KindText(RecognizeStoreLocation(dir / "a")), expected) << bytes;
    }
    const std::pair<std::string, std::string> named[] = {
        {dir / "new.xbel", "xbel:new.xbel"}, {dir / "new.XBEL", "xbel:new.XBEL"},
        {"xbel:" + (dir / "x"), "xbel:x"},   {"safari:" + (dir / "Safari"), "safari:Safari"},
        {dir / "new.plist", "(none)"},
    };
    for (const auto& [text, expected] : named) {
        EXPECT_EQ(KindText(RecognizeStoreLocation(text)), expected) << text;
    }
}

TEST(StoreFiles, SafarisStoreIsFoundInTheHomeFolderOnMacOSOnly) {
    test::TempDir dir;
    test::FakePlatform platform;
    platform.folders[SpecialFolder::Home] = dir.path().string();
    auto found = [&](bool macOS) {
        std::string text;
        for (const auto& store : LocateSafariBookmarks(platform, macOS)) {
            text += "<" + store.label + "> " + std::string(StoreKindName(store.location.kind)) +
                    ":" + fs::relative(store.location.path, dir.path()).string() + "\n";
        }
        return text;
    };
    const std::string withFile = "<Safari> safari:Library/Safari/Bookmarks.plist\n";
    EXPECT_EQ(found(true) + "|" + found(false), "|");
    fs::create_directories(dir.path() / "Library/Safari");
    fs::copy_file(Fixture("safari/nested-binary.plist"),
                  dir.path() / "Library/Safari" / kSafariBookmarksFile);
    EXPECT_EQ(found(true) + "|" + found(false), withFile + "|");
}

// The command line converts Safari's store into a bookmark file and an
// XBEL file into a Favorites folder, reporting what the target cannot
// hold; the target reads back with the source's counts.
TEST(StoreFiles, TheCommandLineConvertsFromSafariAndXbel) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "Favorites");
    fs::create_directories(dir.path() / "Safari");
    fs::copy_file(Fixture("safari/nested-binary.plist"),
                  dir.path() / "Safari" / kSafariBookmarksFile);
    struct Row {
        std::string source;
        std::string target;
        std::string printed;
    };
    const Row rows[] = {
        {"safari:" + Fixture("safari/nested-binary.plist"), dir / "out.html",
         "6 Folders & 7 Links Exported Successfully.\n"
         "Not carried over:\n"
         "  Links without a usable address skipped: 1 (No address)\n"
         "  Entries of an unknown kind or place skipped: 1 (Odd)\n"},
        {"safari:" + (dir / "Safari"), dir / "out.xbel",
         "6 Folders & 7 Links Exported Successfully.\n"
         "Not carried over:\n"
         "  Toolbar folders written as ordinary folders: 1 (Favorites)\n"
         "  Links without a usable address skipped: 1 (No address)\n"
         "  Entries of an unknown kind or place skipped: 1 (Odd)\n"},
        // A Netscape-kind source is read by what it holds, as the windows'
        // lists of bookmark files offer every kind of file.
        {"netscape:" + Fixture("safari/nested-xml.plist"), dir / "out.adr",
         "6 Folders & 7 Links Exported Successfully.\n"
         "Not carried over:\n"
         "  Links without a usable address skipped: 1 (No address)\n"
         "  Entries of an unknown kind or place skipped: 1 (Odd)\n"},
        {Fixture("xbel/floccus-comment-ids.xbel"), "favorites:" + (dir / "Favorites"),
         "2 Folders & 3 Links Exported Successfully.\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        auto run = test::RunCliHere("convert '" + row.source + "' '" + row.target + "'");
        EXPECT_EQ(std::to_string(run.status) + " " + run.out + run.err, "0 " + row.printed);
        EXPECT_EQ(test::RunCliHere("count '" + row.target + "'").out,
                  test::RunCliHere("count '" + row.source + "'").out);
    }
}

} // namespace
} // namespace tellavin
