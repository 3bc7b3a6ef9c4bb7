// Exports added to a Chromium-family profile's bookmarks file: what lands
// where, read back whole; what was there stays the same JSON; refusals
// write nothing.
#include "support/chromium_files.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/backup_copy.h"
#include "targets/chromium_checksum.h"
#include "targets/chromium_json.h"
#include "targets/chromium_writer.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using test::ReadFile;
using test::TempDir;

constexpr std::time_t kNow = 1'800'000'000; // 15 Jan 2027

// root[ alpha 日本=… Zebra 🦓=…<keyword, tags> News{dates}<description>[ Daily <b>{dates}
// --- ] Toolbar*[ T ] ]
BookmarkTree SourceTree() {
    return test::TreeFromEvents(
        [](BookmarkSink& sink) {
            sink.AddLink("Zebra 🦓", "https://zebra.example/");
            sink.SetLinkKeyword("z");
            sink.SetLinkTags({"animals"});
            sink.BeginFolder("News");
            sink.SetFolderDates(1'500'000'000, 1'500'000'100);
            sink.SetFolderDescription("Daily papers");
            sink.AddLink("Daily <b> \"q\"", "http://news.example/?a=1&b=<2>");
            sink.SetLinkDates(1'600'000'000, 1'600'000'500);
            sink.AddSeparator();
            sink.EndFolder();
            sink.AddLink("alpha 日本", "http://alpha.example/");
            sink.BeginFolder("Toolbar");
            sink.MarkToolbarFolder();
            sink.AddLink("T", "http://t.example/");
            sink.EndFolder();
        },
        StoreKind::Netscape);
}

// A message with the temporary folder written as "P" and, on Windows, its
// path separators as "/".
std::string WithFolderAsP(std::string text, const fs::path& dir) {
    for (auto at = text.find(dir.string()); at != std::string::npos; at = text.find(dir.string())) {
        text.replace(at, dir.string().size(), "P");
    }
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    return text;
}

// The written file's name, the tree read back from it, the losses and the
// place and the advice, with the temporary folder written as "P".
std::string Outcome(const ExportResult& result, const ChromiumProfileFiles& store,
                    const fs::path& dir) {
    auto text = fs::path(store.bookmarksFile).filename().string() + ": " +
                test::ChromiumTreeText(store.bookmarksFile) + "\nroots";
    auto roots = Json::parse(ReadFile(store.bookmarksFile)).at("roots");
    for (const char* key : {"bookmark_bar", "other", "synced"}) {
        text += " " + roots.at(key).value("id", "") + "/" + roots.at(key).value("guid", "");
    }
    for (const auto& line : result.losses.Lines()) {
        text += "\n" + line;
    }
    text += "\nadded to " + result.sPlaceName;
    if (!result.sNewFolder.empty()) {
        text += " > " + result.sNewFolder;
    }
    for (const auto& line : result.advice) {
        text += "\n" + WithFolderAsP(line, dir);
    }
    return text;
}

struct AddCase {
    const char* profile;
    BrowserRoot place;
    const char* newFolder; // nullptr: straight into the root
    bool keepOrder;
    std::string expected;
};

// The filled fixture's bar and other bookmarks, as Chromium wrote them.
const std::string kFilledBar =
    "Emoji 😀 <b> & \"quoted\"=https://example.com/emoji?a=1&b=2{1655526400/0} "
    "日本語のフォルダ{1655526400/0}[ "
    "東京 – Tōkyō=https://example.jp/%E6%9D%B1{1655526400/0} Deeper{1655526400/0}[ "
    "Deep link=http://example.com/deep{1655526400/0} ] ] Empty{1655526400/0}[ ] ";
const std::string kFilledOther =
    "Ünïcode Ω=http://example.org/%C3%BC{1655526400/0} Work 👷{1655526400/0}[ "
    "Intranet=http://intranet.example/{1655526400/0} ] ";
const std::string kFilledRoots = "roots 10/0bc5d13f-2cba-5d74-951f-3f233fe6c908 "
                                 "14/82b081ec-3dd3-529c-8475-ab6c344590dd "
                                 "15/4cf2e351-0e85-532b-bb37-df045d8f8d0f\n";
// The source tree in display order (folders first, links by name) and in
// its own order; links and folders without a date get the time of the
// export.
const std::string kSorted =
    "News{1500000000/1500000100}[ Daily <b> \"q\"=http://news.example/?a=1&b=<2>{1600000000/0} ] "
    "Toolbar{1800000000/1800000000}[ "
    "T=http://t.example/{1800000000/0} ] alpha 日本=http://alpha.example/{1800000000/0} "
    "Zebra 🦓=https://zebra.example/{1800000000/0} ";
const std::string kKept =
    "Zebra 🦓=https://zebra.example/{1800000000/0} News{1500000000/1500000100}[ "
    "Daily <b> \"q\"=http://news.example/?a=1&b=<2>{1600000000/0} ] "
    "alpha 日本=http://alpha.example/{1800000000/0} Toolbar{1800000000/1800000000}[ "
    "T=http://t.example/{1800000000/0} ] ";
const std::string kLosses = "Toolbar folders written as ordinary folders: 1 (Toolbar)\n"
                            "Separators dropped: 1 (News)\n"
                            "Change dates dropped: 1 (Daily <b> \"q\")\n"
                            "Descriptions dropped: 1 (News)\n"
                            "Tags dropped: 1 (Zebra 🦓)\n"
                            "Keywords dropped: 1 (Zebra 🦓)\n";

TEST(ChromiumWriter, AddsTheExportToTheProfilesStoreAndKeepsWhatWasThere) {
    const AddCase cases[] = {
        // A new file as the browser starts one, with its roots' ids and
        // GUIDs; no backup of a file that was not there.
        {"empty", BrowserRoot::Other, "Imported", false,
         "Bookmarks: root[ Bookmarks bar*{1800000000/0}[ ] Imported{1800000000/1800000000}[ " +
             kSorted + "] ]\n" +
             "roots 1/0bc5d13f-2cba-5d74-951f-3f233fe6c908 2/82b081ec-3dd3-529c-8475-ab6c344590dd "
             "3/4cf2e351-0e85-532b-bb37-df045d8f8d0f\n" +
             kLosses +
             "added to Other bookmarks > Imported\n"
             "The bookmarks were added to \"P/Default/Bookmarks\"."},
        // Straight into the bar, after what it holds, in the source's order.
        {"filled", BrowserRoot::Bar, nullptr, true,
         "Bookmarks: root[ Bookmarks bar*{1655526400/0}[ " + kFilledBar + kKept + "] " +
             kFilledOther + "]\n" + kFilledRoots + kLosses +
             "added to Bookmarks bar\n"
             "The bookmarks were added to \"P/Default/Bookmarks\"."},
        // Firefox's menu, which the browser has not, goes to the other
        // bookmarks.
        {"filled", BrowserRoot::Menu, "Imported", false,
         "Bookmarks: root[ Bookmarks bar*{1655526400/0}[ " + kFilledBar + "] " + kFilledOther +
             "Imported{1800000000/1800000000}[ " + kSorted + "] ]\n" + kFilledRoots + kLosses +
             "added to Other bookmarks > Imported\n"
             "The bookmarks were added to \"P/Default/Bookmarks\"."},
        {"account-only", BrowserRoot::Other, "Imported", false,
         "AccountBookmarks: root[ Bookmarks bar*{1655526400/0}[ " + kFilledBar + "] " +
             kFilledOther + "Imported{1800000000/1800000000}[ " + kSorted + "] ]\n" + kFilledRoots +
             kLosses +
             "added to Other bookmarks > Imported\n"
             "The bookmarks were added to \"P/Default/AccountBookmarks\".\n"
             "This file holds the bookmarks of the account signed in to the browser: sync may "
             "change them once the browser starts."},
        // An account store with empty roots is not the store.
        {"account-empty", BrowserRoot::Bar, "Imported", true,
         "Bookmarks: root[ Bookmarks bar*{1655526400/0}[ " + kFilledBar +
             "Imported{1800000000/1800000000}[ " + kKept + "] ] " + kFilledOther + "]\n" +
             kFilledRoots + kLosses +
             "added to Bookmarks bar > Imported\n"
             "The bookmarks were added to \"P/Default/Bookmarks\"."},
    };
    for (const auto& row : cases) {
        TempDir dir;
        auto profile = test::CopyChromiumProfile(row.profile, dir.path());
        auto store = ChromiumBookmarksOf(profile);
        bool existed = fs::exists(store.bookmarksFile);
        auto bytes = existed ? ReadFile(store.bookmarksFile) : std::string();
        auto before = existed ? Json::parse(bytes) : Json{{"roots", Json::object()}};
        auto tree = SourceTree();
        WriteOptions options;
        options.place = row.place;
        if (row.newFolder != nullptr) {
            options.newFolder = row.newFolder;
        }
        options.keepOrder = row.keepOrder;
        NullProgress progress;
        auto result = WriteChromiumBookmarks(tree, store, options, kNow, progress);
        ASSERT_TRUE(result.ok) << test::MessageText(result.message);
        EXPECT_EQ(Outcome(result, store, dir.path()), row.expected) << row.profile;
        auto backup = TimedBackupPathFor(store.bookmarksFile, kNow);
        EXPECT_EQ(existed ? bytes : "(none)", fs::exists(backup) ? ReadFile(backup) : "(none)");
        EXPECT_EQ(result.sBackupPath, existed ? backup : "");
        test::ExpectExportKept(before, ReadFile(store.bookmarksFile),
                               row.place == BrowserRoot::Bar ? "bookmark_bar" : "other");
    }
}

struct RefusalCase {
    const char* name;
    const char* profile;
    const char* bookmarks;      // the file's content, nullptr: as the fixture has it
    std::int32_t nestedFolders; // the source's folders, each inside the one before
    const char* expected;
};

TEST(ChromiumWriter, RefusesWhatItCannotAddToAndWritesNothing) {
    const RefusalCase cases[] = {
        {"cut short", "empty", "{\"roots\": {\"bookmark_bar\": {", 1,
         "Error: \"P/Default/Bookmarks\" is not a Chromium Bookmarks file.\n"
         "The file was left unchanged."},
        {"no roots", "empty", "{\"version\": 1}", 1,
         "Error: \"P/Default/Bookmarks\" is not a Chromium Bookmarks file.\n"
         "The file was left unchanged."},
        {"no other bookmarks", "empty", "{\"roots\": {\"bookmark_bar\": {\"children\": []}}}", 1,
         "Error: \"P/Default/Bookmarks\" is not a Chromium Bookmarks file.\n"
         "The file was left unchanged."},
        // Seven ids are left below the largest 64-bit number, the browser
        // needs one; the export needs seven.
        {"ids at the top", "high-ids", nullptr, 5,
         "Error: Cannot add to \"P/Default/Bookmarks\":\n"
         "its bookmarks' numbers leave no room for new ones. The file was left unchanged."},
        // The file's own nesting and the new folder take six levels, each
        // folder two more and the link one: 96 folders fit.
        {"nested too deep", "filled", nullptr, 97,
         "Error: Cannot add to \"P/Default/Bookmarks\":\n"
         "its folders would lie inside one another deeper than the browser reads. The file was "
         "left unchanged."},
    };
    for (const auto& row : cases) {
        TempDir dir;
        auto profile = test::CopyChromiumProfile(row.profile, dir.path());
        auto store = ChromiumBookmarksOf(profile);
        if (row.bookmarks != nullptr) {
            test::WriteFile(store.bookmarksFile, row.bookmarks);
        }
        auto backup = TimedBackupPathFor(store.bookmarksFile, kNow);
        auto before = ReadFile(store.bookmarksFile);
        auto tree = test::TreeFromEvents([&](BookmarkSink& sink) {
            for (std::int32_t i = 0; i < row.nestedFolders; ++i) {
                sink.BeginFolder("F" + std::to_string(i));
            }
            sink.AddLink("Deepest", "http://deep.example/");
            for (std::int32_t i = 0; i < row.nestedFolders; ++i) {
                sink.EndFolder();
            }
        });
        WriteOptions options;
        options.newFolder = "Imported";
        auto result = WriteChromiumBookmarks(tree, store, options, kNow, test::NoProgress());
        EXPECT_FALSE(result.ok) << row.name;
        auto text = result.message.title + ": " + test::MessageText(result.message);
        EXPECT_EQ(WithFolderAsP(text, dir.path()), row.expected) << row.name;
        EXPECT_EQ(ReadFile(store.bookmarksFile), before) << row.name;
        EXPECT_FALSE(fs::exists(backup)) << row.name;
    }
}

// Two exports within one second each leave a backup of their own: the
// earlier one is never replaced.
TEST(ChromiumWriter, ASecondExportInTheSameSecondKeepsTheFirstBackup) {
    TempDir dir;
    auto store = ChromiumBookmarksOf(test::CopyChromiumProfile("filled", dir.path()));
    auto tree = test::TreeFromEvents(
        [](BookmarkSink& sink) { sink.AddLink("Once", "http://once.example/"); });
    std::vector<std::string> states{ReadFile(store.bookmarksFile)};
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(WriteChromiumBookmarks(tree, store, {}, kNow, test::NoProgress()).ok);
        states.push_back(ReadFile(store.bookmarksFile));
    }
    auto first = TimedBackupPathFor(store.bookmarksFile, kNow);
    EXPECT_EQ(ReadFile(first), states[0]);
    EXPECT_EQ(ReadFile(first + "-2"), states[1]);
}

// Files Chromium wrote: the corpus's (when it is beside the checkout) and
// the fixtures Debian's Chromium made with emoji, CJK and nested folders.
// Each holds the checksum computed here, and laid out again it gives the
// same bytes.
TEST(ChromiumChecksum, MatchesWhatChromiumStoredAndTheLayoutIsChromiums) {
    std::vector<fs::path> files;
    for (const char* fixture : {"filled/Bookmarks", "account-empty/AccountBookmarks",
                                "account-empty/Bookmarks", "high-ids/Bookmarks"}) {
        files.push_back(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "chromium" / fixture);
    }
    if (auto corpus = test::CorpusDir(); !corpus.empty()) {
        for (const auto& entry : fs::directory_iterator(corpus / "chromium")) {
            files.push_back(entry.path());
        }
    }
    for (const auto& file : files) {
        auto bytes = ReadFile(file);
        auto document = Json::parse(bytes);
        EXPECT_EQ(ChromiumChecksum(document.at("roots")), document.at("checksum")) << file;
#ifdef _WIN32
        // Chromium ends its lines with CR LF on Windows.
        for (auto at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 2)) {
            bytes.insert(at, 1, '\r');
        }
#endif
        EXPECT_EQ(ChromiumJsonText(document), bytes) << file;
    }
}

} // namespace
} // namespace tellavin
