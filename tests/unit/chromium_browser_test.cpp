// Exports added to a profile, loaded by Debian's Chromium: it shows every
// link in its folder under the ids written, and saves the file again as
// this program wrote it.
#include "sources/chromium_profile.h"
#include "support/chromium_files.h"
#include "support/devtools_pipe.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/chromium_checksum.h"
#include "targets/chromium_json.h"
#include "targets/chromium_writer.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using test::ReadFile;

constexpr const char* kChromium = "/usr/bin/chromium";

// The tree as the page lists it below: "id:name[ ... ]" for a folder,
// "id:name=url" for a link, the roots in turn.
std::string NodeText(const Json& node) {
    auto text = node.value("id", "") + ":" + node.value("name", "");
    if (node.value("type", "") == "url") {
        return text + "=" + node.value("url", "");
    }
    text += "[ ";
    for (const auto& child : node.value("children", Json::array())) {
        text += NodeText(child) + " ";
    }
    return text + "]";
}

// The browser lists the mobile bookmarks only when they hold any.
std::string FileTreeText(const Json& document) {
    const auto& roots = document.at("roots");
    auto text = NodeText(roots.at("bookmark_bar")) + " " + NodeText(roots.at("other"));
    if (!roots.at("synced").at("children").empty()) {
        text += " " + NodeText(roots.at("synced"));
    }
    return text;
}

// Chromium's bookmarks API, as its own bookmarks page has it, waited for
// while the page loads.
constexpr const char* kTreeScript = R"((async () => {
  for (let i = 0; i < 400 && !(globalThis.chrome && chrome.bookmarks); i++) {
    await new Promise((done) => setTimeout(done, 50));
  }
  const [root] = await chrome.bookmarks.getTree();
  const text = (n) => n.url !== undefined ? `${n.id}:${n.title}=${n.url}`
      : `${n.id}:${n.title}[ ${n.children.map((c) => text(c) + ' ').join('')}]`;
  return root.children.map(text).join(' ');
})())";

// Evaluates a script in the browser's bookmarks page; its value, or the
// error.
std::string InBookmarksPage(test::DevToolsBrowser& browser, const std::string& script) {
    auto target = browser.Call("Target.createTarget", {{"url", "chrome://bookmarks/"}});
    auto attached =
        browser.Call("Target.attachToTarget",
                     {{"targetId", target.value(Json::json_pointer("/result/targetId"), "")},
                      {"flatten", true}});
    auto session = attached.value(Json::json_pointer("/result/sessionId"), "");
    // The first evaluation may meet the page before it is navigated there.
    Json answer;
    for (int attempt = 0; attempt < 5; ++attempt) {
        answer = browser.Call(
            "Runtime.evaluate",
            {{"expression", script}, {"awaitPromise", true}, {"returnByValue", true}}, session);
        if (answer.contains(Json::json_pointer("/result/result/value"))) {
            return answer.at(Json::json_pointer("/result/result/value")).dump();
        }
    }
    return answer.dump();
}

struct BrowserCase {
    const char* profile;
    bool encryptedCopy; // let Chromium make its encrypted copy first
};

TEST(ChromiumBrowser, ChromiumLoadsTheExportUnderItsIdsAndSavesItAsWritten) {
    if (!fs::exists(kChromium)) {
        GTEST_SKIP() << kChromium << " is not installed";
    }
    const BrowserCase cases[] = {{"empty", false}, {"filled", true}};
    for (const auto& row : cases) {
        test::TempDir dir;
        auto profile = test::CopyChromiumProfile(row.profile, dir.path());
        if (row.encryptedCopy) {
            // The browser makes its encrypted copy once it has loaded the
            // bookmarks, which its bookmarks page waits for; a slow machine
            // may take a while to write it.
            test::DevToolsBrowser first(kChromium, dir.path().string());
            ASSERT_TRUE(first.Started());
            InBookmarksPage(first, kTreeScript);
            const auto copy = fs::path(profile) / kChromiumEncryptedBookmarksFile;
            for (int wait = 0; wait < 100 && !fs::exists(copy); ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
            EXPECT_TRUE(first.Quit());
        }
        auto store = ChromiumBookmarksOf(profile);
        EXPECT_EQ(store.hasEncryptedCopy, row.encryptedCopy) << row.profile;
        auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
            sink.AddLink("Emoji 😀 <b> \"q\"", "https://example.com/?a=1&b=2");
            sink.BeginFolder("日本語");
            sink.AddLink("東京", "https://example.jp/%E6%9D%B1");
            sink.BeginFolder("Inner");
            sink.AddLink("Deep", "http://deep.example/");
            sink.EndFolder();
            sink.EndFolder();
        });
        WriteOptions options;
        options.place = BrowserRoot::Bar;
        options.newFolder = "Imported";
        auto result =
            WriteChromiumBookmarks(tree, store, options, 1'800'000'000, test::NoProgress());
        ASSERT_TRUE(result.ok) << test::MessageText(result.message);
        const auto written = ReadFile(store.bookmarksFile);
        const auto document = Json::parse(written);

        test::DevToolsBrowser browser(kChromium, dir.path().string());
        ASSERT_TRUE(browser.Started());
        EXPECT_EQ(InBookmarksPage(browser, kTreeScript), Json(FileTreeText(document)).dump())
            << row.profile;
        EXPECT_EQ(ChromiumRunsOnProfile(profile), std::optional<bool>(true)) << row.profile;
        // A bookmark of its own makes the browser save the whole file.
        auto otherId = document.at("roots").at("other").value("id", "");
        InBookmarksPage(browser, "chrome.bookmarks.create({parentId: '" + otherId +
                                     "', title: 'Marker', url: 'https://marker.example/'})"
                                     ".then(() => 'made')");
        EXPECT_TRUE(browser.Quit()) << row.profile;
        EXPECT_EQ(ChromiumRunsOnProfile(profile), std::optional<bool>(false)) << row.profile;

        // Without the marker and the other root's change time it made, the
        // saved file is the written one, byte for byte.
        auto saved = Json::parse(ReadFile(store.bookmarksFile));
        EXPECT_EQ(saved.at("checksum"), ChromiumChecksum(saved.at("roots"))) << row.profile;
        auto& other = saved["roots"]["other"];
        ASSERT_EQ(other["children"].back().value("name", ""), "Marker") << row.profile;
        other["children"].erase(other["children"].size() - 1);
        other["date_modified"] = document.at("roots").at("other").at("date_modified");
        saved["checksum"] = ChromiumChecksum(saved.at("roots"));
        EXPECT_EQ(ChromiumJsonText(saved), written) << row.profile;
    }
}

} // namespace
} // namespace tellavin
