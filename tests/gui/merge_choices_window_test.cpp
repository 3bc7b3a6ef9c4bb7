// The export windows' choices about what a bookmark file holds already:
// "Skip Links Already There", checked at first and kept with the window's
// options, and the question before a large file is replaced by a small
// export, answered No unless the user says Yes.
#include "gui/export/favorites_to_file_window.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"
#include "targets/backup_copy.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

using test::Click;
using test::Find;

constexpr const char* kShortcut = "[InternetShortcut]\r\nURL=http://x/\r\n";

class MergeChoicesTest : public ::testing::Test {
protected:
    MergeChoicesTest() {
        platform_.executablePath = dir_ / "tellavin";
        platform_.folders[SpecialFolder::Favorites] = favorites_.string();
        // Home at the root, Daily in News, Edit and Paint in Tools.
        for (const char* file :
             {"Home.url", "News/Daily.url", "Tools/Edit.url", "Tools/Paint.url"}) {
            test::WriteFile(favorites_ / file, kShortcut);
        }
    }

    std::unique_ptr<FavoritesToFileWindow> Open() {
        auto window = std::make_unique<FavoritesToFileWindow>(2, session_, platform_,
                                                              dialogs_.service(), owner_);
        window->show();
        return window;
    }

    // Chooses the target in the window's file dialog.
    void ChooseTarget(QWidget& window) {
        auto path = target_.string();
        dialogs_.Then([path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path));
            return static_cast<int>(QDialog::Accepted);
        });
        Click(window, "Command2");
    }

    std::string Written() {
        BookmarkTree tree;
        LoadSourceTree({StoreKind::Netscape, target_.string()}, tree);
        return test::TreeText(tree);
    }

    test::TempDir dir_;
    std::filesystem::path favorites_ = dir_.path() / "Favorites";
    std::filesystem::path target_ = dir_.path() / "target.html";
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

// A merge into a file whose top level holds http://X/ already: Home is
// left out while the box is checked, as it is at first, and added once it
// is not; the window opens again as it was left.
TEST_F(MergeChoicesTest, SkipLinksAlreadyThereIsCheckedAtFirstAndRemembered) {
    const std::string old = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>Old</H1>\n<DL><p>\n"
                            "<DT><A HREF=\"http://X/\">Old link</A>\n</DL>\n";
    std::string seen;
    for (bool skip : {true, false}) {
        test::WriteFile(target_, old);
        auto window = Open();
        auto* box = Find<QCheckBox>(*window, "chkSkipThere");
        seen += box->isChecked() ? "checked, " : "unchecked, ";
        ChooseTarget(*window);
        Click(*window, "optOldMerge");
        Click(*window, "optWhere_0");
        box->setChecked(skip);
        dialogs_.texts.clear();
        Click(*window, "Command10");
        seen += dialogs_.texts.empty() ? "" : dialogs_.texts.back().toStdString();
        seen += " " + Written() + "\n";
        window->close();
    }
    seen += Find<QCheckBox>(*Open(), "chkSkipThere")->isChecked() ? "checked" : "unchecked";
    EXPECT_EQ(seen, "checked, 2 Folders & 3 Links Exported Successfully.\n"
                    "1 link already there was skipped. Old[ Old link News[ Daily ] Tools[ Edit "
                    "Paint ] ]\n"
                    "checked, 2 Folders & 4 Links Exported Successfully. Old[ Old link Home "
                    "News[ Daily ] Tools[ Edit Paint ] ]\n"
                    "unchecked");
}

// Overwriting a file of 60 links by the four of the Favorites folder is
// asked about with both counts, No being the default: No leaves the file
// and writes no backup, Yes makes the backup and replaces the file.
TEST_F(MergeChoicesTest, ReplacingALargeFileAsksAndNoLeavesItAlone) {
    std::string old = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (int i = 1; i <= 60; ++i) {
        old +=
            "<DT><A HREF=\"http://l" + std::to_string(i) + "/\">l" + std::to_string(i) + "</A>\n";
    }
    old += "</DL>\n";
    std::string seen;
    for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        test::WriteFile(target_, old);
        auto window = Open();
        ChooseTarget(*window);
        Click(*window, "optOldErase");
        Find<QCheckBox>(*window, "chkBackup")->setChecked(true);
        dialogs_.Then([&seen, answer](QDialog& dialog) {
            auto& box = static_cast<QMessageBox&>(dialog);
            auto* no = box.button(QMessageBox::No);
            seen += box.defaultButton() == no ? "No by default: " : "";
            seen += box.text().toStdString() + "\n";
            return static_cast<int>(answer);
        });
        Click(*window, "Command10");
        seen += std::string(test::ReadFile(target_) == old ? "unchanged" : "replaced") +
                (std::filesystem::exists(BackupPathFor(target_.string())) ? ", backup\n"
                                                                          : ", no backup\n");
        window->close();
    }
    const std::string question = "No by default: \"" + target_.string() +
                                 "\" holds 60 links; the export would leave 4.\n"
                                 "Replace it anyway? To add the export to it, choose to merge.\n";
    EXPECT_EQ(seen, question + "unchanged, no backup\n" + question + "replaced, backup\n");
}

} // namespace
} // namespace tellavin
