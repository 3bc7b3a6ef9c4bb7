#include "model/labelled_location.h"
#include "sources/store_discovery.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

// A fake user: a home folder in a temporary directory, with the XDG
// configuration folder inside it.
class FakeHome {
public:
    FakeHome() {
        fs::create_directories(home());
        platform.folders[SpecialFolder::Home] = home().string();
        platform.folders[SpecialFolder::AppData] = (home() / ".config").string();
    }
    fs::path home() const { return dir.path() / "home"; }
    std::string Path(const fs::path& relative) const { return (home() / relative).string(); }

    // Copies a fixture of tests/data/ini, with "@ROOT@" standing for the
    // temporary directory.
    void Install(const std::string& fixture, const fs::path& relative) const {
        auto text = test::ReadFile(fs::path(TELLAVIN_TEST_DATA) / "ini" / fixture);
        for (auto at = text.find("@ROOT@"); at != std::string::npos; at = text.find("@ROOT@")) {
            text.replace(at, 6, dir.path().string());
        }
        WriteFile(home() / relative, text);
    }
    void Bookmarks(const fs::path& relative) const {
        WriteFile(home() / relative / "bookmarks.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
    }

    TempDir dir;
    test::FakePlatform platform;
};

class StatusRecorder final : public ProgressSink {
public:
    std::vector<std::string> texts;
    void SetStatusText(const std::string& text) override { texts.push_back(text); }
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetValue(std::int32_t) override {}
    void SetVisible(bool) override {}
};

// What discovery found as the location lists show it: each store's path,
// labelled with its profile's name when it has one.
std::vector<std::string> Items(const std::vector<FoundStore>& found) {
    std::vector<std::string> items;
    for (const auto& store : found) {
        items.push_back(store.label.empty() ? store.location.path
                                            : LabelledLocation(store.label, store.location.path));
    }
    return items;
}

using Strings = std::vector<std::string>;

// Firefox

TEST(FirefoxDiscovery, TwoProfilesInSectionOrder) {
    FakeHome user;
    user.Install("profile-sections-out-of-order.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/ab612nev.default");
    user.Bookmarks(".mozilla/firefox/mz8hqsuw.default-esr");
    StatusRecorder status;

    EXPECT_EQ(Items(LocateFirefoxBookmarks(user.platform, status)),
              (Strings{"<default> " + user.Path(".mozilla/firefox/ab612nev.default/bookmarks.html"),
                       "<default-esr> " +
                           user.Path(".mozilla/firefox/mz8hqsuw.default-esr/bookmarks.html")}));
    EXPECT_EQ(status.texts, (Strings{"Retrieving Bookmark Files", "Ready"}));
}

// Each store found carries its kind, its profile's name and its path.
TEST(FirefoxDiscovery, FindsEachProfilesFileWithItsKindAndName) {
    FakeHome user;
    user.Install("profile-sections-out-of-order.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/ab612nev.default");
    user.Bookmarks(".mozilla/firefox/mz8hqsuw.default-esr");
    NullProgress status;
    std::string found;
    for (const auto& store : LocateFirefoxBookmarks(user.platform, status)) {
        found += std::string(StoreKindName(store.location.kind)) + " " + store.label + " " +
                 store.location.path + "\n";
    }
    EXPECT_EQ(found, "netscape default " +
                         user.Path(".mozilla/firefox/ab612nev.default/bookmarks.html") +
                         "\nnetscape default-esr " +
                         user.Path(".mozilla/firefox/mz8hqsuw.default-esr/bookmarks.html") + "\n");
}

TEST(FirefoxDiscovery, AProfilesFileWithByteOrderMarkAndCrLf) {
    FakeHome user;
    user.Install("profiles-bom-crlf.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/Profiles/v04swu2d.default");
    NullProgress status;

    EXPECT_EQ(Items(LocateFirefoxBookmarks(user.platform, status)),
              Strings{"<default> " +
                      user.Path(".mozilla/firefox/Profiles/v04swu2d.default/bookmarks.html")});
}

TEST(FirefoxDiscovery, ProfilesWithoutBookmarksNameOrPath) {
    FakeHome user;
    user.Install("profile-sections-out-of-order.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/mz8hqsuw.default-esr"); // the other has none
    EXPECT_EQ(Items(ProfilesFromIni(user.Path(".mozilla/firefox/"))),
              Strings{"<default-esr> " +
                      user.Path(".mozilla/firefox/mz8hqsuw.default-esr/bookmarks.html")});

    user.Install("profile-without-name.ini", "unnamed/profiles.ini");
    user.Bookmarks("unnamed/unnamed.default");
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("unnamed/"))),
              Strings{"<NoName> " + user.Path("unnamed/unnamed.default/bookmarks.html")});

    // A section without a path names no profile folder: no "/bookmarks.html"
    // at the root, no profiles.ini folder itself.
    user.Install("profile-without-path.ini", "pathless/profiles.ini");
    user.Bookmarks("pathless");
    user.Bookmarks("pathless/real.default");
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("pathless/"))),
              Strings{"<real> " + user.Path("pathless/real.default/bookmarks.html")});
}

TEST(FirefoxDiscovery, AbsoluteLongAndNonAsciiProfilePaths) {
    FakeHome user;
    user.Install("profiles-absolute-placeholder.ini", "abs/profiles.ini");
    auto stuff = user.dir.path() / "Stuff/Firefox";
    WriteFile(stuff / "Default/bookmarks.html", "x");
    WriteFile(stuff / "School/bookmarks.html", "x");
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("abs/"))),
              (Strings{"<Default> " + (stuff / "Default/bookmarks.html").string(),
                       "<School> " + (stuff / "School/bookmarks.html").string()}));

    user.Install("profile-non-ascii-path.ini", "cyr/profiles.ini");
    user.Bookmarks("cyr/test_profile_firefox_L\xD0\xAE\xD1\x88\xD1\x80");
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("cyr/"))),
              Strings{"<firefox_non-ascii> " +
                      user.Path("cyr/test_profile_firefox_L\xD0\xAE\xD1\x88\xD1\x80/"
                                "bookmarks.html")});

    // Values are not cut at 127 characters.
    std::string longName(150, 'p');
    WriteFile(user.home() / "long/profiles.ini",
              "[Profile0]\nName=long\nIsRelative=1\nPath=" + longName + "\n");
    user.Bookmarks("long/" + longName);
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("long/"))),
              Strings{"<long> " + user.Path("long/" + longName + "/bookmarks.html")});
}

TEST(FirefoxDiscovery, EveryLinuxLayoutInOrder) {
    FakeHome user;
    const char* layouts[] = {".mozilla/firefox/", ".config/mozilla/firefox/",
                             "snap/firefox/common/.mozilla/firefox/",
                             ".var/app/org.mozilla.firefox/.mozilla/firefox/"};
    EXPECT_EQ(FirefoxDataFolders(user.platform),
              (std::vector<std::string>{user.Path(layouts[0]), user.Path(layouts[1]),
                                        user.Path(layouts[2]), user.Path(layouts[3])}));

    std::vector<std::string> expected;
    for (const char* layout : layouts) {
        user.Install("profiles-bom-crlf.ini", fs::path(layout) / "profiles.ini");
        user.Bookmarks(fs::path(layout) / "Profiles/v04swu2d.default");
        expected.push_back("<default> " + user.Path(fs::path(layout) /
                                                    "Profiles/v04swu2d.default/bookmarks.html"));
    }
    NullProgress status;
    EXPECT_EQ(Items(LocateFirefoxBookmarks(user.platform, status)), expected);
}

TEST(FirefoxDiscovery, AFolderReachedTwiceIsSearchedOnce) {
    FakeHome user;
    user.Install("profiles-bom-crlf.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/Profiles/v04swu2d.default");
    fs::create_directories(user.home() / ".config/mozilla");
    fs::create_directory_symlink(user.home() / ".mozilla/firefox",
                                 user.home() / ".config/mozilla/firefox");
    NullProgress status;
    EXPECT_EQ(Items(LocateFirefoxBookmarks(user.platform, status)),
              Strings{"<default> " +
                      user.Path(".mozilla/firefox/Profiles/v04swu2d.default/bookmarks.html")});
}

TEST(FirefoxDiscovery, BrokenFilesAddNothingAndDiscoveryGoesOn) {
    FakeHome user;
    user.Install("profiles-no-sections.ini", ".mozilla/firefox/profiles.ini");
    user.Bookmarks(".mozilla/firefox/loose.default");
    // An unreadable profiles.ini: a folder of that name.
    fs::create_directories(user.home() / "snap/firefox/common/.mozilla/firefox/profiles.ini");
    // Binary rubbish.
    WriteFile(user.home() / ".config/mozilla/firefox/profiles.ini",
              std::string("\0\xFF\xFE[\x01", 5));
    user.Install("profiles-bom-crlf.ini",
                 ".var/app/org.mozilla.firefox/.mozilla/firefox/profiles.ini");
    user.Bookmarks(".var/app/org.mozilla.firefox/.mozilla/firefox/Profiles/v04swu2d.default");
    StatusRecorder status;

    EXPECT_EQ(Items(LocateFirefoxBookmarks(user.platform, status)),
              Strings{"<default> " + user.Path(".var/app/org.mozilla.firefox/.mozilla/firefox/"
                                               "Profiles/v04swu2d.default/bookmarks.html")});
    EXPECT_EQ(status.texts.back(), "Ready");
    EXPECT_EQ(Items(ProfilesFromIni(user.Path("nowhere/"))), Strings{});
}

TEST(FirefoxDiscovery, NoHomeFindsNothing) {
    test::FakePlatform platform;
    NullProgress status;
    EXPECT_TRUE(FirefoxDataFolders(platform).empty());
    EXPECT_EQ(Items(LocateFirefoxBookmarks(platform, status)), Strings{});
}

TEST(FirefoxDiscovery, CorpusProfileFiles) {
    auto corpus = test::CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no shared corpus";
    }
    FakeHome user;
    auto install = [&](const char* name, const fs::path& folder) {
        fs::create_directories(user.home() / folder);
        fs::copy_file(corpus / "ini" / name, user.home() / folder / "profiles.ini");
        return user.Path(folder) + "/";
    };
    Strings found;
    auto add = [&](const std::string& dir) {
        auto items = Items(ProfilesFromIni(dir));
        found.insert(found.end(), items.begin(), items.end());
    };
    auto esr = install("firefox-profiles-linux-install-esr.ini", "esr");
    user.Bookmarks("esr/ab612nev.default");
    user.Bookmarks("esr/mz8hqsuw.default-esr");
    add(esr);
    auto win = install("firefox-profiles-win-install-first.ini", "win");
    user.Bookmarks("win/Profiles/mauville.default");
    add(win);
    auto thunderbird = install("thunderbird-profiles-win-crlf.ini", "tb");
    user.Bookmarks("tb/Profiles/v04swu2d.default");
    add(thunderbird);
    auto cyrillic = install("firefox-profiles-fixture-nonascii.ini", "cyr");
    user.Bookmarks("cyr/test_profile_firefox_L\xD0\xAE\xD1\x88\xD1\x80");
    user.Bookmarks("cyr/test_profile_firefox_144");
    add(cyrillic);
    // Absolute paths of a template user that does not exist here.
    auto absolute = install("firefox-profiles-absolute-template.ini", "abs");
    add(absolute);

    EXPECT_EQ(found,
              (Strings{"<default> " + esr + "ab612nev.default/bookmarks.html",
                       "<default-esr> " + esr + "mz8hqsuw.default-esr/bookmarks.html",
                       "<default-release> " + win + "Profiles/mauville.default/bookmarks.html",
                       "<default> " + thunderbird + "Profiles/v04swu2d.default/bookmarks.html",
                       "<firefox_non-ascii> " + cyrillic +
                           "test_profile_firefox_L\xD0\xAE\xD1\x88\xD1\x80/bookmarks.html",
                       "<firefox_144> " + cyrillic + "test_profile_firefox_144/bookmarks.html"}));
}

// Opera

TEST(OperaDiscovery, Opera12HotlistNamedThroughAFolderMacro) {
    FakeHome user;
    user.Install("operaprefs-bom-crlf-macro.ini", ".opera/operaprefs.ini");
    WriteFile(user.home() / ".opera/priv/opera6.adr", "Opera Hotlist version 2.0\n");
    WriteFile(user.home() / ".opera/bookmarks.adr", "Opera Hotlist version 2.0\n");

    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)),
              Strings{user.Path(".opera/priv/opera6.adr")});
    EXPECT_EQ(HotlistNamedInPreferences(user.Path(".opera/operaprefs.ini"), user.home().string()),
              user.Path(".opera/priv/opera6.adr"));
}

TEST(OperaDiscovery, Opera9UsesTheDefaultHotlist) {
    FakeHome user;
    user.Install("opera6-without-hotlist-key.ini", ".opera/opera6.ini");
    WriteFile(user.home() / ".opera/opera6.adr", "Opera Hotlist version 2.0\n");

    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)), Strings{user.Path(".opera/opera6.adr")});
    EXPECT_EQ(HotlistNamedInPreferences(user.Path(".opera/opera6.ini"), user.home().string()), "");
}

TEST(OperaDiscovery, NewerPreferencesWinAndMissingHotlistsFallBack) {
    FakeHome user;
    user.Install("opera6-hotlist-elsewhere.ini", ".opera/opera6.ini");
    WriteFile(user.dir.path() / "shared/team.adr", "Opera Hotlist version 2.0\n");
    user.Install("operaprefs-bom-crlf-macro.ini", ".opera/operaprefs.ini");
    WriteFile(user.home() / ".opera/priv/opera6.adr", "Opera Hotlist version 2.0\n");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)),
              Strings{user.Path(".opera/priv/opera6.adr")});

    // The newer preferences name a hotlist that is gone: the older ones count.
    fs::remove(user.home() / ".opera/priv/opera6.adr");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)),
              Strings{(user.dir.path() / "shared/team.adr").string()});

    // Neither names an existing file: the default names of the folder.
    fs::remove(user.dir.path() / "shared/team.adr");
    WriteFile(user.home() / ".opera/bookmarks.adr", "x");
    WriteFile(user.home() / ".opera/opera6.adr", "x");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)), Strings{user.Path(".opera/bookmarks.adr")});
}

TEST(OperaDiscovery, WithoutPreferencesTheDefaultHotlistIsFound) {
    FakeHome user;
    WriteFile(user.home() / ".opera/bookmarks.adr", "x");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)), Strings{user.Path(".opera/bookmarks.adr")});
}

TEST(OperaDiscovery, UnreadablePreferencesAndNoHotlistFindNothing) {
    FakeHome user;
    fs::create_directories(user.home() / ".opera/operaprefs.ini"); // unreadable
    user.Install("opera6-without-hotlist-key.ini", ".opera/opera6.ini");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)), Strings{});
    test::FakePlatform homeless;
    EXPECT_EQ(Items(LocateOperaHotlist(homeless)), Strings{});
}

TEST(OperaDiscovery, CorpusPreferenceFiles) {
    auto corpus = test::CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no shared corpus";
    }
    FakeHome user;
    fs::create_directories(user.home() / ".opera/priv");
    fs::copy_file(corpus / "ini/operaprefs-1218-win-bom-crlf.ini",
                  user.home() / ".opera/operaprefs.ini");
    fs::copy_file(corpus / "ini/opera6-964-linux.ini", user.home() / ".opera/opera6.ini");
    WriteFile(user.home() / ".opera/priv/opera6.adr", "x");
    WriteFile(user.home() / ".opera/opera6.adr", "x");
    EXPECT_EQ(Items(LocateOperaHotlist(user.platform)),
              Strings{user.Path(".opera/priv/opera6.adr")});
    EXPECT_EQ(HotlistNamedInPreferences(user.Path(".opera/opera6.ini"), user.home().string()), "");
    EXPECT_EQ(HotlistNamedInPreferences((corpus / "ini/operaprefs_default-simpleu.ini").string(),
                                        user.home().string()),
              "");
}

TEST(OperaDiscovery, WindowsProfileFoldersFromTheInstallationFolder) {
    using detail::WindowsOperaProfileFolders;
    const std::string appData = "C:\\Users\\ann\\AppData\\Roaming";
    EXPECT_EQ(WindowsOperaProfileFolders("C:\\Program Files\\Opera9\\", appData),
              (std::vector<std::string>{"C:\\Program Files\\Opera9\\profile\\",
                                        appData + "\\Opera\\Opera9\\profile\\"}));
    EXPECT_EQ(
        WindowsOperaProfileFolders("D:\\Opera", appData),
        (std::vector<std::string>{"D:\\Opera\\profile\\", appData + "\\Opera\\Opera\\profile\\"}));
    // No backslash before the name: the application-data folder is "Opera".
    EXPECT_EQ(WindowsOperaProfileFolders("Op", appData),
              (std::vector<std::string>{"Op\\profile\\", appData + "\\Opera\\Opera\\profile\\"}));
    // No registry value: only the application-data folder.
    EXPECT_EQ(WindowsOperaProfileFolders("", appData),
              (std::vector<std::string>{appData + "\\Opera\\Opera\\profile\\"}));
    // A one-character value ends the search.
    EXPECT_TRUE(WindowsOperaProfileFolders("C", appData).empty());
    EXPECT_TRUE(WindowsOperaProfileFolders("\\", appData).empty());
    EXPECT_EQ(WindowsOperaProfileFolders("D:\\Opera", ""),
              (std::vector<std::string>{"D:\\Opera\\profile\\"}));
}

// Favorites

TEST(FavoritesDiscovery, TheShellsFolderOrNothing) {
    test::FakePlatform platform;
    EXPECT_EQ(LocateFavoritesFolder(platform), "");
    platform.folders[SpecialFolder::Favorites] = "/home/ann/Favorites";
    EXPECT_EQ(LocateFavoritesFolder(platform), "/home/ann/Favorites");
}

} // namespace
} // namespace tellavin
