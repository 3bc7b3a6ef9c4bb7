#include "conversion/export_checks.h"
#include "support/fake_platform.h"
#include "support/named_process.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

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
        const auto& path = *std::ranges::find(kConversionPaths, code, &ConversionPathInfo::code);
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
    OutcomeKind kind;
    std::string title;
    std::vector<std::string> lines;
};

// The refusal's kind, and the message the windows show for it.
void ExpectRefusal(const std::optional<Outcome>& refusal, const Expected& expected) {
    ASSERT_TRUE(refusal.has_value()) << "expected \"" << expected.title << "\"";
    EXPECT_EQ(refusal->kind, expected.kind);
    auto message = MessageFor(*refusal);
    EXPECT_EQ(message.title, expected.title);
    EXPECT_EQ(message.lines, expected.lines);
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
}

const std::vector<std::string> kFileGoneLines = {"The Selected Bookmark File Does Not Exist.",
                                                 "Please, Select Another Bookmark File."};
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
                {OutcomeKind::SourceMissing,
                 "Selected Folder Does Not Exist",
                 {"The Selected Folder Does Not Exist.", "Please, Select Another Folder."}});
        }
    }
}

TEST(CheckBeforeExport, MissingSourceFile) {
    Stores stores;
    for (auto code : {kFirefoxToFavorites, kOperaToFavorites, kFirefoxToMenu, kFirefoxToOpera,
                      kOperaToFirefox}) {
        auto input = stores.Input(code);
        input.source.path = stores.dir / "gone.html";
        for (bool sourceOnly : {true, false}) {
            ExpectRefusal(
                CheckBeforeExport(input, sourceOnly, stores.platform),
                {OutcomeKind::SourceMissing, "Bookmark File Does Not Exist", kFileGoneLines});
        }
    }
}

TEST(CheckBeforeExport, SourceOnlyLooksAtNothingElse) {
    Stores stores;
    stores.MakeReadOnly(kBookmarkFile);
    stores.platform.processNames = std::vector<std::string>{"firefox"};
    auto input = stores.Input(kFavoritesToFirefox);
    EXPECT_FALSE(CheckBeforeExport(input, true, stores.platform));
    ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                  {OutcomeKind::TargetReadOnly, "Read-Only Bookmark File", kReadOnlyLines});
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
                      {OutcomeKind::TargetReadOnly, "Read-Only Bookmark File", kReadOnlyLines});

        // Merging into a file that is gone, even in a folder that is gone,
        // reports the file.
        input.target.path = stores.dir / "nowhere/bookmarks.html";
        ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                      {OutcomeKind::TargetMissing, "Bookmark File Does Not Exist", kFileGoneLines});

        // Without merging, the missing folder is reported with the path first.
        input.merge = false;
        ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                      {OutcomeKind::TargetFolderMissing,
                       "Warning",
                       {input.target.path, "The Path of the Selected Bookmark File Does Not Exist.",
                        "Please, Select Another Destination."}});

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
                  {OutcomeKind::SubfolderMissing,
                   "Selected Subfolder Does Not Exist",
                   {"The Selected Subfolder Where To Export The Bookmarks",
                    "Does Not Exist Anymore. Please, Change Selection."}});
    // The sub-folder only counts when the export goes into it.
    input.intoExistingSubfolder = false;
    EXPECT_FALSE(CheckBeforeExport(input, false, stores.platform));
    input.target.path = stores.dir / "NoFavorites";
    ExpectRefusal(CheckBeforeExport(input, false, stores.platform),
                  {OutcomeKind::TargetFolderMissing,
                   "Selected Subfolder Does Not Exist",
                   {"The Selected Folder Where To Export The Bookmarks",
                    "Does Not Exist Anymore. Please, Change Selection."}});
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
            {OutcomeKind::TargetFolderMissing,
             "Warning",
             {input.target.path, "The Path of the Selected DHTML Menu File Does Not Exist.",
              "Please, Select Another Destination."}});
    }
    stores.MakeReadOnly("menu.html");
    ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToMenu), false, stores.platform),
                  {OutcomeKind::TargetReadOnly,
                   "Read-Only Bookmark File",
                   {"The Selected DHTML Menu File is Read-Only.",
                    "Please, Select Another Bookmark File or Change Attribute."}});
}

TEST(CheckBeforeExport, OnlyTheTargetBrowserCounts) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox-esr", "opera"};
    ExpectRefusal(CheckBeforeExport(stores.Input(kFirefoxToOpera), false, stores.platform),
                  {OutcomeKind::BrowserRunning, "Opera is running", kOperaRunningLines});
    ExpectRefusal(CheckBeforeExport(stores.Input(kOperaToFirefox), false, stores.platform),
                  {OutcomeKind::BrowserRunning, "Firefox is running", kFirefoxRunningLines});
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFirefoxToFavorites), false, stores.platform));

    for (const char* name : {"firefox", "FIREFOX.EXE", "firefox-bin"}) {
        stores.platform.processNames = std::vector<std::string>{name};
        ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToFirefox), false, stores.platform),
                      {OutcomeKind::BrowserRunning, "Firefox is running", kFirefoxRunningLines});
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
                  {OutcomeKind::BrowserStateUnknown,
                   "Unable to Check Firefox",
                   {"Unable to find out whether the Firefox browser is running:",
                    "the list of running programs cannot be read.",
                    "The bookmarks are not exported to Firefox while this is unknown."}});
    ExpectRefusal(CheckBeforeExport(stores.Input(kFavoritesToOpera), false, stores.platform),
                  {OutcomeKind::BrowserStateUnknown,
                   "Unable to Check Opera",
                   {"Unable to find out whether the Opera browser is running:",
                    "the list of running programs cannot be read.",
                    "The bookmarks are not exported to Opera while this is unknown."}});
    // Targets that are no browser's store need no process list.
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kOperaToFavorites), false, stores.platform));
    EXPECT_FALSE(CheckBeforeExport(stores.Input(kFirefoxToMenu), false, stores.platform));
}

TEST(CheckBeforeExport, RealReadOnlyFileAndRealRunningBrowser) {
    Stores stores;
    auto input = stores.Input(kFavoritesToFirefox);
    stores.MakeReadOnly(kBookmarkFile);
    ExpectRefusal(CheckBeforeExport(input, false, SystemPlatform()),
                  {OutcomeKind::TargetReadOnly, "Read-Only Bookmark File", kReadOnlyLines});

    if (!SystemPlatform().ListProcessNames()) {
        GTEST_SKIP() << "this system has no readable process list";
    }
    // A profile folder anywhere is Firefox's: it holds prefs.js.
    WriteFile(stores.dir.path() / "profile/prefs.js", "");
    input.target.path = stores.dir / "profile/new.html";
    test::NamedProcess firefox(stores.dir.path() / "bin", "firefox");
    auto refusal = CheckBeforeExport(input, false, SystemPlatform());
    ExpectRefusal(refusal,
                  {OutcomeKind::BrowserRunning, "Firefox is running", kFirefoxRunningLines});
    // A file elsewhere, meant for another browser, is written meanwhile.
    input.target.path = stores.dir / "for-chromium.html";
    EXPECT_FALSE(CheckBeforeExport(input, false, SystemPlatform()));
}

TEST(CheckBeforeExport, ARunningBrowserOnlyGuardsItsOwnFolders) {
    Stores stores;
    stores.platform.processNames = std::vector<std::string>{"firefox", "opera"};
    const Expected firefox{OutcomeKind::BrowserRunning, "Firefox is running", kFirefoxRunningLines};
    const Expected opera{OutcomeKind::BrowserRunning, "Opera is running", kOperaRunningLines};
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
            EXPECT_FALSE(refusal.has_value()) << MessageFor(*refusal).title;
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
                      {OutcomeKind::TargetNotAllowed,
                       "Browser Database",
                       {input.target.path, "writing a browser's own database is not supported"}});
    }
}

} // namespace
} // namespace tellavin
