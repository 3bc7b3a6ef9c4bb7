#include "gui/export/favorites_folder_field.h"

#include "gui/windows/busy_cursor.h"
#include "gui/windows/dialogs.h"
#include "platform/platform.h"
#include "sources/favorites_reader.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>

namespace tellavin {

FavoritesFolderField::FavoritesFolderField(QLineEdit& text, QAbstractButton& browse,
                                           QAbstractButton& autoLocate, Platform& platform,
                                           Dialogs& dialogs, QWidget& window)
    : QObject(&window), text_(text), platform_(platform), dialogs_(dialogs), window_(window) {
    // A typed folder counts once the user has finished typing it.
    connect(&text_, &QLineEdit::editingFinished, this, &FavoritesFolderField::TakeTypedText);
    connect(&browse, &QAbstractButton::clicked, this, &FavoritesFolderField::BrowseFavoritesFolder);
    connect(&autoLocate, &QAbstractButton::clicked, this,
            [this] { SetFolder(LocateFavoritesFolder()); });
}

std::string FavoritesFolderField::Folder() const {
    return text_.text().toStdString();
}

void FavoritesFolderField::SetFolder(const std::string& folder) {
    text_.setText(QString::fromStdString(folder));
    text_.setModified(false);
    emit Changed();
}

void FavoritesFolderField::TakeTypedText() {
    if (text_.isModified()) {
        text_.setText(
            QString::fromStdString(WithHomeExpanded(text_.text().toStdString(), platform_)));
        text_.setModified(false);
        emit Changed();
    }
}

std::string FavoritesFolderField::LocateFavoritesFolder() {
    cFastScanning scanner;
    if (auto folder = scanner.GetFolderPath(platform_)) {
        return *folder;
    }
    dialogs_.Message(&window_, MessageIcon::Exclamation,
                     QString::fromLatin1(kAutoLocateFailedTitle),
                     QString::fromLatin1(kAutoLocateFailedText).split(QStringLiteral("\r\n")));
    return {};
}

void FavoritesFolderField::BrowseFavoritesFolder() {
    const QString chosen =
        dialogs_.ChooseFolder(&window_, QStringLiteral("Please, Select a Folder."), text_.text());
    window_.raise();
    if (chosen.isEmpty() || QDir(chosen) == QDir(text_.text())) {
        return;
    }
    cMouse mouse;
    mouse.SetPointer(Qt::WaitCursor);
    SetFolder(QDir::toNativeSeparators(chosen).toStdString());
}

} // namespace tellavin
