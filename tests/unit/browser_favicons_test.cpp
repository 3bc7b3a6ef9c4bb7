// Links read from a browser's profile bring the icons of its icon database.
#include "conversion/conversion.h"
#include "sources/source_loader.h"
#include "support/fake_platform.h"
#include "support/icon_text.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return std::string(TELLAVIN_TEST_DATA) + "/browsers/" + name;
}

// The icons of each page as the fixtures' icon databases hold them (see
// make_favicon_fixtures.py): red at 16 pixels before blue at 32, red shared
// by two pages, green under Firefox's placeholder address, Firefox's root
// icon of a site for a page without one, images too large or no image
// at all kept only by their addresses.
constexpr const char* kFirefoxIcons =
    "Sized=png:ee767024@https://sized.example/16.png "
    "Shares red=png:ee767024@https://sized.example/16.png Imported=png:de888948 "
    "Site root=png:6c0cf094@https://rooted.example/favicon.ico "
    "Huge=@https://huge.example/favicon.png Not an image=@https://broken.example/i.png "
    "No icon ; 3 images";

std::string LoadedIcons(const StoreLocation& store) {
    BookmarkTree tree;
    tree.SetKeepIcons(true);
    auto read = LoadSourceTree(store, tree);
    auto losses = tree.ReadLosses.Lines();
    return (read ? test::IconText(tree) : "unreadable: " + read.reason) + " | " +
           (losses.empty() ? "" : losses.front());
}

TEST(BrowserFavicons, ProfilesBringTheIconsOfTheirIconDatabases) {
    // Read from a copy: reading the database leaves its log beside it.
    test::TempDir dir;
    fs::copy_file(Fixture("firefox-86-folders-tags-keywords.sqlite"), dir / "places.sqlite");
    const std::pair<StoreLocation, std::string> rows[] = {
        {{StoreKind::Firefox, Fixture("favicons/firefox/places.sqlite")},
         std::string(kFirefoxIcons) + " | Icons dropped: 2 (Huge, Not an image)"},
        // Chromium has no root icons of sites.
        {{StoreKind::Chromium, Fixture("favicons/chromium/Bookmarks")},
         "Sized=png:ee767024@https://sized.example/16.png "
         "Shares red=png:ee767024@https://sized.example/16.png Imported=png:de888948 "
         "Site root Huge=@https://huge.example/favicon.png "
         "Not an image=@https://broken.example/i.png No icon ; 2 images"
         " | Icons dropped: 2 (Huge, Not an image)"},
        // A profile without an icon database.
        {{StoreKind::Netscape, dir / "places.sqlite"},
         "Menu link Keyworded Deep link Toolbar link Unfiled link ; 0 images | "},
    };
    for (const auto& [store, expected] : rows) {
        EXPECT_EQ(LoadedIcons(store), expected) << store.path;
    }
}

// A Firefox profile's icons written into a bookmark file are read back from
// it as they were, but for the images too large or no image, which are
// dropped on the way in.
TEST(BrowserFavicons, FirefoxIconsSurviveABookmarkFile) {
    test::TempDir dir;
    test::FakePlatform platform;
    fs::create_directories(dir.path() / "bin");
    platform.executablePath = dir / "bin/tellavin";
    ConversionRequest request;
    request.source = {StoreKind::Firefox, Fixture("favicons/firefox/places.sqlite")};
    request.target = {StoreKind::Netscape, dir / "bookmarks.html"};
    request.options.keepOrder = true;
    NullProgress progress;
    ASSERT_TRUE(RunConversion(request, platform, progress).Complete());
    EXPECT_EQ(LoadedIcons(request.target), std::string(kFirefoxIcons) + " | ");
}

} // namespace
} // namespace tellavin
