// The windows that write a bookmark file (paths 2, 7, 8 and 10) offer the
// browser profiles discovery finds as destinations, of the kinds that can
// be written, and never a browser's database of a kind that cannot be.
#include "gui/shell/path_window_factory.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::Click;
using test::Find;

constexpr ConversionPath kWritingWindows[] = {2, 7, 8, 10};

constexpr const char* kEmptyChromiumBookmarks = R"({
   "roots": {
      "bookmark_bar": { "children": [ ], "id": "1", "name": "Bookmarks bar", "type": "folder" },
      "other": { "children": [ ], "id": "2", "name": "Other bookmarks", "type": "folder" },
      "synced": { "children": [ ], "id": "3", "name": "Mobile bookmarks", "type": "folder" }
   },
   "version": 1
}
)";

class BrowserDestinationsTest : public ::testing::Test {
protected:
    BrowserDestinationsTest() {
        platform_.executablePath = dir_ / "tellavin";
        platform_.folders[SpecialFolder::Home] = home().string();
        platform_.folders[SpecialFolder::AppData] = (home() / ".config").string();
        platform_.folders[SpecialFolder::Favorites] = (dir_.path() / "Favorites").string();
        test::WriteFile(dir_.path() / "Favorites/Home.url",
                        "[InternetShortcut]\r\nURL=http://home/\r\n");
        auto data = fs::path(TELLAVIN_TEST_DATA) / "browsers";
        test::WriteFile(home() / ".mozilla/firefox/profiles.ini",
                        "[Profile0]\nName=work\nIsRelative=1\nPath=w.default\n");
        fs::create_directories(home() / ".mozilla/firefox/w.default");
        fs::copy_file(data / "nested-folders-tags-queries.sqlite", firefoxDatabase());
        test::WriteFile(home() / ".mozilla/firefox/w.default/bookmarks.html",
                        test::kNewsAndHomeNetscape);
        NewChromiumProfile();
        test::WriteFile(hotlist(), test::kNewsAndHomeOpera);
    }
    fs::path home() const { return dir_.path() / "home"; }
    fs::path firefoxDatabase() const { return home() / ".mozilla/firefox/w.default/places.sqlite"; }
    fs::path chromiumBookmarks() const { return home() / ".config/chromium/Default/Bookmarks"; }
    // A Chromium profile with its three roots empty, as the browser starts
    // one; whatever was there before, backups included, goes.
    void NewChromiumProfile() const {
        fs::remove_all(chromiumBookmarks().parent_path());
        test::WriteFile(chromiumBookmarks(), kEmptyChromiumBookmarks);
    }
    fs::path hotlist() const { return home() / ".opera/opera6.adr"; }
    QString ChromiumItem() const {
        return QStringLiteral("<Chromium Default> ") + QString::fromStdString(chromiumBookmarks());
    }
    QString BookmarksHtmlItem() const {
        return QStringLiteral("<work> ") +
               QString::fromStdString(home() / ".mozilla/firefox/w.default/bookmarks.html");
    }
    QString FirefoxItem() const {
        return QStringLiteral("<Firefox work> ") + QString::fromStdString(firefoxDatabase());
    }

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

void Choose(QComboBox& box, const QString& text) {
    const int at = box.findText(text);
    ASSERT_GT(at, 0) << text.toStdString();
    box.setCurrentIndex(at);
    emit box.activated(at);
}

// The items of a list after its prompt, and the one shown.
QString ListAndChoice(QWidget& window, const char* list) {
    auto* box = Find<QComboBox>(window, list);
    QStringList items;
    for (int at = 1; at < box->count(); ++at) {
        items.append(box->itemText(at));
    }
    return items.join(QStringLiteral(" | ")) + QStringLiteral(" => ") + box->currentText();
}

// The message boxes shown, "title: text" each.
std::string Boxes(const test::AnsweredDialogs& dialogs) {
    QStringList boxes;
    for (std::size_t i = 0; i < dialogs.titles.size(); ++i) {
        boxes.append(dialogs.titles[i] + QStringLiteral(": ") + dialogs.texts[i]);
    }
    return boxes.join(QStringLiteral("\n\n")).toStdString();
}

TEST_F(BrowserDestinationsTest, FirefoxDatabaseChosenAsSourceIsNeverTheDestinationAtFirst) {
    // A source list of a Netscape-format file remembers the database chosen
    // from it, in the list that the destinations of Netscape-format files
    // share: it is offered as Firefox's profile, never chosen at first.
    for (ConversionPath code : {2, 10}) {
        SCOPED_TRACE(code);
        auto source = Open(8);
        Choose(*Find<QComboBox>(*source, "cboFromLoc"), FirefoxItem());
        source->close();
        auto window = Open(code);
        EXPECT_EQ(ListAndChoice(*window, "cboNNLoc").toStdString(),
                  (FirefoxItem() + " | " + BookmarksHtmlItem() + " | " + ChromiumItem() + " => " +
                   Find<QComboBox>(*window, "cboNNLoc")->itemText(0))
                      .toStdString());
        window->close();
    }
}

TEST_F(BrowserDestinationsTest, BrowserDatabaseTypedAsDestinationIsRefusedByName) {
    for (ConversionPath code : kWritingWindows) {
        SCOPED_TRACE(code);
        auto window = Open(code);
        if (code == 8 || code == 10) {
            Choose(*Find<QComboBox>(*window, "cboFromLoc"),
                   code == 8 ? ChromiumItem() : QString::fromStdString(hotlist().string()));
        }
        Find<QComboBox>(*window, "cboNNLoc")
            ->setEditText(QString::fromStdString(firefoxDatabase().string()));
        dialogs_.titles.clear();
        dialogs_.texts.clear();
        Click(*window, "Command10");
        EXPECT_EQ(Boxes(dialogs_), "Browser Database: " + firefoxDatabase().string() +
                                       "\nwriting a browser's own database is not supported");
        window->close();
    }
}

TEST_F(BrowserDestinationsTest, EveryWritingWindowOffersTheBrowsersProfilesAfterItsFiles) {
    const QString chromium = FirefoxItem() + " | " + ChromiumItem();
    const QString opera = QString::fromStdString(hotlist().string());
    const QString prompt = QStringLiteral(" => ");
    const std::pair<ConversionPath, QString> cases[] = {
        {2, BookmarksHtmlItem() + " | " + chromium},
        {7, opera + " | " + chromium},
        {8, opera + " | " + chromium},
        {10, BookmarksHtmlItem() + " | " + chromium},
    };
    for (const auto& [code, items] : cases) {
        SCOPED_TRACE(code);
        auto window = Open(code);
        const auto* box = Find<QComboBox>(*window, "cboNNLoc");
        EXPECT_EQ(ListAndChoice(*window, "cboNNLoc").toStdString(),
                  (items + prompt + box->itemText(0)).toStdString());
        // Nothing chosen is remembered for the next window.
        fs::remove(dir_.path() / "tellavin.ini");
    }
}

// The Options tab while the destination is a file and while it is a
// browser's profile: which controls are shown and which can be used.
std::string OptionsState(QWidget& window) {
    Find<QTabWidget>(window, "TabStrip1")->setCurrentIndex(1);
    std::string state;
    for (const char* name :
         {"frmOld", "chkLinksBefore", "frmPlace", "optPlace_2", "optWhere_1", "txtWhereNew"}) {
        auto* control = Find<QWidget>(window, name);
        state += std::string(name) + (control->isVisibleTo(&window) ? "" : ":hidden ") +
                 (control->isEnabled() ? ":on " : ":off ");
    }
    return state + Find<QLabel>(window, "Label1")->text().toStdString();
}

TEST_F(BrowserDestinationsTest, OptionsTabFollowsWhetherTheDestinationIsABrowser) {
    auto window = Open(10);
    Choose(*Find<QComboBox>(*window, "cboFromLoc"), QString::fromStdString(hotlist().string()));
    Click(*window, "optOldMerge");
    Click(*window, "optWhere_1");
    const std::string file =
        "frmOld:on chkLinksBefore:on frmPlace:hidden :on optPlace_2:hidden :on "
        "optWhere_1:on txtWhereNew:on Location of Firefox Bookmarks: "
        "(File Exists)";
    const std::string browser = "frmOld:off chkLinksBefore:off frmPlace:on optPlace_2:hidden :on "
                                "optWhere_1:on txtWhereNew:on Location of Firefox Bookmarks: "
                                "(Browser Profile)";
    const std::pair<QString, std::string> steps[] = {
        {BookmarksHtmlItem(), file},
        {ChromiumItem(), browser},
        {BookmarksHtmlItem(), file},
    };
    for (const auto& [item, expected] : steps) {
        SCOPED_TRACE(item.toStdString());
        Choose(*Find<QComboBox>(*window, "cboNNLoc"), item);
        EXPECT_EQ(OptionsState(*window), expected);
    }
}

struct PlacementCase {
    ConversionPath code;
    const char* root;     // optPlace_0 (the bookmarks bar) or optPlace_1 (other bookmarks)
    const char* where;    // optWhere_0 (straight into the root) or optWhere_1 (a new folder)
    std::string expected; // the message box's title, then the profile's bookmarks
};

TEST_F(BrowserDestinationsTest, ChosenChromiumProfileReceivesTheExportWhereTheOptionsSay) {
    // The reader shows the other bookmarks as the root and the bar inside it.
    const PlacementCase cases[] = {
        {2, "optPlace_0", "optWhere_0", "Exporting Complete: Bookmarks[ Bookmarks bar[ Home ] ]"},
        {7, "optPlace_1", "optWhere_1",
         "Exporting Complete: Bookmarks[ Bookmarks bar[ ] Exported[ Home ] ]"},
        {8, "optPlace_0", "optWhere_1",
         "Exporting Complete: Bookmarks[ Bookmarks bar[ Exported[ Home News[ Daily ] ] ] ]"},
        {10, "optPlace_1", "optWhere_0",
         "Exporting Complete: Bookmarks[ Home Bookmarks bar[ ] News[ Daily ] ]"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.code);
        NewChromiumProfile();
        auto window = Open(row.code);
        if (row.code == 8 || row.code == 10) {
            Choose(*Find<QComboBox>(*window, "cboFromLoc"),
                   row.code == 8 ? BookmarksHtmlItem() : QString::fromStdString(hotlist()));
        }
        Choose(*Find<QComboBox>(*window, "cboNNLoc"), ChromiumItem());
        Click(*window, row.root);
        Click(*window, row.where);
        Find<QLineEdit>(*window, "txtWhereNew")->setText(QStringLiteral("Exported"));
        dialogs_.titles.clear();
        Click(*window, "Command10");

        BookmarkTree written;
        ASSERT_TRUE(LoadSourceTree({StoreKind::Chromium, chromiumBookmarks().string()}, written));
        const QString titles = dialogs_.titles.empty() ? QString() : dialogs_.titles.back();
        EXPECT_EQ(titles.toStdString() + ": " + test::TreeText(written), row.expected);
        window->close();
    }
}

// Firefox's bookmarks menu, which only Firefox has, is offered for its
// profile and receives the export: the reader shows the menu as the root.
TEST_F(BrowserDestinationsTest, ChosenFirefoxProfileReceivesTheExportInItsMenu) {
    fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-86-empty.sqlite",
                  firefoxDatabase(), fs::copy_options::overwrite_existing);
    auto window = Open(10);
    Choose(*Find<QComboBox>(*window, "cboFromLoc"), QString::fromStdString(hotlist()));
    Choose(*Find<QComboBox>(*window, "cboNNLoc"), FirefoxItem());
    Click(*window, "optPlace_2");
    Click(*window, "optWhere_1");
    Find<QLineEdit>(*window, "txtWhereNew")->setText(QStringLiteral("Exported"));
    dialogs_.titles.clear();
    Click(*window, "Command10");

    BookmarkTree written;
    ASSERT_TRUE(LoadSourceTree({StoreKind::Firefox, firefoxDatabase().string()}, written));
    const QString title = dialogs_.titles.empty() ? QString() : dialogs_.titles.back();
    EXPECT_EQ(title.toStdString() + ": " + test::TreeText(written),
              "Exporting Complete: Bookmarks Menu[ Exported[ Home News[ Daily ] ] ]");
}

} // namespace
} // namespace tellavin
