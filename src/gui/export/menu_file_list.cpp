#include "gui/export/menu_file_list.h"

#include "gui/windows/dialogs.h"
#include "platform/file_checks.h"
#include "platform/platform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace tellavin {

namespace {

constexpr int kMostPages = 5;

int FindExact(const QComboBox& box, const QString& text) {
    return box.findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
}

} // namespace

MenuFileList::MenuFileList(QComboBox& box, QLabel& label, Dialogs& dialogs,
                           const Platform& platform, QWidget& window)
    : QObject(&window), box_(box), label_(label), dialogs_(dialogs), platform_(platform),
      window_(window), labelText_(label.text()) {
    connect(&box_, &QComboBox::activated, this, [this](int index) { Take(box_.itemText(index)); });
    if (box_.lineEdit() != nullptr) {
        connect(box_.lineEdit(), &QLineEdit::editingFinished, this, &MenuFileList::TakeTypedText);
    }
}

void MenuFileList::ChooseFirst(const std::string& defaultPage) {
    if (box_.count() == 0) {
        box_.addItem(QString::fromStdString(defaultPage));
    }
    Take(box_.itemText(0));
}

void MenuFileList::TakeTypedText() {
    const auto text = WithHomeExpanded(box_.currentText().trimmed().toStdString(), platform_);
    if (!text.empty() && text != path_) {
        Take(QString::fromStdString(text));
    }
}

void MenuFileList::Browse() {
    const QString page = dialogs_.SaveFileName(
        &window_, QStringLiteral("Select Where To Save The DHTML Menu"),
        QString::fromStdString(path_), QStringLiteral("HTML Files (*.html *.htm);;All Files (*)"));
    if (!page.isEmpty()) {
        Take(page);
    }
}

void MenuFileList::RefreshLabel() {
    label_.setText(labelText_ + (FileExists(path_) ? QStringLiteral(" (File Exists)")
                                                   : QStringLiteral(" (New File)")));
}

void MenuFileList::Take(const QString& text) {
    // The chosen page goes to the top; a new one pushes the oldest out.
    const int at = FindExact(box_, text);
    if (at >= 0) {
        box_.removeItem(at);
    } else if (box_.count() >= kMostPages) {
        box_.removeItem(box_.count() - 1);
    }
    box_.insertItem(0, text);
    box_.setCurrentIndex(0);
    path_ = text.toStdString();
    box_.setToolTip(text);
    RefreshLabel();
}

} // namespace tellavin
