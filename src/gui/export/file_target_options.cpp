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
    ShowWhere();
}

TargetOptions FileTargetOptions::Options() const {
    TargetOptions options;
    const bool exists = c_.frmOld->isEnabled();
    options.merge = exists && c_.optOldMerge->isChecked();
    options.backup = exists && c_.chkBackup->isChecked();
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
