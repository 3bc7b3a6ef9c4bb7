// The windows that write a bookmark file (paths 2, 7, 8 and 10) offer the
// browser profiles discovery finds as destinations, of the kinds that can
// be written, and never a browser's database of a kind that cannot be.
#include "gui/shell/path_window_factory.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/window_driver.h"

#include <QComboBox>
#include <QLineEdit>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::Click;
using test::Find;

constexpr ConversionPath kWritingWindows[] = {2, 7, 8, 10};

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
        fs::create_directories(home() / ".config/chromium/Default");
        fs::copy_file(data / "chromium-nested-roots.json", chromiumBookmarks());
        test::WriteFile(hotlist(), test::kNewsAndHomeOpera);
    }
    fs::path home() const { return dir_.path() / "home"; }
    fs::path firefoxDatabase() const { return home() / ".mozilla/firefox/w.default/places.sqlite"; }
    fs::path chromiumBookmarks() const { return home() / ".config/chromium/Default/Bookmarks"; }
    fs::path hotlist() const { return home() / ".opera/opera6.adr"; }
    QString ChromiumItem() const {
        return QStringLiteral("<Chromium Default> ") + QString::fromStdString(chromiumBookmarks());
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

TEST_F(BrowserDestinationsTest, FirefoxDatabaseChosenAsSourceIsNeverOfferedAsDestination) {
    // A source list of a Netscape-format file remembers the database chosen
    // from it, in the list that the destinations of Netscape-format files
    // share.
    {
        auto source = Open(8);
        Choose(*Find<QComboBox>(*source, "cboFromLoc"), FirefoxItem());
        source->close();
    }
    for (ConversionPath code : {2, 10}) {
        SCOPED_TRACE(code);
        auto window = Open(code);
        const auto shown = ListAndChoice(*window, "cboNNLoc").toStdString();
        EXPECT_EQ(shown.find("places.sqlite"), std::string::npos) << shown;
        EXPECT_EQ(Find<QComboBox>(*window, "cboNNLoc")->currentIndex(), 0) << shown;
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

} // namespace
} // namespace tellavin
