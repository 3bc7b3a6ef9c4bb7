#include "gui/export/file_target_options.h"

#include "gui/export/location_box.h"
#include "model/session_state.h"
#include "platform/file_checks.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tellavin {

FileTargetOptions::FileTargetOptions(Controls controls, const LocationBox& destination,
                                     SessionState& session, QObject* parent)
    : QObject(parent), c_(controls), destination_(destination), session_(session),
      labelText_(c_.destinationLabel->text()) {
    connect(&destination_, &LocationBox::Chosen, this, [this] {
        session_.destinationFile = destination_.Path();
        session_.profileName = destination_.ProfileName();
        RefreshOptions();
    });
    connect(c_.optOldErase, &QRadioButton::clicked, this, &FileTargetOptions::OverwriteChosen);
    connect(c_.optOldMerge, &QRadioButton::clicked, this, &FileTargetOptions::MergeChosen);
    connect(c_.optWhere0, &QRadioButton::toggled, this, &FileTargetOptions::ShowWhere);
    connect(c_.optWhere1, &QRadioButton::toggled, this, &FileTargetOptions::ShowWhere);
}

void FileTargetOptions::RefreshOptions() {
    const StoreKind kind = destination_.Kind();
    const bool browser = IsBrowserStoreKind(kind);
    c_.frmPlace->setVisible(browser);
    c_.frmOld->setEnabled(!browser);
    c_.chkLinksBefore->setEnabled(!browser);
    if (browser) {
        RefreshBrowserOptions(kind);
    } else {
        RefreshFileOptions();
    }
    ShowWhere();
}

void FileTargetOptions::RefreshFileOptions() {
    const bool destinationExists = FileExists(destination_.Path());
    QString state;
    if (!destination_.Path().empty()) {
        state =
            destinationExists ? QStringLiteral(" (File Exists)") : QStringLiteral(" (New File)");
    }
    c_.destinationLabel->setText(labelText_ + state);
    for (QWidget* control :
         {static_cast<QWidget*>(c_.frmOld), static_cast<QWidget*>(c_.frmWhere)}) {
        control->setEnabled(destinationExists);
    }
    if (destinationExists) {
        c_.optWhere1->setEnabled(c_.optOldMerge->isChecked());
    }
}

void FileTargetOptions::RefreshBrowserOptions(StoreKind kind) {
    c_.destinationLabel->setText(labelText_ + QStringLiteral(" (Browser Profile)"));
    c_.frmWhere->setEnabled(true);
    c_.optWhere1->setEnabled(true);
    // Only Firefox has a bookmarks menu; elsewhere the other bookmarks
    // take its place.
    const bool menu = kind == StoreKind::Firefox;
    c_.optPlace2->setVisible(menu);
    if (!menu && c_.optPlace2->isChecked()) {
        c_.optPlace1->setChecked(true);
    }
}

TargetOptions FileTargetOptions::Options() const {
    if (IsBrowserStoreKind(destination_.Kind())) {
        return BrowserOptions();
    }
    TargetOptions options;
    const bool exists = c_.frmOld->isEnabled();
    options.merge = exists && c_.optOldMerge->isChecked();
    options.backup = exists && c_.chkBackup->isChecked();
    options.keepDuplicates = options.merge && !c_.chkSkipThere->isChecked();
    if (options.merge && c_.optWhere1->isChecked()) {
        options.newFolder = c_.txtWhereNew->text().toStdString();
    }
    options.links = c_.chkLinksBefore->isChecked() ? LinksPlacement::BeforeFolders
                                                   : LinksPlacement::AfterFolders;
    options.keepOrder = c_.chkKeepOrder->isChecked();
    if (!destination_.ProfileName().empty()) {
        options.profileName = destination_.ProfileName();
    }
    return options;
}

TargetOptions FileTargetOptions::BrowserOptions() const {
    TargetOptions options;
    if (c_.optPlace0->isChecked()) {
        options.place = BrowserRoot::Bar;
    } else if (c_.optPlace2->isChecked()) {
        options.place = BrowserRoot::Menu;
    }
    if (c_.optWhere1->isChecked()) {
        options.newFolder = c_.txtWhereNew->text().toStdString();
    } else {
        options.noNewFolder = true;
    }
    options.keepOrder = c_.chkKeepOrder->isChecked();
    return options;
}

void FileTargetOptions::OverwriteChosen() {
    // Overwriting writes the whole file: the export goes to its root, and
    // the new-folder choice comes back with merging.
    rememberedNewFolder_ = c_.optWhere1->isChecked();
    c_.optWhere0->setChecked(true);
    c_.optWhere1->setEnabled(false);
    ShowWhere();
}

void FileTargetOptions::MergeChosen() {
    c_.optWhere1->setEnabled(true);
    if (rememberedNewFolder_) {
        c_.optWhere1->setChecked(true);
    }
    ShowWhere();
}

void FileTargetOptions::ShowWhere() {
    c_.txtWhereNew->setEnabled(c_.optWhere1->isEnabled() && c_.optWhere1->isChecked());
}

} // namespace tellavin
