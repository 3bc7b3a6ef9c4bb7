#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace tellavin {

class Dialogs;

// The controls of "Where to Export" on a Favorites target.
struct FavoritesPlaceControls {
    QAbstractButton* root;           // NNoptWhere(0)
    QAbstractButton* newFolder;      // NNoptWhere(1)
    QLineEdit* newFolderName;        // NNtxtWhereNew
    QAbstractButton* existing;       // NNoptWhere(2)
    QLineEdit* existingFolder;       // NNtxtWhereExist
    QAbstractButton* browseExisting; // NNcmdWhereBrowse
};

// Where inside the Favorites folder an export goes: its root, a new
// sub-folder of the name typed, or an existing sub-folder chosen with the
// folder chooser and shown relative to the Favorites folder. Choosing an
// existing sub-folder while none is chosen opens the chooser; cancelling it
// goes back to the choice made before.
class FavoritesPlace : public QObject {
    Q_OBJECT

public:
    using FolderGetter = std::function<std::string()>;

    FavoritesPlace(FavoritesPlaceControls controls, FolderGetter favoritesFolder, Dialogs& dialogs,
                   QWidget& window);

    // Enables the name fields for the choice now set (after settings were
    // restored into the buttons).
    void ShowChoice();
    // The Favorites folder changed: an existing sub-folder of the old one
    // means nothing in the new one, so the export goes to a new folder.
    void FavoritesFolderChanged();

    // The new sub-folder's name, when that is the choice.
    std::optional<std::string> NewFolder() const;
    // The existing sub-folder, relative to the Favorites folder, when that
    // is the choice.
    std::optional<std::string> ExistingFolder() const;

    // The folder chooser over the Favorites folder; a sub-folder chosen
    // inside it becomes the export's place.
    void BrowseExistingFolder();

private:
    void Choose(int index);

    FavoritesPlaceControls controls_;
    FolderGetter favoritesFolder_;
    Dialogs& dialogs_;
    QWidget& window_;
    int chosen_ = 1; // the choice to go back to when the chooser is cancelled
};

} // namespace tellavin
