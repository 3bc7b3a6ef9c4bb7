// Discovery of the browsers' own stores in fake home folders: every
// Firefox profile's database and every Chromium-family profile's Bookmarks
// file, in each layout of the browser's data folder.
#include "model/labelled_location.h"
#include "sources/browser_discovery.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// What discovery finds, one labelled location a line, with the home folder
// written "~".
std::string Found(const test::FakePlatform& platform, const fs::path& home) {
    std::string text;
    for (const auto& store : LocateBrowserDatabases(platform)) {
        auto line = LabelledLocation(store.label, store.location.path);
        auto at = line.find(home.string());
        if (at != std::string::npos) {
            line.replace(at, home.string().size(), "~");
        }
        text += line + "\n";
    }
    return text;
}

struct LayoutCase {
    const char* layout;
    std::vector<std::pair<std::string, std::string>> files; // below home: content
    std::string found;
};

TEST(BrowserDiscovery, EachBrowserFamilyInEachLayoutLabelledWithItsProfile) {
    const std::string ini = "[Profile0]\nName=work\nIsRelative=1\nPath=w.default\n"
                            "[Profile1]\nName=old\nIsRelative=1\nPath=gone.default\n";
    const LayoutCase cases[] = {
        {"Firefox classic, a profile without a database skipped",
         {{".mozilla/firefox/profiles.ini", ini}, {".mozilla/firefox/w.default/places.sqlite", ""}},
         "<Firefox work> ~/.mozilla/firefox/w.default/places.sqlite\n"},
        {"Firefox snap and flatpak",
         {{"snap/firefox/common/.mozilla/firefox/profiles.ini", ini},
          {"snap/firefox/common/.mozilla/firefox/w.default/places.sqlite", ""},
          {".var/app/org.mozilla.firefox/.mozilla/firefox/profiles.ini", ini},
          {".var/app/org.mozilla.firefox/.mozilla/firefox/w.default/places.sqlite", ""}},
         "<Firefox work> ~/snap/firefox/common/.mozilla/firefox/w.default/places.sqlite\n"
         "<Firefox work> ~/.var/app/org.mozilla.firefox/.mozilla/firefox/w.default/"
         "places.sqlite\n"},
        {"Chromium profiles named by Local State, Default first",
         {{".config/chromium/Profile 1/Bookmarks", ""},
          {".config/chromium/Default/Bookmarks", ""},
          {".config/chromium/System Profile/Preferences", ""},
          {".config/chromium/Local State",
           R"({"profile": {"info_cache": {"Profile 1": {"name": "Work"}}}})"}},
         "<Chromium Default> ~/.config/chromium/Default/Bookmarks\n"
         "<Chromium Work> ~/.config/chromium/Profile 1/Bookmarks\n"},
        {"Chrome, Edge, Brave and Vivaldi in the configuration folder",
         {{".config/google-chrome/Default/Bookmarks", ""},
          {".config/microsoft-edge/Default/Bookmarks", ""},
          {".config/BraveSoftware/Brave-Browser/Default/Bookmarks", ""},
          {".config/vivaldi/Default/Bookmarks", ""}},
         "<Chrome Default> ~/.config/google-chrome/Default/Bookmarks\n"
         "<Edge Default> ~/.config/microsoft-edge/Default/Bookmarks\n"
         "<Brave Default> ~/.config/BraveSoftware/Brave-Browser/Default/Bookmarks\n"
         "<Vivaldi Default> ~/.config/vivaldi/Default/Bookmarks\n"},
        {"snap and flatpak Chromium-family browsers, a broken Local State ignored",
         {{"snap/chromium/common/chromium/Default/Bookmarks", ""},
          {"snap/chromium/common/chromium/Local State", "{not json"},
          {"snap/brave/current/.config/BraveSoftware/Brave-Browser/Default/Bookmarks", ""},
          {".var/app/com.google.Chrome/config/google-chrome/Default/Bookmarks", ""}},
         "<Chromium Default> ~/snap/chromium/common/chromium/Default/Bookmarks\n"
         "<Brave Default> ~/snap/brave/current/.config/BraveSoftware/Brave-Browser/Default/"
         "Bookmarks\n"
         "<Chrome Default> ~/.var/app/com.google.Chrome/config/google-chrome/Default/"
         "Bookmarks\n"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto home = dir.path() / "home";
        fs::create_directories(home);
        for (const auto& [file, content] : row.files) {
            test::WriteFile(home / file, content);
        }
        test::FakePlatform platform;
        platform.folders[SpecialFolder::Home] = home.string();
        platform.folders[SpecialFolder::AppData] = (home / ".config").string();
        EXPECT_EQ(Found(platform, home), row.found) << row.layout;
    }
}

TEST(BrowserDiscovery, AUserDataFolderReachedTwiceIsSearchedOnce) {
    test::TempDir dir;
    auto home = dir.path() / "home";
    test::WriteFile(home / ".config/chromium/Default/Bookmarks", "");
    fs::create_directories(home / "snap/chromium/common");
    fs::create_directory_symlink(home / ".config/chromium", home / "snap/chromium/common/chromium");
    test::FakePlatform platform;
    platform.folders[SpecialFolder::Home] = home.string();
    platform.folders[SpecialFolder::AppData] = (home / ".config").string();
    EXPECT_EQ(Found(platform, home), "<Chromium Default> ~/.config/chromium/Default/Bookmarks\n");
}

// A profile folder that is the target of an export is named by its browser
// and its profile's name; a Chromium-family one outside every browser's
// folders is taken as Chromium's, and a profile without a name under its
// folder's name.
TEST(BrowserDiscovery, AProfileFolderIsNamedByItsBrowserAndItsProfile) {
    test::TempDir dir;
    auto home = dir.path() / "home";
    test::WriteFile(home / ".config/google-chrome/Local State",
                    R"({"profile": {"info_cache": {"Profile 1": {"name": "Work"}}}})");
    test::WriteFile(home / ".mozilla/firefox/profiles.ini",
                    "[Profile0]\nName=work\nIsRelative=1\nPath=w.default\n");
    test::WriteFile(home / ".mozilla/firefox/w.default/places.sqlite", "");
    test::FakePlatform platform;
    platform.folders[SpecialFolder::Home] = home.string();
    platform.folders[SpecialFolder::AppData] = (home / ".config").string();
    const std::tuple<StoreKind, fs::path, std::string> rows[] = {
        {StoreKind::Chromium, home / ".config/google-chrome/Profile 1", "Chrome Work"},
        {StoreKind::Chromium, home / ".config/google-chrome/Profile 2/", "Chrome Profile 2"},
        {StoreKind::Chromium, home / ".config/vivaldi/Default", "Vivaldi Default"},
        {StoreKind::Chromium, dir.path() / "copied/Default", "Chromium Default"},
        {StoreKind::Firefox, home / ".mozilla/firefox/w.default", "Firefox work"},
        {StoreKind::Firefox, dir.path() / "copied/x.default", "Firefox x.default"},
    };
    for (const auto& [kind, folder, named] : rows) {
        fs::create_directories(folder);
        auto identity = IdentifyBrowserProfile(kind, folder.string(), platform);
        EXPECT_EQ(identity.browser + " " + identity.profile, named) << folder;
    }
}

} // namespace
} // namespace tellavin
