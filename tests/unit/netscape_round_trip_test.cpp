// Favorites -> Netscape-format file -> tree: every folder, link, name and
// address comes back.
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/netscape_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

void Shortcut(const fs::path& file, const std::string& url) {
    test::WriteFile(file, "[InternetShortcut]\r\nURL=" + url + "\r\n");
}

fs::path U8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

TEST(NetscapeRoundTrip, FavoritesComeBackWithEveryNameAndAddress) {
    test::TempDir dir;
    auto root = dir.path() / "Favorites";
    Shortcut(root / U8("\xC3\x86r\xC3\xB8.url"), "http://example.com/?a=1&b=<2>&c='3'");
    Shortcut(root / U8("Caf\xC3\xA9 & Cuisine") /
                 U8("Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                    "e.url"),
             "https://example.com/cr%C3%A8me");
    Shortcut(root / "<Tags> \"quoted\" 'single'" / "Tom & Jerry's <b>\"Show\".url",
             "http://example.com/?x=&amp;y&copy;&lt");
    Shortcut(root / "<Tags> \"quoted\" 'single'" / "AT&T.url", "http://example.com/q=\"x\"");
    Shortcut(root / U8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") /
                 U8("\xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x97\xBC.url"),
             "https://ja.example.com/\xE6\x9D\xB1\xE4\xBA\xAC");
    Shortcut(root / "a" / "b" / "c" / "deep.url", "file:///tmp/deep.html");
    fs::create_directories(root / U8("\xC3\x89mojis \xF0\x9F\x98\x80"));

    BookmarkTree favorites;
    ASSERT_TRUE(BuildFavoritesTree(favorites, root.string()));
    WriteOptions options;
    options.profileName = "Ann";
    auto first = PrintBookmarkFile(favorites, dir / "first.html", options, test::NoProgress());
    ASSERT_TRUE(first.ok) << test::MessageText(first.message);
    EXPECT_EQ(first.nFoldersWritten, 7);
    EXPECT_EQ(first.nLinksWritten, 6);

    BookmarkTree back;
    ASSERT_TRUE(BuildNetscapeTree(back, dir / "first.html"));
    EXPECT_EQ(test::TreeText(back, true),
              "Bookmarks for Ann[ \xC3\x86r\xC3\xB8=http://example.com/?a=1&b=<2>&c='3' "
              "<Tags> \"quoted\" 'single'[ AT&T=http://example.com/q=%22x%22 "
              "Tom & Jerry's <b>\"Show\"=http://example.com/?x=&amp;y&copy;&lt ] "
              "a[ b[ c[ deep=file:///tmp/deep.html ] ] ] "
              "Caf\xC3\xA9 & Cuisine[ Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
              "e=https://example.com/"
              "cr%C3%A8me ] "
              "\xC3\x89mojis \xF0\x9F\x98\x80[ ] "
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E[ \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x97\xBC="
              "https://ja.example.com/\xE6\x9D\xB1\xE4\xBA\xAC ] ]");

    // Writing what was read gives the same file again.
    auto second = PrintBookmarkFile(back, dir / "second.html", options, test::NoProgress());
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(test::ReadFile(dir.path() / "second.html"),
              test::ReadFile(dir.path() / "first.html"));
}

} // namespace
} // namespace tellavin
