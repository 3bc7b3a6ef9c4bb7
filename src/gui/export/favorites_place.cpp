#include "gui/export/favorites_place.h"

#include "gui/windows/dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace tellavin {

namespace {

// The path of folder relative to the Favorites folder; empty when it is the
// Favorites folder itself or lies outside it.
QString PathInside(const QString& favorites, const QString& folder) {
    const QString base = QFileInfo(favorites).canonicalFilePath();
    const QString chosen = QFileInfo(folder).canonicalFilePath();
    if (base.isEmpty() || chosen.isEmpty()) {
        return {};
    }
    const QString relative = QDir(base).relativeFilePath(chosen);
    if (relative == QStringLiteral(".") || relative.startsWith(QStringLiteral("..")) ||
        QDir::isAbsolutePath(relative)) {
        return {};
    }
    return QDir::toNativeSeparators(relative);
}

} // namespace

FavoritesPlace::FavoritesPlace(FavoritesPlaceControls controls, FolderGetter favoritesFolder,
                               Dialogs& dialogs, QWidget& window)
    : QObject(&window), controls_(controls), favoritesFolder_(std::move(favoritesFolder)),
      dialogs_(dialogs), window_(window) {
    connect(controls_.root, &QAbstractButton::clicked, this, [this] { Choose(0); });
    connect(controls_.newFolder, &QAbstractButton::clicked, this, [this] { Choose(1); });
    connect(controls_.existing, &QAbstractButton::clicked, this, [this] { Choose(2); });
    connect(controls_.browseExisting, &QAbstractButton::clicked, this,
            &FavoritesPlace::BrowseExistingFolder);
}

void FavoritesPlace::ShowChoice() {
    chosen_ = controls_.root->isChecked() ? 0 : controls_.existing->isChecked() ? 2 : 1;
    controls_.newFolderName->setEnabled(chosen_ == 1);
    controls_.existingFolder->setEnabled(chosen_ == 2);
}

void FavoritesPlace::FavoritesFolderChanged() {
    controls_.existingFolder->clear();
    controls_.existingFolder->setToolTip(QString());
    if (controls_.existing->isChecked()) {
        controls_.newFolder->setChecked(true);
        ShowChoice();
    }
}

std::optional<std::string> FavoritesPlace::NewFolder() const {
    if (!controls_.newFolder->isChecked()) {
        return std::nullopt;
    }
    return controls_.newFolderName->text().toStdString();
}

std::optional<std::string> FavoritesPlace::ExistingFolder() const {
    if (!controls_.existing->isChecked()) {
        return std::nullopt;
    }
    return controls_.existingFolder->text().toStdString();
}

void FavoritesPlace::BrowseExistingFolder() {
    const QString favorites = QString::fromStdString(favoritesFolder_());
    const QString chosen =
        dialogs_.ChooseFolder(&window_, QStringLiteral("Please, Select a Folder."), favorites);
    window_.raise();
    // The chooser cannot be held inside the Favorites folder, so a folder
    // outside it is not taken.
    const QString relative = PathInside(favorites, chosen);
    if (relative.isEmpty() || relative == controls_.existingFolder->text()) {
        return;
    }
    controls_.existingFolder->setText(relative);
    controls_.existingFolder->setToolTip(relative);
    controls_.existing->setChecked(true);
    ShowChoice();
}

void FavoritesPlace::Choose(int index) {
    if (index == 2 && controls_.existingFolder->text().isEmpty()) {
        BrowseExistingFolder();
        if (controls_.existingFolder->text().isEmpty()) {
            (chosen_ == 0 ? controls_.root : controls_.newFolder)->setChecked(true);
            return;
        }
    }
    ShowChoice();
}

} // namespace tellavin
