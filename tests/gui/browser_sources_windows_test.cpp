// The windows whose source is a bookmark file (paths 4, 6 and 8) offer the
// Firefox and Chromium profiles' own stores that discovery finds, labelled
// with browser and profile, count them when chosen and convert from them.
#include "gui/shell/path_window_factory.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"

#include <QComboBox>
#include <QGroupBox>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::Click;
using test::Find;

class BrowserSourcesWindowsTest : public ::testing::Test {
protected:
    BrowserSourcesWindowsTest() {
        platform_.executablePath = dir_ / "tellavin";
        platform_.folders[SpecialFolder::Home] = home().string();
        platform_.folders[SpecialFolder::AppData] = (home() / ".config").string();
        platform_.folders[SpecialFolder::Favorites] = (dir_.path() / "Favorites").string();
        fs::create_directories(dir_.path() / "Favorites");
        auto data = fs::path(TELLAVIN_TEST_DATA) / "browsers";
        test::WriteFile(home() / ".mozilla/firefox/profiles.ini",
                        "[Profile0]\nName=work\nIsRelative=1\nPath=w.default\n");
        fs::copy_file(data / "nested-folders-tags-queries.sqlite", firefoxDatabase());
        fs::create_directories(home() / ".config/chromium/Default");
        fs::copy_file(data / "chromium-nested-roots.json", chromiumBookmarks());
    }
    fs::path home() const { return dir_.path() / "home"; }
    fs::path firefoxDatabase() const {
        fs::create_directories(home() / ".mozilla/firefox/w.default");
        return home() / ".mozilla/firefox/w.default/places.sqlite";
    }
    fs::path chromiumBookmarks() const { return home() / ".config/chromium/Default/Bookmarks"; }

    std::unique_ptr<QWidget> Open(ConversionPath code) {
        std::unique_ptr<QWidget> window(
            CreatePathWindow(code, session_, owner_, platform_, dialogs_.service()));
        window->show();
        return window;
    }

    test::TempDir dir_;
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

// The items of a list after its prompt, and what choosing each shows as
// the counts.
QString ItemsAndCounts(QWidget& window, const char* list) {
    auto* box = Find<QComboBox>(window, list);
    QStringList seen;
    for (int at = 1; at < box->count(); ++at) {
        const auto text = box->itemText(at);
        const int index = box->findText(text);
        box->setCurrentIndex(index);
        emit box->activated(index);
        seen.append(text + " = " + Find<QGroupBox>(window, "fraWhat")->title());
    }
    return seen.join(QStringLiteral("\n"));
}

TEST_F(BrowserSourcesWindowsTest, EveryBookmarkFileSourceListOffersAndCountsBothStores) {
    const std::string expected = "<Chromium Default> " + chromiumBookmarks().string() +
                                 " = What to Export: (5 Folders && 5 Links)\n<Firefox work> " +
                                 firefoxDatabase().string() +
                                 " = What to Export: (7 Folders && 8 Links)";
    for (auto [code, list] : {std::pair{4, "cboNNLoc"}, {6, "cboNNLoc"}, {8, "cboFromLoc"}}) {
        SCOPED_TRACE(code);
        auto window = Open(code);
        QStringList sorted = ItemsAndCounts(*window, list).split('\n');
        sorted.sort();
        EXPECT_EQ(sorted.join('\n').toStdString(), expected);
        window->close();
    }
}

TEST_F(BrowserSourcesWindowsTest, ChromiumProfileConvertedIntoFavorites) {
    auto window = Open(4);
    auto* box = Find<QComboBox>(*window, "cboNNLoc");
    const int at = box->findText(QStringLiteral("<Chromium Default> ") +
                                 QString::fromStdString(chromiumBookmarks().string()));
    ASSERT_GT(at, 0);
    box->setCurrentIndex(at);
    emit box->activated(at);
    Click(*window, "NNoptWhere_0");
    dialogs_.texts.clear();
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.texts,
              std::vector<QString>{QStringLiteral("5 Folders & 5 Links Exported Successfully.")});

    // Favorites show links in their own sorted order; the bookmarks bar is
    // the Favorites toolbar folder, Links.
    BookmarkTree written;
    ASSERT_TRUE(
        LoadSourceTree({StoreKind::Favorites, (dir_.path() / "Favorites").string()}, written));
    EXPECT_EQ(test::TreeText(written),
              "My Favorites[ Phone Ünïcode – 日本語 Links[ Bar link Empty[ ] Nested[ "
              "Deep[ Deep link ] ] ] Other folder[ Inner ] ]");
}

} // namespace
} // namespace tellavin
