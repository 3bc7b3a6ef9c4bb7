#include "gui/windows/dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tellavin {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The lines of a message are shown as they are: a path with "<" in it must
// not be taken for markup.
void FillBox(QMessageBox& box, const QString& title, const QStringList& lines) {
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(lines.join(QLatin1Char('\n')));
}

QString RunFileDialog(Dialogs& dialogs, QFileDialog& dialog) {
    if (dialogs.Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

Dialogs::Dialogs() : runner_([](QDialog& dialog) { return dialog.exec(); }) {}

Dialogs::Dialogs(Runner runner) : runner_(std::move(runner)) {}

int Dialogs::Run(QDialog& dialog) {
    return runner_(dialog);
}

void Dialogs::Message(QWidget* owner, MessageIcon icon, const QString& title,
                      const QStringList& lines, const QStringList& details) {
    QMessageBox box(owner);
    box.setIcon(BoxIcon(icon));
    FillBox(box, title, lines);
    if (!details.isEmpty()) {
        box.setDetailedText(details.join(QLatin1Char('\n')));
    }
    box.setStandardButtons(QMessageBox::Ok);
    Run(box);
}

bool Dialogs::Question(QWidget* owner, const QString& title, const QStringList& lines,
                       bool noByDefault) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::Question);
    FillBox(box, title, lines);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    if (noByDefault) {
        box.setDefaultButton(QMessageBox::No);
    }
    return Run(box) == QMessageBox::Yes;
}

std::optional<QString> Dialogs::Input(QWidget* owner, const QString& title, const QString& prompt,
                                      const QString& text) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    if (Run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<QColor> Dialogs::ChooseColor(QWidget* owner, const QString& title,
                                           const QColor& initial) {
    QColorDialog dialog(initial, owner);
    dialog.setWindowTitle(title);
    if (Run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.currentColor();
}

QString Dialogs::OpenFileName(QWidget* owner, const QString& title, const QString& initialPath,
                              const QString& filter) {
    QFileDialog dialog(owner, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(*this, dialog);
}

QString Dialogs::SaveFileName(QWidget* owner, const QString& title, const QString& initialPath,
                              const QString& filter) {
    QFileDialog dialog(owner, title, initialPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(*this, dialog);
}

QString Dialogs::ChooseFolder(QWidget* owner, const QString& title, const QString& initialFolder) {
    QFileDialog dialog(owner, title, initialFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return RunFileDialog(*this, dialog);
}

} // namespace tellavin
