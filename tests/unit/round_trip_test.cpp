#include "model/file_tree_builder.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "sources/xbel_reader.h"
#include "support/canonical_tree.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "targets/xbel_writer.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::CanonicalTreeText;
using test::TempDir;

// One tree to send through every pair of stores, with what each store
// keeps of it. A Favorites folder changes what no file name may hold: the
// nine characters of SafeFileName become "-", and a non-ASCII address is
// written percent-encoded. A Netscape-format file writes a double quote in
// an address as %22. An empty expectation means "as expected".
struct RoundTripCase {
    const char* name;
    std::function<void(BookmarkSink&)> events;
    std::string expected;             // what a hotlist keeps: everything
    std::string expectedViaFavorites; // what a Favorites folder keeps
    std::string expectedViaNetscape;  // what a Netscape-format file keeps
    std::string expectedViaBoth = {}; // what a Favorites folder and a Netscape-format file keep
};

std::string DeepExpected() {
    std::string text = "root[";
    for (int level = 1; level <= 60; ++level) {
        text += " L" + std::to_string(level) + "[";
    }
    text += " bottom=http://bottom/";
    for (int level = 1; level <= 61; ++level) {
        text += " ]";
    }
    return text;
}

const std::vector<RoundTripCase>& Cases() {
    static const std::vector<RoundTripCase> cases = {
        {"Nesting",
         [](BookmarkSink& s) {
             s.AddLink("b", "http://b/");
             s.BeginFolder("Work");
             s.BeginFolder("Deep");
             s.AddLink("X", "http://x/");
             s.EndFolder();
             s.EndFolder();
             s.BeginFolder("News");
             s.AddLink("Daily", "http://daily/");
             s.EndFolder();
             s.AddLink("a", "http://a/");
         },
         "root[ a=http://a/ b=http://b/ News[ Daily=http://daily/ ] Work[ Deep[ X=http://x/ ] ] ]",
         "", ""},
        {"EmptyFolders",
         [](BookmarkSink& s) {
             s.BeginFolder("Empty");
             s.EndFolder();
             s.BeginFolder("Outer");
             s.BeginFolder("Inner");
             s.EndFolder();
             s.EndFolder();
             s.AddLink("l", "http://l/");
         },
         "root[ l=http://l/ Empty[ ] Outer[ Inner[ ] ] ]", "", ""},
        {"Unicode",
         [](BookmarkSink& s) {
             s.BeginFolder("Ünïcödé");
             s.AddLink("中文", "http://例え.jp/ü?q=é");
             s.AddLink("Ελληνικά", "http://greek/");
             s.EndFolder();
             s.AddLink("Café 50€", "http://cafe/");
             s.AddLink("🎉 Party", "http://party/");
         },
         "root[ Café 50€=http://cafe/ 🎉 Party=http://party/ Ünïcödé[ Ελληνικά=http://greek/ "
         "中文=http://例え.jp/ü?q=é ] ]",
         "root[ Café 50€=http://cafe/ 🎉 Party=http://party/ Ünïcödé[ Ελληνικά=http://greek/ "
         "中文=http://%E4%BE%8B%E3%81%88.jp/%C3%BC?q=%C3%A9 ] ]",
         ""},
        {"MarkupCharacters",
         [](BookmarkSink& s) {
             s.BeginFolder("R&D <lab>");
             s.AddLink("Tom & Jerry <\"quoted\"> 'x'", "http://x.example/?a=1&b=<2>\"'");
             s.EndFolder();
             s.AddLink("a = b; c", "http://eq.example/?a=b&c=d#e");
         },
         "root[ a = b; c=http://eq.example/?a=b&c=d#e R&D <lab>[ Tom & Jerry <\"quoted\"> "
         "'x'=http://x.example/?a=1&b=<2>\"' ] ]",
         "root[ a = b; c=http://eq.example/?a=b&c=d#e R&D -lab-[ Tom & Jerry --quoted-- "
         "'x'=http://x.example/?a=1&b=<2>\"' ] ]",
         "root[ a = b; c=http://eq.example/?a=b&c=d#e R&D <lab>[ Tom & Jerry <\"quoted\"> "
         "'x'=http://x.example/?a=1&b=<2>%22' ] ]",
         "root[ a = b; c=http://eq.example/?a=b&c=d#e R&D -lab-[ Tom & Jerry --quoted-- "
         "'x'=http://x.example/?a=1&b=<2>%22' ] ]"},
        {"DuplicateNames",
         [](BookmarkSink& s) {
             s.BeginFolder("Work");
             s.AddLink("Home", "http://w1/");
             s.EndFolder();
             s.BeginFolder("Work");
             s.EndFolder();
             s.AddLink("Home", "http://h1/");
             s.AddLink("Home", "http://h2/");
         },
         "root[ Home=http://h1/ Home=http://h2/ Work[ Home=http://w1/ ] Work[ ] ]",
         "root[ Home=http://h1/ Home(2)=http://h2/ Work[ Home=http://w1/ ] Work(2)[ ] ]", ""},
        {"DeepTree",
         [](BookmarkSink& s) {
             for (int level = 1; level <= 60; ++level) {
                 s.BeginFolder("L" + std::to_string(level));
             }
             s.AddLink("bottom", "http://bottom/");
         },
         DeepExpected(), "", ""},
    };
    return cases;
}

std::string ViaFavorites(const RoundTripCase& c) {
    return c.expectedViaFavorites.empty() ? c.expected : c.expectedViaFavorites;
}
std::string ViaNetscape(const RoundTripCase& c) {
    return c.expectedViaNetscape.empty() ? c.expected : c.expectedViaNetscape;
}
std::string ViaBoth(const RoundTripCase& c) {
    return c.expectedViaBoth.empty() ? ViaFavorites(c) : c.expectedViaBoth;
}

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {
protected:
    BookmarkTree ThroughHotlist(BookmarkTree& tree, const std::string& name) {
        NullProgress progress;
        auto path = dir_ / name;
        auto result = PrintHotlistFile(tree, path, {}, progress);
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message);
        BookmarkTree back;
        EXPECT_TRUE(LoadOperaTree(back, path));
        return back;
    }
    BookmarkTree ThroughNetscape(BookmarkTree& tree, const std::string& name) {
        auto path = dir_ / name;
        WriteOptions options;
        options.profileName = "Ann";
        auto result = PrintBookmarkFile(tree, path, options, test::NoProgress());
        EXPECT_TRUE(result.ok) << test::MessageText(result.message);
        BookmarkTree back;
        EXPECT_TRUE(BuildNetscapeTree(back, path));
        return back;
    }
    BookmarkTree ThroughXbel(BookmarkTree& tree, const std::string& name) {
        auto path = dir_ / name;
        auto result = WriteXbelFile(tree, path, {}, test::NoProgress());
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message);
        BookmarkTree back;
        FileTreeBuilder builder(back, StoreKind::Netscape);
        EXPECT_EQ(LoadXbelFile(path, builder), "");
        builder.Finish();
        return back;
    }
    BookmarkTree ThroughFavorites(BookmarkTree& tree, const std::string& name) {
        NullProgress progress;
        auto folder = dir_ / name;
        fs::create_directories(folder);
        auto result = ExportToFavorites(tree, folder, {}, progress);
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message) << result.sFirstFailure;
        BookmarkTree back;
        EXPECT_TRUE(BuildFavoritesTree(back, folder));
        return back;
    }

    TempDir dir_;
};

TEST_P(RoundTrip, OperaToOperaKeepsEverything) {
    auto source = test::TreeFromEvents(GetParam().events);
    ASSERT_EQ(CanonicalTreeText(source), GetParam().expected);
    auto once = ThroughHotlist(source, "once.adr");
    EXPECT_EQ(CanonicalTreeText(once), GetParam().expected);
    auto twice = ThroughHotlist(once, "twice.adr");
    EXPECT_EQ(CanonicalTreeText(twice), GetParam().expected);
}

TEST_P(RoundTrip, OperaToFavoritesToOpera) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto hotlist = ThroughHotlist(events, "source.adr");
    auto favorites = ThroughFavorites(hotlist, "Favorites");
    EXPECT_EQ(CanonicalTreeText(favorites), ViaFavorites(GetParam()));
    auto back = ThroughHotlist(favorites, "back.adr");
    EXPECT_EQ(CanonicalTreeText(back), ViaFavorites(GetParam()));
}

TEST_P(RoundTrip, FavoritesToOperaToFavorites) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto favorites = ThroughFavorites(events, "Source");
    ASSERT_EQ(CanonicalTreeText(favorites), ViaFavorites(GetParam()));
    auto hotlist = ThroughHotlist(favorites, "middle.adr");
    EXPECT_EQ(CanonicalTreeText(hotlist), ViaFavorites(GetParam()));
    auto back = ThroughFavorites(hotlist, "Back");
    EXPECT_EQ(CanonicalTreeText(back), ViaFavorites(GetParam()));
}

TEST_P(RoundTrip, NetscapeToOperaToNetscape) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto netscape = ThroughNetscape(events, "source.html");
    ASSERT_EQ(CanonicalTreeText(netscape), ViaNetscape(GetParam()));
    auto hotlist = ThroughHotlist(netscape, "middle.adr");
    EXPECT_EQ(CanonicalTreeText(hotlist), ViaNetscape(GetParam()));
    auto back = ThroughNetscape(hotlist, "back.html");
    EXPECT_EQ(CanonicalTreeText(back), ViaNetscape(GetParam()));
}

TEST_P(RoundTrip, FavoritesToNetscapeToFavorites) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto favorites = ThroughFavorites(events, "Source");
    ASSERT_EQ(CanonicalTreeText(favorites), ViaFavorites(GetParam()));
    auto netscape = ThroughNetscape(favorites, "middle.html");
    EXPECT_EQ(CanonicalTreeText(netscape), ViaBoth(GetParam()));
    auto back = ThroughFavorites(netscape, "Back");
    EXPECT_EQ(CanonicalTreeText(back), ViaBoth(GetParam()));
}

TEST_P(RoundTrip, NetscapeToFavoritesToNetscape) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto netscape = ThroughNetscape(events, "source.html");
    ASSERT_EQ(CanonicalTreeText(netscape), ViaNetscape(GetParam()));
    auto favorites = ThroughFavorites(netscape, "Favorites");
    EXPECT_EQ(CanonicalTreeText(favorites), ViaBoth(GetParam()));
    auto back = ThroughNetscape(favorites, "back.html");
    EXPECT_EQ(CanonicalTreeText(back), ViaBoth(GetParam()));
}

TEST_P(RoundTrip, XbelToXbelKeepsEverything) {
    auto source = test::TreeFromEvents(GetParam().events);
    auto once = ThroughXbel(source, "once.xbel");
    EXPECT_EQ(CanonicalTreeText(once), GetParam().expected);
    auto twice = ThroughXbel(once, "twice.xbel");
    EXPECT_EQ(CanonicalTreeText(twice), GetParam().expected);
}

TEST_P(RoundTrip, FavoritesToXbelToFavorites) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto favorites = ThroughFavorites(events, "Source");
    auto xbel = ThroughXbel(favorites, "middle.xbel");
    EXPECT_EQ(CanonicalTreeText(xbel), ViaFavorites(GetParam()));
    auto back = ThroughFavorites(xbel, "Back");
    EXPECT_EQ(CanonicalTreeText(back), ViaFavorites(GetParam()));
}

TEST_P(RoundTrip, NetscapeToXbelToNetscape) {
    auto events = test::TreeFromEvents(GetParam().events);
    auto netscape = ThroughNetscape(events, "source.html");
    auto xbel = ThroughXbel(netscape, "middle.xbel");
    EXPECT_EQ(CanonicalTreeText(xbel), ViaNetscape(GetParam()));
    auto back = ThroughNetscape(xbel, "back.html");
    EXPECT_EQ(CanonicalTreeText(back), ViaNetscape(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundTrip, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Every real-world hotlist survives being written and read again whole
// but for its trash,
// and a trip through a Favorites folder keeps every folder and link (names
// then hold "-" for what a file name cannot, and an address loses the
// trailing blanks that reading a shortcut trims).
class OperaCorpusRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(OperaCorpusRoundTrip, HotlistAndFavoritesKeepTheWholeTree) {
    if (test::CorpusDir().empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    TempDir dir;
    NullProgress progress;
    BookmarkTree source;
    ASSERT_TRUE(LoadOperaTree(source, (test::CorpusDir() / "opera" / GetParam()).string()));
    auto expected = CanonicalTreeText(source, false);

    ASSERT_TRUE(PrintHotlistFile(source, dir / "copy.adr", {}, progress).Complete());
    BookmarkTree copy;
    ASSERT_TRUE(LoadOperaTree(copy, dir / "copy.adr"));
    EXPECT_EQ(CanonicalTreeText(copy), expected);

    fs::create_directories(dir.path() / "Favorites");
    ASSERT_TRUE(ExportToFavorites(source, dir / "Favorites", {}, progress).Complete());
    BookmarkTree favorites;
    ASSERT_TRUE(BuildFavoritesTree(favorites, dir / "Favorites"));
    ASSERT_TRUE(PrintHotlistFile(favorites, dir / "back.adr", {}, progress).Complete());
    BookmarkTree back;
    ASSERT_TRUE(LoadOperaTree(back, dir / "back.adr"));
    EXPECT_EQ(CanonicalTreeText(back), CanonicalTreeText(favorites));
    EXPECT_EQ(test::ExportedCountText(back), test::ExportedCountText(source));
}

INSTANTIATE_TEST_SUITE_P(Corpus, OperaCorpusRoundTrip,
                         ::testing::Values("chinese-bom-seperator-deleted.adr",
                                           "openmandriva-default-handwritten.adr",
                                           "opera1150-default-crlf.adr", "opera6-test.adr",
                                           "polish-trash-desc-0x02.adr",
                                           "rt75463-space-indent.adr"));

// Every real-world bookmark file converts to a hotlist and back, and into
// a Favorites folder, keeping every folder and link.
class NetscapeCorpusRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(NetscapeCorpusRoundTrip, ThroughAHotlistAndIntoAFavoritesFolder) {
    if (test::CorpusDir().empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    TempDir dir;
    NullProgress progress;
    BookmarkTree source;
    ASSERT_TRUE(BuildNetscapeTree(source, (test::CorpusDir() / "netscape" / GetParam()).string()));
    auto expected = CanonicalTreeText(source);

    ASSERT_TRUE(PrintHotlistFile(source, dir / "h.adr", {}, progress).Complete());
    BookmarkTree hotlist;
    ASSERT_TRUE(LoadOperaTree(hotlist, dir / "h.adr"));
    EXPECT_EQ(CanonicalTreeText(hotlist), expected);

    WriteOptions options;
    ASSERT_TRUE(PrintBookmarkFile(hotlist, dir / "back.html", options, test::NoProgress()).ok);
    BookmarkTree back;
    ASSERT_TRUE(BuildNetscapeTree(back, dir / "back.html"));
    EXPECT_EQ(CanonicalTreeText(back), expected);

    fs::create_directories(dir.path() / "Favorites");
    ASSERT_TRUE(ExportToFavorites(source, dir / "Favorites", {}, progress).Complete());
    BookmarkTree favorites;
    ASSERT_TRUE(BuildFavoritesTree(favorites, dir / "Favorites"));
    EXPECT_EQ(favorites.NodeCount(), source.NodeCount());
    std::size_t links = 0;
    for (std::int32_t folder = 0; folder < favorites.NodeCount(); ++folder) {
        favorites.EnsureListed(folder);
    }
    for (const auto& row : favorites.EntryTable) {
        links += row.IsLink() ? 1 : 0;
    }
    std::size_t sourceLinks = 0;
    for (const auto& row : source.EntryTable) {
        sourceLinks += row.IsLink() ? 1 : 0;
    }
    EXPECT_EQ(links, sourceLinks);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, NetscapeCorpusRoundTrip,
    ::testing::Values("chromium-fixture-redditsaver.html", "chromium-nested.htm",
                      "delicious-large-995.html", "delicious-small.htm",
                      "firefox-2023-exported-csp.html", "firefox-places-nested.htm",
                      "firefox2-preplaces.html", "google-bookmarks-no-doctype.htm",
                      "icab-attrs-before-href.html", "ie-korean-bom-handedited.htm",
                      "ie11-nested-bom.htm", "ie4-mac-favorites-macroman.html",
                      "netscape4-aliases-multiline-dd.html", "safari-tabs-no-outer-dl.htm",
                      "scuttle-lowercase-tabs.htm"));

} // namespace
} // namespace tellavin
