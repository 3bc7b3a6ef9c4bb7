#pragma once

#include "answered_dialogs.h"
#include "gui/selection/selection_window.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QFileDialog>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin::test {

// A small collection, the folder News holding Daily and then the link Home,
// as a Netscape-format file and as an Opera hotlist.
inline constexpr const char* kNewsAndHomeNetscape = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<H1>Bookmarks</H1>
<DL><p>
<DT><H3>News</H3>
<DL><p>
<DT><A HREF="http://daily/">Daily</A>
</DL><p>
<DT><A HREF="http://home/">Home</A>
</DL>
)";

inline constexpr const char* kNewsAndHomeOpera =
    "Opera Hotlist version 2.0\r\n"
    "Options: encoding = utf8, version=3\r\n\r\n"
    "#FOLDER\r\n\tID=1\r\n\tNAME=News\r\n\r\n"
    "#URL\r\n\tID=2\r\n\tNAME=Daily\r\n\tURL=http://daily/\r\n\r\n"
    "-\r\n\r\n"
    "#URL\r\n\tID=3\r\n\tNAME=Home\r\n\tURL=http://home/\r\n\r\n";

// A control of a window by its design name; a failure when there is none.
template <typename Control> Control* Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

inline void Click(QWidget& window, const char* name) {
    Find<QAbstractButton>(window, name)->click();
}

// The next file dialog or folder chooser picks path.
inline void PickFile(AnsweredDialogs& dialogs, const std::filesystem::path& path) {
    dialogs.Then([path](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path.string()));
        return static_cast<int>(QDialog::Accepted);
    });
}

// Checks one folder in the selection window that window opened, and
// confirms the selection.
inline void SelectOnly(QWidget& window, const QString& folder) {
    auto* selection = window.findChild<SelectionWindow*>();
    ASSERT_NE(selection, nullptr);
    auto* tree = selection->findChild<QTreeView*>(QStringLiteral("TreeView1"))->model();
    auto found = tree->match(tree->index(0, 0), Qt::DisplayRole, folder, 1,
                             Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    tree->setData(found[0], Qt::Checked, Qt::CheckStateRole);
    Click(*selection, "Command2");
}

} // namespace tellavin::test
