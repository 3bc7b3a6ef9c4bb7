#include "export/file_target_options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace tellavin {

FileTargetOptions::FileTargetOptions(Controls controls, QObject* parent)
    : QObject(parent), c_(controls), labelText_(c_.destinationLabel->text()) {
    connect(c_.optOldErase, &QRadioButton::clicked, this, &FileTargetOptions::OverwriteChosen);
    connect(c_.optOldMerge, &QRadioButton::clicked, this, &FileTargetOptions::MergeChosen);
    connect(c_.optWhere0, &QRadioButton::toggled, this, &FileTargetOptions::ShowWhere);
    connect(c_.optWhere1, &QRadioButton::toggled, this, &FileTargetOptions::ShowWhere);
}

void FileTargetOptions::RefreshOptions(bool destinationExists, bool chosen) {
    QString state;
    if (chosen) {
        state = destinationExists ? QStringLiteral(" (File Exists)") : QStringLiteral(" (New File)");
    }
    c_.destinationLabel->setText(labelText_ + state);
    for (QWidget* control : {static_cast<QWidget*>(c_.frmOld), static_cast<QWidget*>(c_.frmWhere)}) {
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
