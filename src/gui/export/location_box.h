#pragma once

#include "model/bookmark_counts.h"
#include "model/conversion_path.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QWidget;

namespace tellavin {

class Dialogs;
class Platform;

// What a location box asks of the user: its prompt item and its file dialog.
struct LocationBoxTexts {
    QString prompt;       // item 0, "- Please Select a Bookmark File -"
    QString dialogTitle;  // "Select a Bookmark File"
    QString dialogFilter; // in Qt's form, "HTML Files (*.html *.htm);;All Files (*)"
};

// The prompt and file dialog of a list of Netscape-format files, and of
// Opera hotlists.
LocationBoxTexts BookmarkFileTexts();
LocationBoxTexts HotlistTexts();

// The files discovery found, then every browser profile's store
// (LocateBrowserDatabases): what a destination list is given, which keeps
// the stores it can write.
std::vector<FoundStore> FilesThenBrowsers(std::vector<FoundStore> files, const Platform& platform);

// The drop-down of an export window that holds the files of one store kind:
// item 0 is the prompt, then the files discovery found, then at most five
// files the user picked with the dialog (the newest first). A file chosen
// from the list moves up to position 1. An item may carry a profile label,
// "<name> path"; the label names the profile of a destination file.
//
// An item found by discovery keeps the kind of store discovery gave it, so
// a browser's profile in the list is that browser's store; any other item
// (remembered, typed or picked with the dialog) is of the box's own kind.
// A destination box offers only stores that can be written: a found store
// of a kind that cannot is left out, and a remembered browser database
// that discovery did not offer leaves the list.
//
// A source box counts its file when it is chosen and remembers what it
// counted, so choosing the same file again counts nothing; a file picked
// with the dialog that holds no link is refused. A destination box only
// takes the path and the label.
//
// Qt's combo box tells a user's choice (activated) apart from the program
// moving the selection, so moving the chosen item needs no guard against
// the choice coming back.
class LocationBox : public QObject {
    Q_OBJECT

public:
    enum class Role { Source, Destination };
    // Counts a source file; nothing when it cannot be read.
    using Counter = std::function<std::optional<BookmarkCounts>(const std::string& path)>;

    LocationBox(QComboBox& box, Role role, StoreKind kind, LocationBoxTexts texts, Dialogs& dialogs,
                const Platform& platform, QWidget& window);

    void SetCounter(Counter counter) { counter_ = std::move(counter); }

    // Adds the stores discovery found, after the prompt, and widens the
    // drop-down to its longest item. Call it once the remembered items are
    // in the list: a destination box then drops the browser databases it
    // does not offer, and goes back to its prompt when one was chosen.
    void AddFound(const std::vector<FoundStore>& found);

    // The prompt is shown: nothing was chosen.
    bool IsPromptSelected() const;
    // Takes a path the user typed into the box, unless it is what was last
    // chosen, as if it had been chosen from the list (counted when a source).
    // A leading "~" is the user's home folder. Leaving the box or pressing
    // Enter in it takes what was typed.
    void TakeTypedText();
    // The chosen file and the profile label that came with it.
    const std::string& Path() const { return path_; }
    const std::string& ProfileName() const { return profileName_; }
    // The kind of store of the chosen item.
    StoreKind Kind() const;
    // What the source box counted last; nothing before a count.
    const std::optional<BookmarkCounts>& Counts() const { return counts_; }

    // The file dialog: an open dialog for a source, a save dialog for a
    // destination.
    void Browse();

signals:
    // A file was chosen (a source: and counted).
    void Chosen();

private:
    void ItemChosen(int index);
    void Take(const QString& text);
    void AddPickedFile(const QString& path);
    void FitDropWidth();
    void DropUnofferedDatabases();

    QComboBox& box_;
    Role role_;
    StoreKind kind_;
    LocationBoxTexts texts_;
    Dialogs& dialogs_;
    const Platform& platform_;
    QWidget& window_;
    Counter counter_;
    QStringList found_; // what discovery found, which never counts as picked
    QHash<QString, StoreKind> foundKinds_;
    QString chosenText_;  // the item or text last taken
    QString countedText_; // the source text last counted
    std::string path_;
    std::string profileName_;
    std::optional<BookmarkCounts> counts_;
};

} // namespace tellavin
