#include "gui/windows/dialogs.h"
#include "support/answered_dialogs.h"
#include "support/temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

TEST(Dialogs, MessageShowsTitleLinesAndIconAsPlainText) {
    struct Case {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    for (const Case& c : {Case{MessageIcon::Exclamation, QMessageBox::Warning},
                          Case{MessageIcon::Information, QMessageBox::Information},
                          Case{MessageIcon::Critical, QMessageBox::Critical}}) {
        test::AnsweredDialogs dialogs;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::StandardButtons buttons;
        dialogs.Then([&](QDialog& dialog) {
            auto& box = dynamic_cast<QMessageBox&>(dialog);
            icon = box.icon();
            text = box.text();
            format = box.textFormat();
            buttons = box.standardButtons();
            return static_cast<int>(QMessageBox::Ok);
        });
        dialogs.service().Message(nullptr, c.icon, "Tellavin",
                                  {"The file <b>x</b> is read-only.", "Nothing was written."});
        EXPECT_EQ(dialogs.titles, (std::vector<QString>{"Tellavin"}));
        EXPECT_EQ(icon, c.shown);
        EXPECT_EQ(text, "The file <b>x</b> is read-only.\nNothing was written.");
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(buttons, QMessageBox::Ok);
    }
}

TEST(Dialogs, QuestionIsTrueOnlyForYes) {
    test::AnsweredDialogs dialogs;
    QMessageBox::StandardButtons buttons;
    dialogs.Then([&](QDialog& dialog) {
        buttons = dynamic_cast<QMessageBox&>(dialog).standardButtons();
        return static_cast<int>(QMessageBox::Yes);
    });
    dialogs.Then([](QDialog&) { return static_cast<int>(QMessageBox::No); });
    EXPECT_TRUE(dialogs.service().Question(nullptr, "Delete Preset", {"Delete it?"}));
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_FALSE(dialogs.service().Question(nullptr, "Delete Preset", {"Delete it?"}));
    EXPECT_FALSE(dialogs.service().Question(nullptr, "Delete Preset", {"Closed unanswered"}));
}

TEST(Dialogs, InputReturnsTheTextOrNothingWhenCancelled) {
    test::AnsweredDialogs dialogs;
    QString prompt;
    QString proposed;
    dialogs.Then([&](QDialog& dialog) {
        auto& input = dynamic_cast<QInputDialog&>(dialog);
        prompt = input.labelText();
        proposed = input.textValue();
        input.setTextValue("Sunset");
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_EQ(dialogs.service().Input(nullptr, "Save Preset", "Name of the preset:", "Preset 1"),
              QString("Sunset"));
    EXPECT_EQ(prompt, "Name of the preset:");
    EXPECT_EQ(proposed, "Preset 1");
    EXPECT_EQ(dialogs.service().Input(nullptr, "Save Preset", "Name:", "x"), std::nullopt);
}

TEST(Dialogs, ColourDialogStartsAtTheGivenColour) {
    test::AnsweredDialogs dialogs;
    QColor initial;
    dialogs.Then([&](QDialog& dialog) {
        auto& colours = dynamic_cast<QColorDialog&>(dialog);
        initial = colours.currentColor();
        colours.setCurrentColor(QColor(0x12, 0x34, 0x56));
        return static_cast<int>(QDialog::Accepted);
    });
    EXPECT_EQ(dialogs.service().ChooseColor(nullptr, "Colour", QColor(Qt::yellow)),
              QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(initial, QColor(Qt::yellow));
    EXPECT_EQ(dialogs.service().ChooseColor(nullptr, "Colour", QColor(Qt::yellow)), std::nullopt);
}

TEST(Dialogs, FileAndFolderChoosersReturnThePathOrNothing) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "bookmarks.html", "<DL>");
    const QString file = QString::fromStdString(dir / "bookmarks.html");
    const QString folder = QString::fromStdString(dir.path().string());

    test::AnsweredDialogs dialogs;
    QFileDialog::FileMode openMode{};
    QFileDialog::FileMode folderMode{};
    QFileDialog::AcceptMode saveMode{};
    dialogs.Then([&](QDialog& dialog) {
        auto& chooser = dynamic_cast<QFileDialog&>(dialog);
        openMode = chooser.fileMode();
        chooser.selectFile(file);
        return static_cast<int>(QDialog::Accepted);
    });
    dialogs.Then([&](QDialog& dialog) {
        auto& chooser = dynamic_cast<QFileDialog&>(dialog);
        saveMode = chooser.acceptMode();
        chooser.selectFile(folder + "/menu.html");
        return static_cast<int>(QDialog::Accepted);
    });
    dialogs.Then([&](QDialog& dialog) {
        auto& chooser = dynamic_cast<QFileDialog&>(dialog);
        folderMode = chooser.fileMode();
        chooser.selectFile(folder);
        return static_cast<int>(QDialog::Accepted);
    });
    auto& service = dialogs.service();
    EXPECT_EQ(service.OpenFileName(nullptr, "Open", folder, "Bookmark files (*.html)"), file);
    EXPECT_EQ(service.SaveFileName(nullptr, "Save", folder, "Pages (*.html)"),
              folder + "/menu.html");
    EXPECT_EQ(service.ChooseFolder(nullptr, "Please, Select a Folder.", folder), folder);
    EXPECT_EQ(openMode, QFileDialog::ExistingFile);
    EXPECT_EQ(saveMode, QFileDialog::AcceptSave);
    EXPECT_EQ(folderMode, QFileDialog::Directory);
    EXPECT_EQ(service.OpenFileName(nullptr, "Open", folder, "*.html"), "") << "cancelled";
    EXPECT_EQ(dialogs.titles,
              (std::vector<QString>{"Open", "Save", "Please, Select a Folder.", "Open"}));
}

TEST(Dialogs, WithoutARunnerTheBoxIsModal) {
    Dialogs dialogs;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        wasModal = box->isModal();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(dialogs.Question(nullptr, "Tellavin", {"Go on?"}));
    EXPECT_TRUE(wasModal);
}

// The details of a message (the loss report of an export) show a dozen
// lines once opened, and the box can be made larger to show more.
TEST(Dialogs, OpenedDetailsShowADozenLinesAndTheBoxResizes) {
    test::AnsweredDialogs dialogs;
    QStringList details;
    for (int line = 1; line <= 30; ++line) {
        details.append(QStringLiteral("Link %1 lost its icon").arg(line));
    }
    int shownLines = 0;
    int grownBy = 0;
    dialogs.Then([&](QDialog& dialog) {
        auto& box = dynamic_cast<QMessageBox&>(dialog);
        box.show();
        for (QAbstractButton* button : box.buttons()) {
            if (box.buttonRole(button) == QMessageBox::ActionRole) {
                button->click();
            }
        }
        QApplication::processEvents();
        auto* text = box.findChild<QTextEdit*>();
        shownLines = text->viewport()->height() / text->fontMetrics().lineSpacing();
        const int before = text->height();
        box.resize(box.width() + 100, box.height() + 200);
        QApplication::processEvents();
        grownBy = text->height() - before;
        return static_cast<int>(QMessageBox::Ok);
    });
    dialogs.service().Message(nullptr, MessageIcon::Information, "Exporting Complete",
                              {"2 Folders & 30 Links Exported Successfully."}, details);
    EXPECT_EQ(std::pair(shownLines >= 12, grownBy), std::pair(true, 200));
}

} // namespace
} // namespace tellavin
