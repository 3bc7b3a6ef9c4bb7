#include "conversion/conversion.h"
#include "model/file_tree_builder.h"
#include "model/icon_image.h"
#include "sources/source_loader.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "text/base64.h"
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

// Icons kept only when asked; one table entry per distinct image and
// address, however it was written; an ICON that is no data URL of an image
// gives the default, unless the link's ICON_URI names where it came from.
TEST(LinkIcons, NetscapeFileKeepsItsFavicons) {
    for (auto [keep, expected] : {
             std::pair{true,
                       "A=10:png C=12:ico D=13:svg E=5 F=5 G=5 H=14:? I=15:gif B=11:png ; 6 icons"},
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
        {"IndexZero", "icons/globe.png\r\nIconIndex=0"},
        {"IndexOne", "icons/globe.png\r\nIconIndex=1"}, // an icon of a program file
    };
    for (const auto& [name, iconFile] : shortcuts) {
        test::WriteFile(root / (std::string(name) + ".url"),
                        "[InternetShortcut]\r\nURL=http://x/\r\nIconFile=" + iconFile + "\r\n");
    }
    BookmarkTree tree;
    tree.SetKeepIcons(true);
    ASSERT_TRUE(LoadSourceTree({StoreKind::Favorites, root.string()}, tree));
    EXPECT_EQ(IconsText(tree), "Absolute=10:png FileUrl=11:gif IndexOne=6 IndexZero=10:png "
                               "Localhost=10:png Missing=6 "
                               "NotImage=6 OtherHost=6 Relative=10:png TooLarge=6 "
                               "Unicode=10:png Web=12:? ; 3 icons");
}

// A hotlist link's ICONFILE names an image beside the hotlist or anywhere
// on this machine; one that cannot be read or is no image is dropped, as
// every one is when icons are not kept.
TEST(LinkIcons, HotlistIconFilesAreReadFromThisMachine) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "icons");
    fs::copy_file(DataPath("url/icons/one-pixel.gif"), dir.path() / "icons" / "a.gif");
    test::WriteFile(dir.path() / "notes.txt", "not an image");
    std::string hotlist = "Opera Hotlist version 2.0\n\n";
    const std::pair<const char*, std::string> links[] = {
        {"Relative", "icons/a.gif"},   {"Absolute", (dir.path() / "icons" / "a.gif").string()},
        {"Missing", "icons/none.gif"}, {"NotImage", "notes.txt"},
        {"Web", "http://x/a.gif"},     {"None", ""},
    };
    for (const auto& [name, iconFile] : links) {
        hotlist += "#URL\n\tNAME=" + std::string(name) +
                   "\n\tURL=http://x/\n\tICONFILE=" + iconFile + "\n\n";
    }
    test::WriteFile(dir.path() / "opera6.adr", hotlist);
    std::string seen;
    for (bool keep : {true, false}) {
        BookmarkTree tree;
        tree.SetKeepIcons(keep);
        ASSERT_TRUE(LoadSourceTree({StoreKind::Opera, dir / "opera6.adr"}, tree));
        seen += IconsText(tree) + " | " + tree.ReadLosses.Lines().at(0) + " | ";
    }
    EXPECT_EQ(seen, "Relative=10:gif Absolute=10:gif Missing=9 NotImage=9 Web=9 None=9 ; 1 icons"
                    " | Icons dropped: 3 (Missing, NotImage, Web) | "
                    "Relative=9 Absolute=9 Missing=9 NotImage=9 Web=9 None=9 ; 0 icons"
                    " | Icons dropped: 5 (Relative, Absolute, Missing, ...) | ");
}

// Each distinct icon (image and address) takes one place in the table and
// each distinct image is stored once, however many icons there are; an
// address that is no web address is not kept.
TEST(LinkIcons, TableKeepsEachIconOnceAndEachImageOnce) {
    BookmarkTree tree;
    tree.SetKeepIcons(true);
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    const std::pair<const char*, LinkIcon> links[] = {
        {"a", {"GIF89a1", "https://a/i.ico"}},
        {"b", {"GIF89a1", "https://a/i.ico"}},
        {"c", {"GIF89a1", "https://c/i.ico"}},
        {"d", {"", "http://d/i.ico"}},
        {"e", {"GIF89a1", "fake-favicon-uri:https://e/"}},
        {"f", {"", "fake-favicon-uri:https://f/"}},
        {"g", {"GIF89a2", "javascript:alert(1)"}},
    };
    for (const auto& [name, icon] : links) {
        builder.AddLinkWithIcon(name, "http://x/", icon);
    }
    for (int i = 0; i < 600; ++i) {
        builder.AddLinkWithIcon("many", "http://x/", {"GIF89a" + std::to_string(1000 + i), ""});
    }
    builder.Finish();
    std::string seen;
    for (std::size_t at = 0; at < 7; ++at) {
        const auto& row = tree.EntryTable[at];
        seen += std::string(row.sName) + "=" + std::to_string(row.nIcon) + ":" +
                std::string(tree.LinkIconBytes(row.nIcon)) + "@" +
                std::string(tree.LinkIconAddress(row.nIcon)) + " ";
    }
    EXPECT_EQ(seen + std::to_string(tree.LinkIconCount()) + " icons, " +
                  std::to_string(tree.IconImageCount()) + " images, last " +
                  std::string(tree.LinkIconBytes(tree.EntryTable.back().nIcon)),
              "a=10:GIF89a1@https://a/i.ico b=10:GIF89a1@https://a/i.ico "
              "c=11:GIF89a1@https://c/i.ico d=12:@http://d/i.ico e=13:GIF89a1@ f=5:@ "
              "g=14:GIF89a2@ 605 icons, 602 images, last GIF89a1599");
    tree.Clear();
    EXPECT_EQ(tree.LinkIconCount() + tree.IconImageCount(), 0);
    EXPECT_TRUE(tree.KeepsIcons());
}

class IconConversion : public ::testing::Test {
protected:
    IconConversion() {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin";
    }

    // Converts a bookmark file of one link, A, whose start tag carries
    // attributes, into a bookmark file, and tells what A's line there
    // carries of an icon (the address, the media type and size of the
    // image, whether it is the source's) and what the losses are.
    std::string Converted(const std::string& attributes, std::string_view sourceImage) {
        auto source = dir / "source.html";
        test::WriteFile(source, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                                "<DT><A HREF=\"http://a/\" " +
                                    attributes + ">A</A>\n</DL><p>\n");
        ConversionRequest request;
        request.source = {StoreKind::Netscape, source};
        request.target = {StoreKind::Netscape, dir / "target.html"};
        auto result = RunConversion(request, platform, progress);
        auto written = test::ReadFile(request.target.path);
        auto line = written.substr(written.find("<DT><A"));
        line = line.substr(0, line.find('\n'));
        std::string text;
        if (auto at = line.find(" ICON_URI=\""); at != std::string::npos) {
            auto start = at + 11;
            text += "uri " + line.substr(start, line.find('"', start) - start) + " ";
        }
        if (auto at = line.find(" ICON=\""); at != std::string::npos) {
            auto url = line.substr(at + 7, line.find('"', at + 7) - at - 7);
            auto image = DecodeDataUrl(url).value_or("broken");
            text += url.substr(0, url.find(',')) + " " + std::to_string(image.size()) +
                    (image == sourceImage ? " bytes as given " : " bytes changed ");
        }
        for (const auto& loss : result.losses.Lines()) {
            text += "| " + loss;
        }
        return text;
    }

    static std::string DataUrl(std::string_view image) {
        std::string url = "data:image/png;base64,";
        AppendBase64(url, image);
        return url;
    }

    test::TempDir dir;
    test::FakePlatform platform;
    NullProgress progress;
};

// What a bookmark file's icon becomes in the file written: an image up to
// 64 KiB with its web address, nothing larger, no other bytes, no
// browser's placeholder address; each image dropped is reported.
TEST_F(IconConversion, OnlyBoundedImagesAndWebAddressesAreCarried) {
    const auto png = test::ReadFile(DataPath("url/icons/one-pixel.png"));
    const auto largest = png + std::string(kMaxLinkIconBytes - png.size(), '\0');
    const auto tooLarge = png + std::string(65 * 1024 - png.size(), '\0');
    const auto svg = kSvg;
    struct Row {
        std::string attributes;
        std::string_view image;
        std::string expected;
    };
    const Row rows[] = {
        {"ICON_URI=\"https://a/i.png\" ICON=\"" + DataUrl(png) + "\"", png,
         "uri https://a/i.png data:image/png;base64 " + std::to_string(png.size()) +
             " bytes as given "},
        {"ICON=\"" + DataUrl(largest) + "\"", largest,
         "data:image/png;base64 65536 bytes as given "},
        {"ICON=\"" + DataUrl(tooLarge) + "\"", tooLarge, "| Icons dropped: 1 (A)"},
        {"ICON=\"" + DataUrl("<html>no image</html>") + "\"", "", "| Icons dropped: 1 (A)"},
        {"ICON=\"data:image/png;base64,R0l$\"", "", "| Icons dropped: 1 (A)"},
        // The media type is the image's own, whatever the source said.
        {"ICON='data:image/png," + svg + "'", svg,
         "data:image/svg+xml;base64 " + std::to_string(svg.size()) + " bytes as given "},
        {"ICON_URI=\"fake-favicon-uri:http://a/\" ICON=\"" + DataUrl(png) + "\"", png,
         "data:image/png;base64 " + std::to_string(png.size()) + " bytes as given "},
        {"ICON_URI=\"fake-favicon-uri:http://a/\"", "", ""},
        {"ICON_URI=\" http://a/favicon.ico \"", "", "uri http://a/favicon.ico "},
        {"ICON_URI=\"file:///icons/a.ico\"", "", ""},
        {"ICON_URI=\"javascript:alert(1)\"", "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Converted(row.attributes, row.image), row.expected)
            << row.attributes.substr(0, 80);
    }
}

// Only a target that cannot hold icons reports them dropped, whether the
// conversion read the source or was handed the selection window's tree.
TEST_F(IconConversion, IconsAreReportedDroppedOnlyByTargetsWithoutThem) {
    auto source =
        StoreLocation{StoreKind::Netscape, DataPath("netscape/favicons-shared-and-broken.html")};
    std::string seen;
    for (auto target : {StoreKind::Netscape, StoreKind::Opera, StoreKind::Menu}) {
        for (bool handedIn : {false, true}) {
            BookmarkTree tree;
            tree.SetKeepIcons(true);
            LoadSourceTree(source, tree);
            ConversionRequest request;
            request.source = source;
            request.target = {target, dir / ("target" + std::to_string(seen.size()))};
            request.tree = handedIn ? &tree : nullptr;
            request.options.exportAll = true;
            auto result = RunConversion(request, platform, progress);
            seen += std::to_string(result.losses.Count(LossKind::IconDropped)) + " ";
        }
    }
    // Nine links of the source carry icons, three of them no image.
    EXPECT_EQ(seen, "3 3 9 9 9 9 ");
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
