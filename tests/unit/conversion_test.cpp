// Every conversion path through the one entry point, on real stores in a
// temporary folder, each result read back as a whole tree.
#include "conversion/conversion.h"
#include "settings/exported_total.h"
#include "sources/source_loader.h"
#include "support/fake_platform.h"
#include "support/listing.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif
#include "platform/folder_lock.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <utility>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kSourceText =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Bookmarks</H1>\n<DL><p>\n"
    "<DT><A HREF=\"http://top/\">Top</A>\n"
    "<DT><H3>News</H3>\n<DL><p>\n"
    "<DT><A HREF=\"http://daily/\" SHORTCUTURL=\"dp\" TAGS=\"news\">Daily</A>\n"
    "<DD>Morning paper\n"
    "<DT><H3>Deep</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\">X</A>\n</DL><p>\n"
    "</DL><p>\n"
    "<DT><H3>Work</H3>\n<DL><p>\n<DT><A HREF=\"http://w/\">W</A>\n</DL><p>\n"
    "</DL><p>\n";
const std::string kOldText = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                             "<DT><A HREF=\"http://old/\">Old</A>\n</DL><p>\n";

const std::string kWhole = "[ Top News[ Daily Deep[ X ] ] Work[ W ] ]";
// News and Deep checked, of their links only Daily.
const std::string kSelected = "[ News[ Daily Deep[ ] ] ]";

enum class Mode { New, Merge, NewFolder, ExistingFolder, Backup };

struct Row {
    StoreKind source;
    StoreKind target;
    Mode mode;
    bool selection;
};

// The tree below the root, whose name each kind of store gives its own way;
// withDetails adds each link's description, keyword and tags, where it has
// any.
std::string StoreText(const StoreLocation& store, bool withDetails = false) {
    BookmarkTree tree;
    if (!LoadSourceTree(store, tree)) {
        return "(unreadable)";
    }
    auto text = test::TreeText(tree);
    text.erase(0, text.find('['));
    for (const auto& row : tree.EntryTable) {
        const auto& details = tree.DetailsOf(row);
        if (withDetails && row.IsLink() && row.nDetails >= 0) {
            text += " | " + std::string(row.sName) + ": " + std::string(details.description) +
                    " / " + std::string(details.keyword) + " / " + std::string(details.tags);
        }
    }
    return text;
}

class Conversions : public ::testing::Test {
protected:
    Conversions() {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin"; // the settings file goes there
    }

    // The sample tree in a store of the kind, made from the Netscape-format
    // text through the entry point itself.
    StoreLocation Source(StoreKind kind) {
        auto netscape = StoreLocation{StoreKind::Netscape, dir / "source-text.html"};
        WriteFile(netscape.path, kSourceText);
        if (kind == StoreKind::Netscape) {
            return netscape;
        }
        return Made(netscape, kind, "source");
    }

    // A fresh store of the kind holding what the Netscape-format file holds.
    StoreLocation Made(const StoreLocation& from, StoreKind kind, const std::string& name) {
        auto extension = kind == StoreKind::Opera  ? ".adr"
                         : kind == StoreKind::Xbel ? ".xbel"
                                                   : ".html";
        StoreLocation store{kind, dir / (name + extension)};
        fs::remove_all(store.path);
        if (kind == StoreKind::Netscape) {
            fs::copy_file(from.path, store.path);
            return store;
        }
        if (kind == StoreKind::Favorites) {
            fs::create_directories(store.path);
        }
        ConversionRequest request;
        request.source = from;
        request.target = store;
        EXPECT_TRUE(RunConversion(request, platform, progress).Complete());
        return store;
    }

    ExportResult Run(ConversionRequest request) {
        return RunConversion(request, platform, progress);
    }

    TempDir dir;
    test::FakePlatform platform;
    NullProgress progress;
};

// What Daily carries in the target: its description and keyword where
// both stores hold them (an XBEL file holds no keyword), its tags only from
// one bookmark file into another.
std::string DailyDetails(const Row& row) {
    auto holds = [](StoreKind kind) { return kind != StoreKind::Favorites; };
    if (!holds(row.source) || !holds(row.target)) {
        return "";
    }
    bool keyword = row.source != StoreKind::Xbel && row.target != StoreKind::Xbel;
    bool tags = row.source == StoreKind::Netscape && row.target == StoreKind::Netscape;
    return " | Daily: Morning paper / " + std::string(keyword ? "dp" : "") + " / " +
           std::string(tags ? "news" : "");
}

// What the target holds afterwards. A Favorites target holds the empty
// sub-folder Zub beforehand, which sorts last; a file target one link, Old.
std::string Expected(const Row& row) {
    auto exported = row.selection ? kSelected : kWhole;
    auto inner = exported.substr(1, exported.size() - 3); // without the outer brackets
    std::string zub = row.target == StoreKind::Favorites ? " Zub[ ]" : "";
    switch (row.mode) {
    case Mode::Merge:
        return "[ Old" + inner + " ]" + DailyDetails(row);
    case Mode::NewFolder:
        return "[ Imported" + exported + zub + " ]" + DailyDetails(row);
    case Mode::ExistingFolder:
        return "[ Zub" + exported + " ]" + DailyDetails(row);
    default:
        return "[" + inner + zub + " ]" + DailyDetails(row);
    }
}

TEST_F(Conversions, EveryPathEveryChoiceReadsBackAsAWholeTree) {
    const StoreKind kinds[] = {StoreKind::Favorites, StoreKind::Netscape, StoreKind::Opera,
                               StoreKind::Xbel};
    std::vector<Row> rows;
    for (auto source : kinds) {
        for (auto target : kinds) {
            bool file = target != StoreKind::Favorites;
            for (bool selection : {false, true}) {
                for (auto mode : {Mode::New, Mode::Merge, Mode::NewFolder, Mode::ExistingFolder,
                                  Mode::Backup}) {
                    bool fileOnly = mode == Mode::Merge || mode == Mode::Backup;
                    if (file ? mode == Mode::ExistingFolder : fileOnly) {
                        continue;
                    }
                    if (mode == Mode::Merge && !TraitsOf(target).merges) {
                        continue;
                    }
                    rows.push_back({source, target, mode, selection});
                }
            }
        }
    }
    // All and selection; 8 into mergeable files, 4 into XBEL files (replaced
    // only), 4 into Favorites.
    ASSERT_EQ(rows.size(), 2u * (8 * 4 + 4 * 3 + 4 * 3));
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(StoreKindName(row.source)) + " to " +
                     std::string(StoreKindName(row.target)) + " mode " +
                     std::to_string(static_cast<int>(row.mode)) +
                     (row.selection ? " selection" : " all"));
        StoreLocation target{StoreKind::Favorites, dir / "fav"};
        std::string before;
        if (row.target == StoreKind::Favorites) {
            fs::remove_all(target.path);
            fs::create_directories(fs::path(target.path) / "Zub");
        } else {
            WriteFile(dir.path() / "old.html", kOldText);
            target = Made({StoreKind::Netscape, dir / "old.html"}, row.target, "target");
            before = ReadFile(target.path);
        }

        ConversionRequest request;
        request.source = Source(row.source);
        request.target = target;
        BookmarkTree checked;
        if (row.selection) {
            ASSERT_TRUE(LoadSourceTree(request.source, checked));
            for (std::int32_t node = 1; node < checked.NodeCount(); ++node) {
                const auto& name = checked.Node(node).Text;
                checked.Node(node).Checked = name == "News" || name == "Deep";
                checked.EnsureListed(node);
                for (auto& link : checked.Rows(node)) {
                    link.bChecked = link.sName == "Daily";
                }
            }
            request.tree = &checked;
            request.options.exportAll = false;
        }
        request.options.merge = row.mode == Mode::Merge;
        request.options.backup = row.mode == Mode::Backup;
        if (row.mode == Mode::NewFolder) {
            request.options.newFolder = "Imported";
        }
        if (row.mode == Mode::ExistingFolder) {
            request.options.existingFolder = "Zub";
        }
        auto result = Run(request);
        ASSERT_TRUE(result.Complete()) << test::MessageText(result.message) << result.sFirstFailure;
        EXPECT_EQ(StoreText(target, true), Expected(row));
        if (row.mode == Mode::Backup) {
            EXPECT_EQ(ReadFile(fs::path(target.path).parent_path() /
                               ("Backup_of_" + fs::path(target.path).filename().string())),
                      before);
        }
    }
}

TEST_F(Conversions, MenuPagesFromEveryKindShowTheSourceTotals) {
    for (auto kind : {StoreKind::Favorites, StoreKind::Netscape, StoreKind::Opera}) {
        SCOPED_TRACE(StoreKindName(kind));
        ConversionRequest request;
        request.source = Source(kind);
        request.target = {StoreKind::Menu, dir / "menu.html"};
        request.menu.bShowStatistics = true;
        auto totalBefore = AddToExportedTotal(platform, 0);
        auto result = Run(request);
        ASSERT_TRUE(result.Complete()) << result.message;
        EXPECT_EQ(std::make_pair(result.nFoldersWritten, result.nLinksWritten),
                  std::make_pair(3, 4));
        EXPECT_NE(ReadFile(dir.path() / "menu.html").find("(3 folders and 4 links)."),
                  std::string::npos);
        EXPECT_EQ(AddToExportedTotal(platform, 0), totalBefore + result.nMenuItems);
    }
}

// A browser's own store, named by its profile folder, converts into every
// kind of file store. A Favorites folder sorts, and calls the bookmarks bar
// "Links".
TEST_F(Conversions, BrowserProfilesConvertIntoEveryStore) {
    struct Profile {
        StoreKind kind;
        const char* fixture;
        const char* file;
        std::string tree;
        std::string favorites;
    };
    const Profile profiles[] = {
        {StoreKind::Firefox, "nested-folders-tags-queries.sqlite", "places.sqlite",
         "[  Zürich – Ünïcode Bookmarks Toolbar[ Toolbar link Tools[ 日本語 ] ] Empty[ ] "
         "Mobile Bookmarks[ Phone link ] Nested[ After separator Deep[ Deep link ] ] "
         "Other Bookmarks[ Unfiled link ] ]",
         "[  Zürich – Ünïcode Empty[ ] Links[ Toolbar link Tools[ 日本語 ] ] "
         "Mobile Bookmarks[ Phone link ] Nested[ After separator Deep[ Deep link ] ] "
         "Other Bookmarks[ Unfiled link ] ]"},
        {StoreKind::Chromium, "chromium-nested-roots.json", "Bookmarks",
         "[ Phone Ünïcode – 日本語 Bookmarks bar[ Bar link Empty[ ] Nested[ Deep[ Deep link ] ] ] "
         "Other folder[ Inner ] ]",
         "[ Phone Ünïcode – 日本語 Links[ Bar link Empty[ ] Nested[ Deep[ Deep link ] ] ] "
         "Other folder[ Inner ] ]"},
        // A backup is named by its file; it holds the bookmarks of the
        // Firefox fixture above.
        {StoreKind::FirefoxBackup, "firefox-backup/nested-folders-tags-queries.jsonlz4",
         "bookmarks-2026-12-07_8_x.jsonlz4",
         "[  Zürich – Ünïcode Bookmarks Toolbar[ Toolbar link Tools[ 日本語 ] ] Empty[ ] "
         "Mobile Bookmarks[ Phone link ] Nested[ After separator Deep[ Deep link ] ] "
         "Other Bookmarks[ Unfiled link ] ]",
         "[  Zürich – Ünïcode Empty[ ] Links[ Toolbar link Tools[ 日本語 ] ] "
         "Mobile Bookmarks[ Phone link ] Nested[ After separator Deep[ Deep link ] ] "
         "Other Bookmarks[ Unfiled link ] ]"},
    };
    for (const auto& profile : profiles) {
        auto folder = dir.path() / StoreKindName(profile.kind);
        fs::create_directories(folder);
        fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / profile.fixture,
                      folder / profile.file, fs::copy_options::overwrite_existing);
        for (auto kind : {StoreKind::Favorites, StoreKind::Netscape, StoreKind::Opera}) {
            SCOPED_TRACE(std::string(StoreKindName(profile.kind)) + " to " +
                         std::string(StoreKindName(kind)));
            StoreLocation target{kind, dir / ("from-browser." + std::string(StoreKindName(kind)))};
            fs::remove_all(target.path);
            if (kind == StoreKind::Favorites) {
                fs::create_directories(target.path);
            }
            ConversionRequest request;
            request.source = {profile.kind, profile.kind == StoreKind::FirefoxBackup
                                                ? (folder / profile.file).string()
                                                : folder.string()};
            request.target = target;
            ASSERT_TRUE(Run(request).ok);
            EXPECT_EQ(StoreText(target),
                      kind == StoreKind::Favorites ? profile.favorites : profile.tree);
        }
    }
}

// Every store goes into a closed browser profile, by default into a new
// folder named after the source in the other bookmarks, else where asked;
// what the profile held stays. The Chromium reader shows the other
// bookmarks at the top level, the Firefox reader shows them as a folder.
TEST_F(Conversions, EveryStoreIntoABrowserProfileLandsWhereAsked) {
    struct Row {
        StoreKind source;
        StoreKind target;
        BrowserRoot place;
        bool noNewFolder;
        std::string expected; // with D for the date in the new folder's name
    };
    const std::string inner = kWhole.substr(1, kWhole.size() - 3);
    const Row rows[] = {
        {StoreKind::Favorites, StoreKind::Chromium, BrowserRoot::Other, false,
         "[ Bookmarks bar[ ] Imported from IE (D)[" + inner + " ] ]"},
        {StoreKind::Netscape, StoreKind::Chromium, BrowserRoot::Other, false,
         "[ Bookmarks bar[ ] Imported from FF (D)[" + inner + " ] ]"},
        {StoreKind::Opera, StoreKind::Chromium, BrowserRoot::Bar, true,
         "[ Bookmarks bar[" + inner + " ] ]"},
        {StoreKind::Chromium, StoreKind::Chromium, BrowserRoot::Other, false,
         "[ Bookmarks bar[ ] Imported from Chromium (D)[ Top Bookmarks bar[ ] News[ Daily Deep[ "
         "X ] ] Work[ W ] ] ]"},
        {StoreKind::Opera, StoreKind::Firefox, BrowserRoot::Other, false,
         "[ Other Bookmarks[ Imported from Opera (D)[" + inner + " ] ] ]"},
        {StoreKind::Netscape, StoreKind::Firefox, BrowserRoot::Menu, true, "[" + inner + " ]"},
        {StoreKind::Firefox, StoreKind::Firefox, BrowserRoot::Bar, false,
         "[ Bookmarks Toolbar[ Imported from Firefox (D)[" + inner + " ] ] ]"},
    };
    auto profile = [&](StoreKind kind, const std::string& name) {
        auto folder = dir.path() / name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (kind == StoreKind::Firefox) {
            fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-86-empty.sqlite",
                          folder / "places.sqlite");
        }
        return StoreLocation{kind, folder.string()};
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(StoreKindName(row.source)) + " to " +
                     std::string(StoreKindName(row.target)));
        ConversionRequest request;
        if (IsBrowserStoreKind(row.source)) {
            // The sample tree, straight into the menu of a profile of its own.
            request.source = profile(row.source, "source-profile");
            request.target = request.source;
            request.source = Source(StoreKind::Netscape);
            request.options.noNewFolder = true;
            request.options.place =
                row.source == StoreKind::Firefox ? BrowserRoot::Menu : BrowserRoot::Other;
            ASSERT_TRUE(Run(request).ok);
            request.source = request.target;
            request.options = {};
        } else {
            request.source = Source(row.source);
        }
        request.target = profile(row.target, "target-profile");
        request.options.place = row.place;
        request.options.noNewFolder = row.noNewFolder;
        auto result = Run(request);
        ASSERT_TRUE(result.ok) << test::MessageText(result.message);
        auto expected = row.expected;
        if (auto at = expected.find("(D)"); at != std::string::npos) {
            auto name = ImportFolderName(row.source, std::time(nullptr));
            expected.replace(at, 3, name.substr(name.find('(')));
        }
        EXPECT_EQ(StoreText(request.target), expected);
    }
}

// Every file and folder below dir with each file's bytes: the targets,
// their backups, the settings file with the exported-items total.
std::string Snapshot(const fs::path& dir) {
    std::string text;
    for (const auto& name : test::Listing(dir)) {
        text += name + (name.ends_with('/') ? "" : "=" + ReadFile(dir / name)) + "\n";
    }
    return text;
}

// A dry run into a browser's profile and into a bookmark file, asked for a
// backup: nothing below the folder changes, no total either, and the result
// counts what the real run then writes, joins and skips.
TEST_F(Conversions, ADryRunChangesNoFileAndCountsAsTheRealRun) {
    auto profile = dir.path() / "chromium";
    fs::create_directories(profile);
    fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "chromium-nested-roots.json",
                  profile / "Bookmarks");
    auto source = Source(StoreKind::Netscape);
    auto file = Made(source, StoreKind::Opera, "target");
    for (const auto& target : {StoreLocation{StoreKind::Chromium, profile.string()}, file}) {
        SCOPED_TRACE(StoreKindName(target.kind));
        ConversionRequest request;
        request.source = source;
        request.target = target;
        request.options.merge = target.kind == StoreKind::Opera;
        request.options.backup = true;
        request.options.newFolder = "Imported";
        auto counts = [](const ExportResult& result) {
            return std::to_string(result.ok) + " " + std::to_string(result.nFoldersWritten) + "/" +
                   std::to_string(result.nLinksWritten) + " " + result.MergeSummary() + "\n";
        };
        auto before = Snapshot(dir.path());
        request.options.dryRun = true;
        auto dry = Run(request);
        auto afterDry = Snapshot(dir.path());
        request.options.dryRun = false;
        EXPECT_EQ(afterDry + counts(dry), before + counts(Run(request)));
    }
}

// A running Opera only guards the hotlists in its own folder: the target
// becomes a copy of itself in the home folder's ".opera".
void MoveIntoOperaFolder(ConversionRequest& request, test::FakePlatform& platform) {
    auto home = fs::path(request.target.path).parent_path();
    platform.folders[SpecialFolder::Home] = home.string();
    fs::create_directories(home / ".opera");
    auto moved = home / ".opera" / "target.adr";
    fs::copy_file(request.target.path, moved, fs::copy_options::overwrite_existing);
    request.target.path = moved.string();
}

// Each refusal or failure names its reason, and the target stays byte for
// byte: an existing hotlist holding one link.
TEST_F(Conversions, RefusalsAndFailuresLeaveTheTargetAsItWas) {
    struct Case {
        const char* title;
        std::function<void(ConversionRequest&, test::FakePlatform&)> arrange;
    };
    const std::vector<Case> cases = {
        {"Backup Failed",
         [&](ConversionRequest& r, test::FakePlatform&) {
             r.options.backup = true;
             fs::create_directories(dir.path() / "Backup_of_target.adr" / "in-the-way");
         }},
        {"Read-Only Bookmark File",
         [&](ConversionRequest& r, test::FakePlatform&) {
             fs::permissions(r.target.path, fs::perms::owner_read);
         }},
        {"Bookmark File Does Not Exist",
         [&](ConversionRequest& r, test::FakePlatform&) { r.source.path = dir / "gone.html"; }},
        {"Opera is running",
         [&](ConversionRequest& r, test::FakePlatform& p) {
             MoveIntoOperaFolder(r, p);
             p.processNames = {{"opera"}};
         }},
        {"Unable to Check Opera",
         [&](ConversionRequest& r, test::FakePlatform& p) {
             MoveIntoOperaFolder(r, p);
             p.processNames.reset();
         }},
        {"Select a Bookmark File",
         [&](ConversionRequest& r, test::FakePlatform&) {
             WriteFile(r.source.path, "root:x:0:0:root:/root:/bin/bash\n");
         }},
        {"Select a Folder",
         [&](ConversionRequest& r, test::FakePlatform&) {
             r.source = {StoreKind::Favorites, dir / "EmptyFavorites"};
             fs::create_directories(r.source.path);
         }},
        {"Option Does Not Apply",
         [](ConversionRequest& r, test::FakePlatform&) { r.options.existingFolder = "x"; }},
        {"No Such Conversion",
         [&](ConversionRequest& r, test::FakePlatform&) {
             r.source = {StoreKind::Menu, r.source.path};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        WriteFile(dir.path() / "old.html", kOldText);
        ConversionRequest request;
        request.target = Made({StoreKind::Netscape, dir / "old.html"}, StoreKind::Opera, "target");
        request.source = Source(StoreKind::Netscape);
        auto before = ReadFile(request.target.path);
        test::FakePlatform refusing = platform;
        c.arrange(request, refusing);
        auto result = RunConversion(request, refusing, progress);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message.title, c.title) << result.message;
        EXPECT_EQ(ReadFile(request.target.path), before);
        fs::permissions(request.target.path, fs::perms::owner_all);
        fs::remove_all(dir.path() / "Backup_of_target.adr");
    }
}

// A target that is the source, however its path is spelt, is refused before
// anything is written: the file stays as it was and the message names it.
TEST_F(Conversions, TargetThatIsItsOwnSourceIsRefused) {
    struct Case {
        const char* what;
        StoreKind source;
        StoreKind target;
        std::function<std::string(const std::string&)> targetPath;
    };
    const std::vector<Case> cases = {
        {"menu page over its bookmark file, spelt with ./", StoreKind::Netscape, StoreKind::Menu,
         [&](const std::string&) { return dir / "./sub/../store.html"; }},
        {"Netscape-format file over its hotlist, through a hard link", StoreKind::Opera,
         StoreKind::Netscape,
         [&](const std::string& source) {
             fs::create_hard_link(source, dir.path() / "linked.html");
             return dir / "linked.html";
         }},
#ifndef _WIN32
        {"hotlist over its Netscape-format file, through a symbolic link", StoreKind::Netscape,
         StoreKind::Opera,
         [&](const std::string& source) {
             fs::create_symlink(source, dir.path() / "sub" / "alias.adr");
             return dir / "sub/alias.adr";
         }},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir.path() / "sub");
        fs::remove(dir.path() / "linked.html");
        fs::create_directories(dir.path() / "sub");
        auto made = Source(c.source);
        StoreLocation source{c.source, dir / "store.html"};
        fs::rename(made.path, source.path);
        auto before = ReadFile(source.path);
        ConversionRequest request;
        request.source = source;
        request.target = {c.target, c.targetPath(source.path)};
        request.options.backup = c.target != StoreKind::Menu;
        auto result = Run(request);
        EXPECT_EQ(result.message.title, "Source and Destination Are the Same") << result.message;
        ASSERT_FALSE(result.message.lines.empty());
        EXPECT_EQ(result.message.lines.front(), request.target.path);
        EXPECT_EQ(ReadFile(source.path), before);
        EXPECT_FALSE(fs::exists(dir.path() / "Backup_of_store.html"));
    }
}

// An export into a folder where another one is writing waits for it, says so
// while it waits, and goes on once the other is done.
TEST_F(Conversions, AnExportWaitingForAnotherOneSaysSo) {
    auto source = Source(StoreKind::Netscape);
    fs::create_directories(dir.path() / "out");
    auto held = std::make_unique<FolderLock>(dir / "out");
    ASSERT_TRUE(held->Locked());
    // Tells the test when the export starts waiting.
    struct WaitSignal final : ProgressSink {
        std::promise<void> waiting;
        void SetStatusText(const std::string& text) override {
            if (text == kWaitingForAnotherExport) {
                waiting.set_value();
            }
        }
        void SetRange(std::int32_t, std::int32_t) override {}
        void SetValue(std::int32_t) override {}
        void SetVisible(bool) override {}
    } signal;
    ConversionRequest request;
    request.source = source;
    request.target = {StoreKind::Opera, dir / "out/target.adr"};
    auto running =
        std::async(std::launch::async, [&] { return RunConversion(request, platform, signal); });
    // Released whatever happened, so the export ends either way.
    EXPECT_EQ(signal.waiting.get_future().wait_for(std::chrono::seconds(30)),
              std::future_status::ready);
    EXPECT_FALSE(fs::exists(request.target.path));
    held.reset();
    EXPECT_TRUE(running.get().Complete());
    EXPECT_EQ(StoreText(request.target), kWhole);
}

#ifndef _WIN32
// Windows sets no file-size limit on a process, so no write can be cut short this way there.
TEST_F(Conversions, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
    WriteFile(dir.path() / "old.html", kOldText);
    ConversionRequest request;
    request.target = Made({StoreKind::Netscape, dir / "old.html"}, StoreKind::Opera, "target");
    request.source = Source(StoreKind::Netscape);
    request.options.merge = true;
    auto before = ReadFile(request.target.path);
    ExportResult result;
    {
        test::FileSizeLimit limit(before.size() + 10);
        result = Run(request);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_NE(test::MessageText(result.message).find("File too large"), std::string::npos)
        << result.message;
    EXPECT_EQ(ReadFile(request.target.path), before);
}
#endif

// Exports that merge into one file at the same time each keep their links:
// one waits while the other reads, merges and replaces the file. Where the
// system has symbolic links, half of them name the file through a link from
// another folder.
TEST_F(Conversions, ConcurrentMergesIntoOneFileKeepEveryLink) {
    constexpr int kWriters = 8;
    StoreLocation target{StoreKind::Netscape, dir / "shared.html"};
    WriteFile(target.path, kOldText);
    auto targetOf = [&](int writer) {
#ifndef _WIN32
        if (writer % 2 == 1) {
            fs::create_directories(dir.path() / "elsewhere");
            auto link = dir.path() / "elsewhere" / "link.html";
            if (!fs::exists(link)) {
                fs::create_symlink(target.path, link);
            }
            return StoreLocation{StoreKind::Netscape, link.string()};
        }
#endif
        (void)writer;
        return target;
    };
    std::vector<StoreLocation> sources;
    for (int i = 0; i < kWriters; ++i) {
        sources.push_back({StoreKind::Opera, dir / ("s" + std::to_string(i) + ".adr")});
        WriteFile(sources.back().path, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=link" +
                                           std::to_string(i) + "\n\tURL=http://" +
                                           std::to_string(i) + "/\n");
    }
    std::vector<StoreLocation> targets;
    for (int i = 0; i < kWriters; ++i) {
        targets.push_back(targetOf(i));
    }
    std::vector<std::thread> writers;
    // What each writer reported when it did not finish: empty when it did.
    std::vector<std::string> failures(kWriters);
    for (int i = 0; i < kWriters; ++i) {
        writers.emplace_back([&, i] {
            ConversionRequest request;
            request.source = sources[i];
            request.target = targets[i];
            request.options.merge = true;
            NullProgress quiet;
            auto result = RunConversion(request, platform, quiet);
            if (!result.Complete()) {
                failures[i] = result.sFirstFailure;
                for (const auto& line : result.message.lines) {
                    failures[i] += line;
                }
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(failures, std::vector<std::string>(kWriters));
    BookmarkTree merged;
    ASSERT_TRUE(LoadSourceTree(target, merged));
    std::vector<std::string> names;
    for (const auto& row : merged.Rows(0)) {
        names.emplace_back(row.sName);
    }
    std::sort(names.begin(), names.end()); // the writers took their turns in any order
    EXPECT_EQ(names, (std::vector<std::string>{"Old", "link0", "link1", "link2", "link3", "link4",
                                               "link5", "link6", "link7"}));
}

} // namespace
} // namespace tellavin
