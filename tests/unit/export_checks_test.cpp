#include "conversion/export_checks.h"
#include "support/fake_platform.h"
#include "support/named_process.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

// Path codes by source and target.
constexpr ConversionPath kFavoritesToFirefox = 2;
constexpr ConversionPath kFirefoxToFavorites = 4;
constexpr ConversionPath kFavoritesToMenu = 5;
constexpr ConversionPath kFirefoxToMenu = 6;
constexpr ConversionPath kFavoritesToOpera = 7;
constexpr ConversionPath kFirefoxToOpera = 8;
constexpr ConversionPath kOperaToFavorites = 9;
constexpr ConversionPath kOperaToFirefox = 10;

// Where the user's bookmark file and hotlist lie below the home folder: in
// Firefox's and Opera's own folders.
constexpr const char* kBookmarkFile = ".mozilla/firefox/p.default/bookmarks.html";
constexpr const char* kHotlist = ".opera/opera6.adr";

// A file beside another one.
std::string Beside(const std::string& file, const std::string& name) {
    return (fs::path(file).parent_path() / name).string();
}

// The stores of one user, all present: a Favorites folder with a sub-folder,
// a bookmark file, a hotlist and a menu page; the temporary folder is the
// user's home.
class Stores {
public:
    Stores() {
        platform.folders[SpecialFolder::Home] = dir.path().string();
        fs::create_directories(dir.path() / "Favorites/Links");
        WriteFile(dir.path() / kBookmarkFile, "x");
        WriteFile(dir.path() / kHotlist, "x");
        WriteFile(dir.path() / "menu.html", "x");
    }
    ExportCheckInput Input(ConversionPath code) const {
        auto path = FindConversionPath(code).value();
        auto pathOf = [&](StoreKind kind) {
            switch (kind) {
            case StoreKind::Favorites:
                return dir / "Favorites";
            case StoreKind::Opera:
                return dir / kHotlist;
            case StoreKind::Menu:
                return dir / "menu.html";
            default:
                return dir / kBookmarkFile;
            }
        };
        ExportCheckInput input;
        input.source = {path.source, pathOf(path.source)};
        input.target = {path.target, pathOf(path.target)};
        return input;
    }
    void MakeReadOnly(const std::string& name) const {
        fs::permissions(dir.path() / name,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }

    TempDir dir;
    test::FakePlatform platform;
};

struct Expected {
    std::string title;
    std::vector<std::string> lines;
    std::string focus;
    RefusalResets resets;
};

void ExpectRefusal(const std::optional<ExportRefusal>& refusal, const Expected& expected) {
    ASSERT_TRUE(refusal.has_value()) << "expected \"" << expected.title << "\"";
    EXPECT_EQ(refusal->message.title, expected.title);
    EXPECT_EQ(refusal->message.lines, expected.lines);
    EXPECT_EQ(refusal->message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(refusal->focus, expected.focus);
    EXPECT_EQ(refusal->resets.list, expected.resets.list);
    EXPECT_EQ(refusal->resets.selectFirstTab, expected.resets.selectFirstTab);
    EXPECT_EQ(refusal->resets.whatCaption, expected.resets.whatCaption);
}

const std::vector<std::string> kFileGoneLines = {
    "The Selected Bookmark File Does Not Exist Anymore.", "Please, Select Another Bookmark File."};
const std::vector<std::string> kReadOnlyLines = {
    "The Selected Bookmark File is Read-Only.",
    "Please, Select Another Bookmark File or Change Attribute."};
const std::vector<std::string> kFirefoxRunningLines = {
    "The Firefox browser appears to be running.", "In order to export the bookmarks to Firefox,",
    "it is necessary to close all the Firefox browsers."};
const std::vector<std::string> kOperaRunningLines = {
    "The Opera browser appears to be running.", "In order to export the bookmarks to Opera,",
    "it is necessary to close all the Opera browsers."};

TEST(CheckBeforeExport, EveryPathPassesWhenAllIsWell) {
    Stores stores;
    for (const auto& path : kConversionPaths) {
        EXPECT_FALSE(CheckBeforeExport(stores.Input(path.code), false, stores.platform))
            << "path " << path.code;
        EXPECT_FALSE(CheckBeforeExport(stores.Input(path.code), true, stores.platform))
            << "path " << path.code;
    }
}

TEST(CheckBeforeExport, MissingSourceFolder) {
    Stores stores;
    for (auto code : {kFavoritesToFirefox, kFavoritesToOpera, kFavoritesToMenu}) {
        auto input = stores.Input(code);
        input.source.path = stores.dir / "Gone";
        for (bool sourceOnly : {true, false}) {
            ExpectRefusal(
                CheckBeforeExport(input, sourceOnly, stores.platform),
                {"Selected Folder Does Not Exist",
                 {"The Selected Folder Does Not Exist.", "Please, Select Another Folder."},
                 "",
                 {}});
        }
    }
}

TEST(CheckBeforeExport, MissingSourceFileEmptiesTheListThatHoldsIt) {
    Stores stores;
    const Expected fromMainList{"Bookmark File Does Not Exist",
                                kFileGoneLines,
                                "cboNNLoc",
                                {"cboNNLoc", true, "What to Export: (0 Folders && 0 Links)"}};
    for (auto code : {kFirefoxToFavorites, kOperaToFavorites, kFirefoxToMenu}) {
        auto input = stores.Input(code);
        input.source.path = stores.dir / "gone.html";
        ExpectRefusal(CheckBeforeExport(input, true, stores.platform), fromMainList);
    }
    // The Firefox-Opera window keeps its source in a list of its own.
    for (auto code : {kFirefoxToOpera, kOperaToFirefox}) {
        auto input = stores.Input(code);
        input.source.path = stores.dir / "gone.html";
        ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                      {"Bookmark File Does Not Exist",
                       kFileGoneLines,
                       "cboFromLoc",
                       {"cboFromLoc", true, "What to Export: (0 Folders && 0 Links)"}});
    }
}

TEST(CheckBeforeExport, SourceOnlyLooksAtNothingElse) {
    Stores stores;
    stores.MakeReadOnly(kBookmarkFile);
    stores.platform.processNames = std::vector<std::string>{"firefox"};
    auto input = stores.Input(kFavoritesToFirefox);
    EXPECT_FALSE(CheckBeforeExport(input, true, stores.platform));
    ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                  {"Read-Only Bookmark File", kReadOnlyLines, "", {}});
}

TEST(CheckBeforeExport, FileTargetChecksInOrder) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox", "opera"};
    for (auto code : {kFavoritesToFirefox, kFavoritesToOpera, kOperaToFirefox, kFirefoxToOpera}) {
        SCOPED_TRACE(code);
        auto input = stores.Input(code);
        input.merge = true;

        // Read-only comes first, even with the browser running.
        auto readOnly = stores.dir / "readonly.html";
        WriteFile(readOnly, "x");
        stores.MakeReadOnly("readonly.html");
        input.target.path = readOnly;
        ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                      {"Read-Only Bookmark File", kReadOnlyLines, "", {}});

        // Merging into a file that is gone, even in a folder that is gone,
        // reports the file.
        input.target.path = stores.dir / "nowhere/bookmarks.html";
        ExpectRefusal(
            CheckBeforeExport(input, false, stores.platform),
            {"Bookmark File Does Not Exist", kFileGoneLines, "cboNNLoc", {"cboNNLoc", true, ""}});

        // Without merging, the missing folder is reported with the path first.
        input.merge = false;
        ExpectRefusal(
            CheckBeforeExport(input, false, stores.platform),
            {"Warning",
             {input.target.path, "The Path of the Selected Bookmark File Does Not Exists.",
              "Please, Select Another Destination."},
             "cboNNLoc",
             {}});

        // A new file in an existing folder may be written once the browser
        // has closed.
        input.target.path = Beside(stores.Input(code).target.path, "new.html");
        EXPECT_TRUE(CheckBeforeExport(input, false, stores.platform));
        test::FakePlatform closed;
        EXPECT_FALSE(CheckBeforeExport(input, false, closed));
    }
}

TEST(CheckBeforeExport, FavoritesTarget) {
    Stores stores;
    auto input = stores.Input(kFirefoxToFavorites);
    input.intoExistingSubfolder = true;
    input.existingSubfolder = "Links";
    EXPECT_FALSE(CheckBeforeExport(input, false, stores.platform));
    input.existingSubfolder = "Gone";
    ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                  {"Selected Subfolder Does Not Exist",
                   {"The Selected Subfolder Where To Export The Bookmarks",
                    "Does Not Exist Anymore. Please, Change Selection."},
                   "",
                   {}});
    // The sub-folder only counts when the export goes into it.
    input.intoExistingSubfolder = false;
    EXPECT_FALSE(CheckBeforeExport(input, false, stores.platform));
    input.target.path = stores.dir / "NoFavorites";
    ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                  {"Selected Subfolder Does Not Exist",
                   {"The Selected Folder Where To Export The Bookmarks",
                    "Does Not Exist Anymore. Please, Change Selection."},
                   "",
                   {}});
}

TEST(CheckBeforeExport, MenuTarget) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox", "opera"};
    for (auto code : {kFavoritesToMenu, kFirefoxToMenu}) {
        auto input = stores.Input(code);
        EXPECT_FALSE(CheckBeforeExport(input, false, stores.platform)); // no browser counts
        input.target.path = stores.dir / "nowhere/menu.html";
        ExpectRefusal(
            CheckBeforeExport(input, false, stores.platform),
            {"Warning",
             {input.target.path, "The Path of the Selected DHTML Menu File Does Not Exists.",
              "Please, Select Another Destination."},
             "cboDHTMLLoc",
             {}});
    }
    stores.MakeReadOnly("menu.html");
    ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToMenu), false, stores.platform),
                  {"Read-Only Bookmark File",
                   {"The Selected DHTML Menu File is Read-Only.",
                    "Please, Select Another Bookmark File or Change Attribute."},
                   "",
                   {}});
}

TEST(CheckBeforeExport, OnlyTheTargetBrowserCounts) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox-esr", "opera"};
    ExpectRefusal(CheckBeforeExport(stores.Input(kFirefoxToOpera), false, stores.platform),
                  {"Opera is running", kOperaRunningLines, "", {}});
    ExpectRefusal(CheckBeforeExport(stores.Input(kOperaToFirefox), false, stores.platform),
                  {"Firefox is running", kFirefoxRunningLines, "", {}});
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFirefoxToFavorites), false, stores.platform));

    for (const char* name : {"firefox", "FIREFOX.EXE", "firefox-bin"}) {
        stores.platform.processNames = std::vector<std::string>{name};
        ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToFirefox), false, stores.platform),
                      {"Firefox is running", kFirefoxRunningLines, "", {}});
        EXPECT_FALSE(CheckBeforeExport(stores.Input(kFavoritesToOpera), false, stores.platform));
    }
    stores.platform.processNames = std::vector<std::string>{"firefox.exe.bak", "operamail"};
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFavoritesToFirefox), false, stores.platform));
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFavoritesToOpera), false, stores.platform));
}

TEST(CheckBeforeExport, AnUncheckableBrowserIsNotTakenForClosed) {
    Stores stores;
    stores.platform.processNames.reset();
    ExpectRefusal(CheckBeforeExport(stores.Input(kOperaToFirefox), false, stores.platform),
                  {"Unable to Check Firefox",
                   {"Unable to find out whether the Firefox browser is running:",
                    "the list of running programs cannot be read.",
                    "The bookmarks are not exported to Firefox while this is unknown."},
                   "",
                   {}});
    ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToOpera), false, stores.platform),
                  {"Unable to Check Opera",
                   {"Unable to find out whether the Opera browser is running:",
                    "the list of running programs cannot be read.",
                    "The bookmarks are not exported to Opera while this is unknown."},
                   "",
                   {}});
    // Targets that are no browser's store need no process list.
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kOperaToFavorites), false, stores.platform));
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFirefoxToMenu), false, stores.platform));
}

TEST(CheckBeforeExport, RealReadOnlyFileAndRealRunningBrowser) {
    Stores stores;
    auto input = stores.Input(kFavoritesToFirefox);
    stores.MakeReadOnly(kBookmarkFile);
    ExpectRefusal(CheckBeforeExport(input, false, SystemPlatform()),
                  {"Read-Only Bookmark File", kReadOnlyLines, "", {}});

    if (!SystemPlatform().ListProcessNames()) {
        GTEST_SKIP() << "this system has no readable process list";
    }
    // A profile folder anywhere is Firefox's: it holds prefs.js.
    WriteFile(stores.dir.path() / "profile/prefs.js", "");
    input.target.path = stores.dir / "profile/new.html";
    test::NamedProcess firefox(stores.dir.path() / "bin", "firefox");
    auto refusal = CheckBeforeExport(input, false, SystemPlatform());
    ExpectRefusal(refusal, {"Firefox is running", kFirefoxRunningLines, "", {}});
    // A file elsewhere, meant for another browser, is written meanwhile.
    input.target.path = stores.dir / "for-chromium.html";
    EXPECT_FALSE(CheckBeforeExport(input, false, SystemPlatform()));
}

TEST(CheckBeforeExport, InputFromTheSharedState) {
    SessionState state;
    state.code = kFirefoxToOpera;
    state.favoritesFolder = "/f";
    state.sourceFile = "/s.html";
    state.destinationFile = "/d.adr";
    state.menuFile = "/m.html";
    auto input = ExportCheckInputFrom(state);
    EXPECT_EQ(std::tie(input.source.kind, input.source.path, input.target.kind, input.target.path),
              std::make_tuple(StoreKind::Netscape, "/s.html", StoreKind::Opera, "/d.adr"));
    state.code = kFavoritesToMenu;
    input = ExportCheckInputFrom(state);
    EXPECT_EQ(std::tie(input.source.kind, input.source.path, input.target.kind, input.target.path),
              std::make_tuple(StoreKind::Favorites, "/f", StoreKind::Menu, "/m.html"));
    EXPECT_FALSE(input.merge);
    EXPECT_FALSE(input.intoExistingSubfolder);
}

TEST(CheckBeforeExport, ARunningBrowserOnlyGuardsItsOwnFolders) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox", "opera"};
    const Expected firefox{"Firefox is running", kFirefoxRunningLines, "", {}};
    const Expected opera{"Opera is running", kOperaRunningLines, "", {}};
    struct Case {
        ConversionPath code;
        std::string target; // below the home folder
        std::optional<Expected> refusal;
    };
    const Case cases[] = {
        {kFavoritesToFirefox, ".mozilla/firefox/p.default/new.html", firefox},
        {kFavoritesToFirefox, "snap/firefox/common/.mozilla/firefox/p/new.html", firefox},
        {kFavoritesToFirefox, ".config/mozilla/firefox/new.html", firefox},
        {kFavoritesToFirefox, "Documents/for-chromium.html", std::nullopt},
        {kOperaToFirefox, "bookmarks.html", std::nullopt},
        {kFavoritesToOpera, ".opera/new.adr", opera},
        {kFirefoxToOpera, "Documents/elsewhere.adr", std::nullopt},
    };
    stores.platform.folders[SpecialFolder::AppData] = (stores.dir.path() / ".config").string();
    for (const auto& row : cases) {
        SCOPED_TRACE(row.target);
        fs::create_directories((stores.dir.path() / row.target).parent_path());
        auto input = stores.Input(row.code);
        input.target.path = stores.dir / row.target;
        auto refusal = CheckBeforeExport(input, false, stores.platform);
        if (row.refusal) {
            ExpectRefusal(refusal, *row.refusal);
        } else {
            EXPECT_FALSE(refusal.has_value()) << refusal->message.title;
        }
    }
}

TEST(CheckBeforeExport, ABrowsersOwnDatabaseIsNoTarget) {
    Stores stores;
    const auto data = fs::path(TELLAVIN_TEST_DATA) / "browsers";
    for (auto [code, fixture] :
         {std::pair{kFavoritesToFirefox, "nested-folders-tags-queries.sqlite"},
          {kOperaToFirefox, "chromium-nested-roots.json"},
          {kFavoritesToOpera, "nested-folders-tags-queries.sqlite"}}) {
        SCOPED_TRACE(fixture);
        auto input = stores.Input(code);
        input.target.path = stores.dir / fixture;
        fs::copy_file(data / fixture, input.target.path, fs::copy_options::overwrite_existing);
        ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                      {"Browser Database",
                       {"writing a browser's own database is not supported"},
                       "cboNNLoc",
                       {}});
    }
}

} // namespace
} // namespace tellavin
