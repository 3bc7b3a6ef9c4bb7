#include "gui/export/location_box.h"

#include "gui/windows/dialogs.h"
#include "model/labelled_location.h"
#include "platform/platform.h"
#include "sources/browser_discovery.h"
#include "sources/browser_store.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <algorithm>

namespace tellavin {

namespace {

// Files the user picked with the dialog stay in the list up to this many.
constexpr int kMostPickedFiles = 5;
// Room beside the longest item in the open drop-down, in pixels.
constexpr int kDropMargin = 30;

} // namespace

LocationBoxTexts BookmarkFileTexts() {
    return {QStringLiteral("- Please Select a Bookmark File -"),
            QStringLiteral("Select a Bookmark File"),
            QStringLiteral("HTML Files (*.html *.htm);;All Files (*)")};
}

LocationBoxTexts HotlistTexts() {
    return {QStringLiteral("- Please Select an Opera Hotlist File -"),
            QStringLiteral("Select an Opera Hotlist File"),
            QStringLiteral("Hotlist Files (*.adr);;All Files (*)")};
}

std::vector<FoundStore> FilesThenBrowsers(std::vector<FoundStore> files, const Platform& platform) {
    for (auto& browser : LocateBrowserDatabases(platform)) {
        files.push_back(std::move(browser));
    }
    return files;
}

LocationBox::LocationBox(QComboBox& box, Role role, StoreKind kind, LocationBoxTexts texts,
                         Dialogs& dialogs, const Platform& platform, QWidget& window)
    : QObject(&window), box_(box), role_(role), kind_(kind), texts_(std::move(texts)),
      dialogs_(dialogs), platform_(platform), window_(window) {
    box_.insertItem(0, texts_.prompt);
    box_.setCurrentIndex(0);
    connect(&box_, &QComboBox::activated, this, &LocationBox::ItemChosen);
    if (box_.lineEdit() != nullptr) {
        connect(box_.lineEdit(), &QLineEdit::editingFinished, this, &LocationBox::TakeTypedText);
    }
}

void LocationBox::AddFound(const std::vector<FoundStore>& found) {
    for (const auto& store : found) {
        if (role_ == Role::Destination && !TraitsOf(store.location.kind).writable) {
            continue;
        }
        const auto text = QString::fromStdString(
            store.label.empty() ? store.location.path
                                : LabelledLocation(store.label, store.location.path));
        found_.append(text);
        foundKinds_.insert(text, store.location.kind);
        if (box_.findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
            box_.addItem(text);
        }
    }
    if (role_ == Role::Destination) {
        DropUnofferedDatabases();
    }
    // A list of its prompt and one file offers that file at once; a
    // browser's profile only when the user chooses it.
    if (box_.count() == 2 && IsPromptSelected() &&
        !IsBrowserStoreKind(foundKinds_.value(box_.itemText(1), kind_))) {
        box_.setCurrentIndex(1);
        emit box_.activated(1);
    }
    FitDropWidth();
}

StoreKind LocationBox::Kind() const {
    return foundKinds_.value(chosenText_, kind_);
}

bool LocationBox::IsPromptSelected() const {
    return box_.currentIndex() == 0 && box_.currentText() == texts_.prompt;
}

void LocationBox::TakeTypedText() {
    const QString typed = box_.currentText().trimmed();
    if (typed.isEmpty() || typed == texts_.prompt || typed == chosenText_) {
        return;
    }
    const QString text = QString::fromStdString(WithHomeExpanded(typed.toStdString(), platform_));
    if (box_.findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
        AddPickedFile(text);
    }
    Take(text);
}

void LocationBox::Browse() {
    const QString start = path_.empty() ? QString() : QString::fromStdString(path_);
    const QString file =
        role_ == Role::Source
            ? dialogs_.OpenFileName(&window_, texts_.dialogTitle, start, texts_.dialogFilter)
            : dialogs_.SaveFileName(&window_, texts_.dialogTitle, start, texts_.dialogFilter);
    if (file.isEmpty() || file == box_.currentText()) {
        return;
    }
    if (role_ == Role::Source) {
        auto counts = counter_ ? counter_(file.toStdString()) : std::nullopt;
        if (!counts || counts->links == 0) {
            dialogs_.Message(&window_, MessageIcon::Exclamation,
                             QStringLiteral("Select a Bookmark File"),
                             {QStringLiteral("The Selected File Does Not Contain Any Bookmark.")});
            return;
        }
        counts_ = counts;
        countedText_ = file; // picked and counted once
    }
    if (box_.findText(file, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
        AddPickedFile(file);
    }
    // A destination picked with the dialog keeps the profile name it had.
    const auto profile = profileName_;
    Take(file);
    if (role_ == Role::Destination) {
        profileName_ = profile;
    }
}

void LocationBox::ItemChosen(int index) {
    if (index == 0) {
        // The prompt is no choice: the box goes back to what was chosen.
        const int chosen =
            box_.findText(chosenText_, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (!chosenText_.isEmpty() && chosen > 0) {
            box_.setCurrentIndex(chosen);
        }
        return;
    }
    Take(box_.itemText(index));
}

void LocationBox::Take(const QString& text) {
    chosenText_ = text;
    path_ = LocationPath(text.toStdString());
    profileName_ = role_ == Role::Destination ? LocationLabel(text.toStdString()) : std::string();
    box_.setToolTip(QString::fromStdString(path_));
    if (role_ == Role::Source && text != countedText_) {
        counts_ = counter_ ? counter_(path_).value_or(BookmarkCounts{}) : BookmarkCounts{};
        countedText_ = text;
    }
    // The chosen item moves up to position 1, just below the prompt.
    const int at = box_.findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (at > 1) {
        box_.removeItem(at);
        box_.insertItem(1, text);
    }
    if (at >= 1) {
        box_.setCurrentIndex(1);
    }
    emit Chosen();
}

void LocationBox::AddPickedFile(const QString& path) {
    // The oldest picked file goes when the list holds the most it keeps.
    int picked = 0;
    int oldest = -1;
    for (int i = 1; i < box_.count(); ++i) {
        if (!found_.contains(box_.itemText(i))) {
            ++picked;
            oldest = i;
        }
    }
    if (picked >= kMostPickedFiles) {
        box_.removeItem(oldest);
    }
    box_.insertItem(1, path);
    FitDropWidth();
}

// The remembered items of a destination list are shared with the source
// lists of the same kind of file, which offer the browsers' databases too:
// such an item is written only as the browser's store, which discovery
// offered when its kind can be written. Writing into a browser is never
// what a window starts with: the user chooses the profile each time.
void LocationBox::DropUnofferedDatabases() {
    bool choiceDropped = IsBrowserStoreKind(Kind());
    for (int i = box_.count() - 1; i >= 1; --i) {
        const QString text = box_.itemText(i);
        if (foundKinds_.contains(text) ||
            DetectBrowserStore(LocationPath(text.toStdString())) == BrowserStore::None) {
            continue;
        }
        choiceDropped = choiceDropped || text == chosenText_;
        box_.removeItem(i);
    }
    if (choiceDropped) {
        chosenText_.clear();
        path_.clear();
        profileName_.clear();
        box_.setToolTip(QString());
        box_.setCurrentIndex(0);
        emit Chosen();
    }
}

void LocationBox::FitDropWidth() {
    int widest = 0;
    for (int i = 0; i < box_.count(); ++i) {
        widest = std::max(widest, box_.fontMetrics().horizontalAdvance(box_.itemText(i)));
    }
    box_.view()->setMinimumWidth(widest + kDropMargin);
}

} // namespace tellavin
