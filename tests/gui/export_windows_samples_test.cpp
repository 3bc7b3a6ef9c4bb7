#include "gui/shell/path_window_factory.h"
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// Where each window takes its source and its target, and its export button.
struct PathWindowCase {
    ConversionPath code;
    StoreKind source;
    StoreKind target;
    const char* sourceBox;
    const char* targetBox;
    const char* exportButton;
};

constexpr PathWindowCase kPaths[] = {
    {2, StoreKind::Favorites, StoreKind::Netscape, "txtIELoc", "cboNNLoc", "Command10"},
    {7, StoreKind::Favorites, StoreKind::Opera, "txtIELoc", "cboNNLoc", "Command10"},
    {4, StoreKind::Netscape, StoreKind::Favorites, "cboNNLoc", "txtIELoc", "Command10"},
    {9, StoreKind::Opera, StoreKind::Favorites, "cboNNLoc", "txtIELoc", "Command10"},
    {8, StoreKind::Netscape, StoreKind::Opera, "cboFromLoc", "cboNNLoc", "Command10"},
    {10, StoreKind::Opera, StoreKind::Netscape, "cboFromLoc", "cboNNLoc", "Command10"},
    {5, StoreKind::Favorites, StoreKind::Menu, "txtIELoc", "cboDHTMLLoc", "cmdCreaDHTML"},
    {6, StoreKind::Netscape, StoreKind::Menu, "cboNNLoc", "cboDHTMLLoc", "cmdCreaDHTML"},
    {11, StoreKind::Opera, StoreKind::Menu, "cboNNLoc", "cboDHTMLLoc", "cmdCreaDHTML"},
};

// Types a location into a text box or an editable list, as a user does.
void TypeInto(QWidget& window, const char* box, const std::string& path) {
    const auto text = QString::fromStdString(path);
    if (auto* line = window.findChild<QLineEdit*>(QString::fromLatin1(box))) {
        line->setText(text);
        line->setModified(true);
    } else {
        window.findChild<QComboBox*>(QString::fromLatin1(box))->setEditText(text);
    }
}

// Every path, from the main window's maker of path windows, converts the
// bundled samples (and, beside the checkout, a browser's real file): what
// the target reads back holds every link of the source.
TEST(ExportWindowsOnSamples, EveryPathConvertsTheSamplesWhole) {
    const fs::path samples = TELLAVIN_SAMPLES;
    const auto corpus = test::CorpusDir() / "netscape" / "firefox-2023-exported-csp.html";
    const fs::path netscape =
        fs::exists(corpus) ? corpus
                           : fs::path(TELLAVIN_TEST_DATA) / "netscape" / "duplicate-names.html";
    const auto sourceOf = [&](StoreKind kind) {
        return kind == StoreKind::Favorites ? samples / "Favorites"
               : kind == StoreKind::Opera   ? samples / "hotlist.adr"
                                            : netscape;
    };
    for (const auto& path : kPaths) {
        SCOPED_TRACE(path.code);
        test::TempDir dir;
        test::FakePlatform platform;
        platform.executablePath = dir / "tellavin";
        platform.folders[SpecialFolder::Documents] = dir.path().string();
        test::AnsweredDialogs dialogs;
        SessionState session;
        QWidget owner;
        const auto target = path.target == StoreKind::Favorites ? dir / "Favorites"
                            : path.target == StoreKind::Opera   ? dir / "out.adr"
                                                                : dir / "out.html";
        fs::create_directories(dir.path() / "Favorites");
        std::unique_ptr<QWidget> window(
            CreatePathWindow(path.code, session, owner, platform, dialogs.service()));
        window->show();
        TypeInto(*window, path.sourceBox, sourceOf(path.source).string());
        TypeInto(*window, path.targetBox, target);
        if (auto* showPage = window->findChild<QCheckBox*>(QStringLiteral("chkShowBrowser"))) {
            showPage->setChecked(false); // the message, not the browser
        }
        dialogs.texts.clear();
        window->findChild<QPushButton*>(QString::fromLatin1(path.exportButton))->click();

        BookmarkTree source;
        ASSERT_TRUE(LoadSourceTree({path.source, sourceOf(path.source).string()}, source));
        const auto links = CountBookmarks(source).links;
        ASSERT_FALSE(dialogs.texts.empty());
        EXPECT_TRUE(dialogs.texts.back().endsWith(
            QStringLiteral(" & %1 Links Exported Successfully.").arg(links)))
            << dialogs.texts.back().toStdString();
        if (path.target != StoreKind::Menu) {
            BookmarkTree written;
            ASSERT_TRUE(LoadSourceTree({path.target, target}, written));
            EXPECT_EQ(CountBookmarks(written).links, links);
        } else {
            EXPECT_TRUE(fs::exists(target));
        }
        window->close();
    }
}

} // namespace
} // namespace tellavin
