#include "model/file_tree_builder.h"
#include "model/icon_image.h"
#include "sources/source_loader.h"
#include "support/temp_dir.h"
#include "text/data_url.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string DataPath(const std::string& name) {
    return std::string(TELLAVIN_TEST_DATA) + "/" + name;
}

const std::string kSvg = R"(<svg xmlns="http://www.w3.org/2000/svg"/>)";

// The name of an image the tests know by its bytes.
std::string ImageName(std::string_view bytes) {
    for (const char* name : {"png", "ico", "gif"}) {
        if (bytes == test::ReadFile(DataPath("url/icons/one-pixel."s + name))) {
            return name;
        }
    }
    return bytes == kSvg ? "svg" : "?";
}

// Every link as name=image, with the name of a kept icon's bytes, and the
// size of the icon table: "A=10:png B=5; 1 icons".
std::string IconsText(BookmarkTree& tree) {
    std::string text;
    for (std::int32_t folder = 0; folder < tree.NodeCount(); ++folder) {
        tree.EnsureListed(folder);
        for (const auto& row : tree.Rows(folder)) {
            if (!row.IsLink()) {
                continue;
            }
            text += std::string(row.sName) + "=" + std::to_string(row.nIcon);
            if (row.nIcon >= image::kFirstLinkIcon) {
                text += ":" + ImageName(tree.LinkIconBytes(row.nIcon));
            }
            text += " ";
        }
    }
    return text + "; " + std::to_string(tree.LinkIconCount()) + " icons";
}

// Icons kept only when asked; one table entry per distinct image, however
// it was written; an ICON that is no data URL of an image gives the default.
TEST(LinkIcons, NetscapeFileKeepsItsFavicons) {
    for (auto [keep, expected] : {
             std::pair{true,
                       "A=10:png C=11:ico D=12:svg E=5 F=5 G=5 H=5 I=13:gif B=10:png ; 4 icons"},
             std::pair{false, "A=5 C=5 D=5 E=5 F=5 G=5 H=5 I=5 B=5 ; 0 icons"},
         }) {
        BookmarkTree tree;
        tree.SetKeepIcons(keep);
        ASSERT_TRUE(LoadSourceTree(
            {StoreKind::Netscape, DataPath("netscape/favicons-shared-and-broken.html")}, tree));
        EXPECT_EQ(IconsText(tree), expected) << keep;
    }
}

// IconFile names a local image, relative to the shortcut or absolute, as a
// path or a file: URL; anything else leaves the default image.
TEST(LinkIcons, FavoritesShortcutsKeepTheirIconFiles) {
    test::TempDir dir;
    const auto root = dir.path() / "Favorites";
    const auto icons = DataPath("url/icons/");
    fs::create_directories(root / "icons");
    fs::copy_file(icons + "one-pixel.png", root / "icons" / "globe.png");
    fs::copy_file(icons + "one-pixel.png", root / "icons" / "caf\xC3\xA9.png");
    fs::copy_file(icons + "one-pixel.gif", root / "icons" / "two words.gif");
    fs::copy_file(DataPath("url/icon-file-in-unicode-section.url"), root / "Unicode.url");
    test::WriteFile(root / "notes.txt", "not an image");
    test::WriteFile(root / "huge.png",
                    test::ReadFile(icons + "one-pixel.png") + std::string(kMaxLinkIconBytes, '\0'));
    const auto absolute = (root / "icons").string();
    const std::pair<const char*, std::string> shortcuts[] = {
        {"Absolute", absolute + "/globe.png"},
        {"FileUrl", "file://" + absolute + "/two%20words.gif"},
        {"Localhost", "FILE://localhost" + absolute + "/globe.png"},
        {"OtherHost", "file://server" + absolute + "/globe.png"},
        {"Relative", "icons/globe.png"},
        {"Missing", "icons/missing.png"},
        {"NotImage", "notes.txt"},
        {"TooLarge", "huge.png"},
        {"Web", "http://icons.example/globe.png"},
    };
    for (const auto& [name, iconFile] : shortcuts) {
        test::WriteFile(root / (std::string(name) + ".url"),
                        "[InternetShortcut]\r\nURL=http://x/\r\nIconFile=" + iconFile + "\r\n");
    }
    BookmarkTree tree;
    tree.SetKeepIcons(true);
    ASSERT_TRUE(LoadSourceTree({StoreKind::Favorites, root.string()}, tree));
    EXPECT_EQ(IconsText(tree), "Absolute=10:png FileUrl=11:gif Localhost=10:png Missing=6 "
                               "NotImage=6 OtherHost=6 Relative=10:png TooLarge=6 "
                               "Unicode=10:png Web=6 ; 2 icons");
}

// The shared image list ends at image 500: later new icons show the
// default, icons already in the table still show theirs.
TEST(LinkIcons, TableHoldsAtMost491Icons) {
    BookmarkTree tree;
    tree.SetKeepIcons(true);
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto icon = [](int i) { return "GIF89a" + std::to_string(i); };
    for (int i = 0; i < 492; ++i) {
        builder.AddLinkWithIcon("l" + std::to_string(1000 + i), "http://x/", icon(i));
    }
    builder.AddLinkWithIcon("again", "http://x/", icon(0));
    builder.Finish();
    std::string seen;
    for (auto at : {0, 490, 491, 492}) {
        seen += std::to_string(tree.EntryTable[static_cast<std::size_t>(at)].nIcon) + " ";
    }
    EXPECT_EQ(seen + std::to_string(tree.LinkIconCount()) + " " +
                  std::string(tree.LinkIconBytes(500)),
              "10 500 5 10 491 GIF89a490");
    tree.Clear();
    EXPECT_EQ(tree.LinkIconCount(), 0);
    EXPECT_TRUE(tree.KeepsIcons());
}

TEST(LinkIcons, DataUrlsDecodeAsBrowsersReadThem) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"data:image/png;base64,R0lG", "GIF"},
        {" DATA:;Base64,R0l\nGOD lh", "GIF89a"},     // case, blanks and line breaks
        {"data:image/gif;base64,R0lGODk=", "GIF89"}, // padding
        {"data:image/gif;base64,R0lGODk", "GIF89"},  // padding left out
        {"data:image/svg+xml,%3Csvg%3e%", "<svg>%"},
        {"data:;base64,R0%6cG", "GIF"}, // percent-decoded before base64
        {"data:image/png;base64,R0lGO", std::nullopt},
        {"data:image/png;base64,R0=G", std::nullopt},
        {"data:image/png;base64,R0l$", std::nullopt},
        {"data:image/png", std::nullopt},
        {"http://a.example/favicon.ico", std::nullopt},
    };
    for (const auto& [url, bytes] : cases) {
        EXPECT_EQ(DecodeDataUrl(url), bytes) << url;
    }
}

TEST(LinkIcons, OnlyImagesOfTheKnownKindsAreIcons) {
    const std::pair<std::string, bool> cases[] = {
        {"\x89PNG\r\n\x1A\n", true},
        {"\x89PNG\r\n", false},
        {"\0\0\1\0\1\0"s, true},
        {"\0\0\1\0\0\0"s, false}, // an ICO of no image
        {"\0\0\2\0\1\0"s, false}, // a cursor
        {"GIF87a", true},
        {"\xFF\xD8\xFF\xE0", true},
        {"BM" + std::string(24, '\0'), true},
        {"BM text", false},
        {"\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- c -->\n<!DOCTYPE svg><SVG\n/>", true},
        {"<html><svg/></html>", false},
        {"<svgx/>", false},
        {"", false},
        {"GIF89a" + std::string(kMaxLinkIconBytes - 6, '\0'), true},
        {"GIF89a" + std::string(kMaxLinkIconBytes - 5, '\0'), false},
    };
    for (const auto& [bytes, image] : cases) {
        EXPECT_EQ(IsIconImage(bytes), image) << bytes.substr(0, 40);
    }
}

} // namespace
} // namespace tellavin
