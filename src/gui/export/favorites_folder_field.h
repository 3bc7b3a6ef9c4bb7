#pragma once

#include <QObject>
#include <QString>
#include <string>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace tellavin {

class Dialogs;
class Platform;

// The Favorites folder of an export window: the text box txtIELoc, a
// button that opens the folder chooser on it, and "Auto", which asks the
// platform for the user's Favorites folder. Changed tells the window that
// the text box holds a new folder (typed, chosen or found), which a window
// whose source it is counts, and a window whose target it is takes.
class FavoritesFolderField : public QObject {
    Q_OBJECT

public:
    FavoritesFolderField(QLineEdit& text, QAbstractButton& browse, QAbstractButton& autoLocate,
                         Platform& platform, Dialogs& dialogs, QWidget& window);

    std::string Folder() const;
    // Shows a folder (a remembered one, or the one found when none is).
    void SetFolder(const std::string& folder);
    // The platform's Favorites folder; empty, after saying so, when there
    // is none.
    std::string LocateFavoritesFolder();

    // Takes a folder the user typed and has not yet left the text box of,
    // so that an export uses what the box shows.
    void TakeTypedText();

    // The folder chooser, starting in the present folder.
    void BrowseFavoritesFolder();

signals:
    void Changed();

private:
    QLineEdit& text_;
    Platform& platform_;
    Dialogs& dialogs_;
    QWidget& window_;
};

} // namespace tellavin
