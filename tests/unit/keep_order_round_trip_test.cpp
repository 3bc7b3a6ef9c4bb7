// Conversions with the source's order kept, through every pair of stores
// and back: what both stores hold comes back as it was, and everything
// else is named in the loss report, exactly.
#include "conversion/conversion.h"
#include "sources/source_loader.h"
#include "support/event_tree.h"
#include "support/fake_platform.h"
#include "support/message_text.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "targets/xbel_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A dated toolbar folder with a description and separators between dated
// links, one with a description, keyword and tags, a separator at the top
// level, a name no file system takes, two links of the same name, and an
// order no sort gives.
BookmarkTree SourceTree() {
    return test::TreeFromEvents([](BookmarkSink& s) {
        s.BeginFolder("Bookmarks Toolbar");
        s.MarkToolbarFolder();
        s.SetFolderDates(500, 600);
        s.SetFolderDescription("Daily use");
        s.AddLink("Zeta", "http://z/");
        s.SetLinkDates(1000, 2000);
        s.SetLinkDescription("Weather");
        s.SetLinkKeyword("z");
        s.SetLinkTags({"news", "daily"});
        s.AddSeparator();
        s.AddLink("Alpha", "http://a/");
        s.SetLinkDates(1100, 2100);
        s.EndFolder();
        s.AddSeparator();
        s.AddLink("Ünïcödé 中文", "http://u/");
        s.SetLinkDates(0, 3000);
        s.BeginFolder("Work");
        s.SetFolderDates(700, 800);
        s.AddLink("Q&A: x/y", "http://q/");
        s.SetLinkDates(1200, 2200);
        s.AddSeparator();
        s.AddLink("Deutsche Bahn", "http://db1/");
        s.SetLinkDates(0, 2400);
        s.AddLink("Deutsche Bahn", "http://db2/");
        s.SetLinkDates(0, 2500);
        s.EndFolder();
        s.AddLink("a", "http://a2/");
        s.SetLinkDates(0, 2300);
    });
}

struct PairCase {
    const char* name;
    StoreKind first;         // the store the trip starts from and comes back to
    StoreKind second;        // the store it passes through
    std::string start;       // the first store as made from SourceTree
    std::string back;        // the first store after the trip
    std::string losses;      // both conversions' loss reports, one line each
    bool withChanged = true; // change dates compared (see OrderedTreeText)
};

class KeepOrderRoundTrip : public ::testing::TestWithParam<PairCase> {
protected:
    KeepOrderRoundTrip() {
        fs::create_directories(dir_.path() / "bin");
        platform_.executablePath = dir_ / "bin/tellavin";
    }

    StoreLocation Store(StoreKind kind, const std::string& name) {
        auto extension = kind == StoreKind::Opera      ? ".adr"
                         : kind == StoreKind::Netscape ? ".html"
                         : kind == StoreKind::Xbel     ? ".xbel"
                                                       : "";
        StoreLocation store{kind, dir_ / (name + extension)};
        if (kind == StoreKind::Favorites) {
            fs::create_directories(store.path);
        }
        return store;
    }

    // The first store, written from the source tree by its writer.
    StoreLocation MakeFirst(StoreKind kind) {
        auto tree = SourceTree();
        auto store = Store(kind, "first");
        NullProgress progress;
        ExportResult result;
        if (kind == StoreKind::Netscape) {
            WriteOptions options;
            options.keepOrder = true;
            result = PrintBookmarkFile(tree, store.path, options, progress);
        } else if (kind == StoreKind::Opera) {
            WriteOptions options;
            options.keepOrder = true;
            result = PrintHotlistFile(tree, store.path, options, progress);
        } else if (kind == StoreKind::Xbel) {
            WriteOptions options;
            options.keepOrder = true;
            result = WriteXbelFile(tree, store.path, options, progress);
        } else {
            result = ExportToFavorites(tree, store.path, {}, progress);
        }
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message);
        return store;
    }

    // Converts with the order kept; returns the loss report's lines.
    std::string Convert(const StoreLocation& from, const StoreLocation& to) {
        ConversionRequest request;
        request.source = from;
        request.target = to;
        request.options.keepOrder = true;
        NullProgress progress;
        auto result = RunConversion(request, platform_, progress);
        EXPECT_TRUE(result.Complete()) << test::MessageText(result.message) << result.sFirstFailure;
        std::string lines;
        for (const auto& line : result.losses.Lines()) {
            lines += line + "\n";
        }
        return lines;
    }

    std::string Text(const StoreLocation& store, bool withChanged) {
        BookmarkTree tree;
        if (!LoadSourceTree(store, tree)) {
            return "(unreadable)";
        }
        return test::OrderedTreeText(tree, withChanged, true);
    }

    TempDir dir_;
    test::FakePlatform platform_;
};

TEST_P(KeepOrderRoundTrip, ComesBackWithWhatBothStoresHoldAndReportsTheRest) {
    const auto& c = GetParam();
    auto first = MakeFirst(c.first);
    ASSERT_EQ(Text(first, true), c.start);
    auto second = Store(c.second, "second");
    auto losses = Convert(first, second);
    auto back = Store(c.first, "back");
    losses += Convert(second, back);
    EXPECT_EQ(Text(back, c.withChanged), c.back);
    EXPECT_EQ(losses, c.losses);
}

// The source as each store holds it: a hotlist keeps creation dates,
// descriptions and keywords; a Favorites folder lists its items by name,
// its toolbar is Links, a link's or folder's change date is its file's or
// directory's time, and it numbers equal names.
const std::string kAsNetscape =
    "root[ Bookmarks Toolbar*{500/600}<d:Daily use>[ Zeta=http://z/{1000/2000}<d:Weather k:z "
    "t:news,daily> --- Alpha=http://a/{1100/2100} ] --- Ünïcödé 中文=http://u/{0/3000} "
    "Work{700/800}[ Q&A: x/y=http://q/{1200/2200} --- Deutsche Bahn=http://db1/{0/2400} "
    "Deutsche Bahn=http://db2/{0/2500} ] a=http://a2/{0/2300} ]";
const std::string kAsHotlist =
    "root[ Bookmarks Toolbar*{500/0}<d:Daily use>[ Zeta=http://z/{1000/0}<d:Weather k:z> --- "
    "Alpha=http://a/{1100/0} ] --- Ünïcödé 中文=http://u/ Work{700/0}[ Q&A: x/y=http://q/{1200/0} "
    "--- Deutsche Bahn=http://db1/ Deutsche Bahn=http://db2/ ] a=http://a2/ ]";
const std::string kAsFavorites =
    "root[ a=http://a2/{0/2300} Links*{0/600}[ Alpha=http://a/{0/2100} Zeta=http://z/{0/2000} ] "
    "Ünïcödé 中文=http://u/{0/3000} Work{0/800}[ Deutsche Bahn(2)=http://db2/{0/2500} Deutsche "
    "Bahn=http://db1/{0/2400} Q&A- x-y=http://q/{0/2200} ] ]";
// XBEL holds everything but the toolbar's role, a folder's change date, a
// keyword and tags.
const std::string kAsXbel =
    "root[ Bookmarks Toolbar{500/0}<d:Daily use>[ Zeta=http://z/{1000/2000}<d:Weather> --- "
    "Alpha=http://a/{1100/2100} ] --- Ünïcödé 中文=http://u/{0/3000} Work{700/0}[ Q&A: "
    "x/y=http://q/{1200/2200} --- Deutsche Bahn=http://db1/{0/2400} Deutsche "
    "Bahn=http://db2/{0/2500} ] a=http://a2/{0/2300} ]";
// A hotlist holds no change dates; through XBEL it loses the toolbar's
// role and the keyword.
const std::string kAsHotlistUnmarked =
    "root[ Bookmarks Toolbar{500/0}<d:Daily use>[ Zeta=http://z/{1000/0}<d:Weather> --- "
    "Alpha=http://a/{1100/0} ] --- Ünïcödé 中文=http://u/ Work{700/0}[ Q&A: x/y=http://q/{1200/0} "
    "--- Deutsche Bahn=http://db1/ Deutsche Bahn=http://db2/ ] a=http://a2/ ]";
// A bookmark file written from a Favorites folder: folders first, then the
// links, each by name.
const std::string kFromFavorites =
    "root[ Links*{0/600}[ Alpha=http://a/{0/2100} Zeta=http://z/{0/2000} ] Work{0/800}[ "
    "Deutsche Bahn=http://db1/{0/2400} Deutsche Bahn(2)=http://db2/{0/2500} Q&A- "
    "x-y=http://q/{0/2200} ] a=http://a2/{0/2300} Ünïcödé 中文=http://u/{0/3000} ]";

// What a Favorites folder cannot hold of the source; tags only where the
// source has them.
std::string IntoFavorites(bool withTags) {
    return "Names changed for the file system: 1 (\"Q&A: x/y\" -> \"Q&A- x-y\")\n"
           "Duplicate names numbered: 1 (\"Deutsche Bahn\" -> \"Deutsche Bahn(2)\")\n"
           "Toolbar folder renamed: 1 (\"Bookmarks Toolbar\" -> \"Links\")\n"
           "Separators dropped: 3 (top level, Bookmarks Toolbar, Work)\n"
           "Folders not kept in the source's order: 3 (top level, Bookmarks Toolbar, Work)\n"
           "Creation dates dropped: 3 (Alpha, Zeta, Q&A: x/y)\n"
           "Descriptions dropped: 2 (Bookmarks Toolbar, Zeta)\n" +
           std::string(withTags ? "Tags dropped: 1 (Zeta)\n" : "") + "Keywords dropped: 1 (Zeta)\n";
}

const std::vector<PairCase>& Cases() {
    static const std::vector<PairCase> cases = {
        {"NetscapeThroughHotlist", StoreKind::Netscape, StoreKind::Opera, kAsNetscape, kAsHotlist,
         "Change dates dropped: 7 (Zeta, Alpha, Ünïcödé 中文, ...)\nTags dropped: 1 (Zeta)\n"},
        {"HotlistThroughNetscape", StoreKind::Opera, StoreKind::Netscape, kAsHotlist, kAsHotlist,
         ""},
        {"NetscapeThroughFavorites", StoreKind::Netscape, StoreKind::Favorites, kAsNetscape,
         kFromFavorites, IntoFavorites(true)},
        {"FavoritesThroughNetscape", StoreKind::Favorites, StoreKind::Netscape, kAsFavorites,
         kAsFavorites, ""},
        {"HotlistThroughFavorites", StoreKind::Opera, StoreKind::Favorites, kAsHotlist,
         "root[ Links*[ Alpha=http://a/ Zeta=http://z/ ] Work[ Deutsche Bahn=http://db1/ "
         "Deutsche Bahn(2)=http://db2/ Q&A- x-y=http://q/ ] a=http://a2/ Ünïcödé 中文=http://u/ ]",
         IntoFavorites(false) + "Change dates dropped: 7 (Alpha, Zeta, Deutsche Bahn, ...)\n"},
        {"FavoritesThroughHotlist", StoreKind::Favorites, StoreKind::Opera, kAsFavorites,
         "root[ a=http://a2/ Links*[ Alpha=http://a/ Zeta=http://z/ ] Ünïcödé 中文=http://u/ "
         "Work[ Deutsche Bahn(2)=http://db2/ Deutsche Bahn=http://db1/ Q&A- x-y=http://q/ ] ]",
         "Change dates dropped: 7 (Alpha, Zeta, Deutsche Bahn, ...)\n", false},
        {"NetscapeThroughXbel", StoreKind::Netscape, StoreKind::Xbel, kAsNetscape, kAsXbel,
         "Toolbar folders written as ordinary folders: 1 (Bookmarks Toolbar)\n"
         "Change dates dropped: 2 (Bookmarks Toolbar, Work)\n"
         "Tags dropped: 1 (Zeta)\nKeywords dropped: 1 (Zeta)\n"},
        {"XbelThroughNetscape", StoreKind::Xbel, StoreKind::Netscape, kAsXbel, kAsXbel, ""},
        {"XbelThroughHotlist", StoreKind::Xbel, StoreKind::Opera, kAsXbel, kAsHotlistUnmarked,
         "Change dates dropped: 7 (Zeta, Alpha, Ünïcödé 中文, ...)\n"},
        {"HotlistThroughXbel", StoreKind::Opera, StoreKind::Xbel, kAsHotlist, kAsHotlistUnmarked,
         "Toolbar folders written as ordinary folders: 1 (Bookmarks Toolbar)\n"
         "Keywords dropped: 1 (Zeta)\n"},
        // Without a toolbar in the source Favorites keep the folder's name;
        // the folders' change dates XBEL cannot hold are the directories'.
        {"XbelThroughFavorites", StoreKind::Xbel, StoreKind::Favorites, kAsXbel,
         "root[ Bookmarks Toolbar[ Alpha=http://a/{0/2100} Zeta=http://z/{0/2000} ] Work[ Deutsche "
         "Bahn=http://db1/{0/2400} Deutsche Bahn(2)=http://db2/{0/2500} Q&A- x-y=http://q/{0/2200} "
         "] a=http://a2/{0/2300} Ünïcödé 中文=http://u/{0/3000} ]",
         "Names changed for the file system: 1 (\"Q&A: x/y\" -> \"Q&A- x-y\")\n"
         "Duplicate names numbered: 1 (\"Deutsche Bahn\" -> \"Deutsche Bahn(2)\")\n"
         "Separators dropped: 3 (top level, Bookmarks Toolbar, Work)\n"
         "Folders not kept in the source's order: 3 (top level, Bookmarks Toolbar, Work)\n"
         "Creation dates dropped: 3 (Alpha, Zeta, Q&A: x/y)\n"
         "Descriptions dropped: 2 (Bookmarks Toolbar, Zeta)\n"
         "Change dates dropped: 2 (Bookmarks Toolbar, Work)\n"},
        {"FavoritesThroughXbel", StoreKind::Favorites, StoreKind::Xbel, kAsFavorites,
         "root[ a=http://a2/ Links*[ Alpha=http://a/ Zeta=http://z/ ] Ünïcödé 中文=http://u/ "
         "Work[ Deutsche Bahn(2)=http://db2/ Deutsche Bahn=http://db1/ Q&A- x-y=http://q/ ] ]",
         "Toolbar folders written as ordinary folders: 1 (Links)\n"
         "Change dates dropped: 2 (Links, Work)\n",
         false},
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Pairs, KeepOrderRoundTrip, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tellavin
