#pragma once

#include "conversion/conversion.h"

#include <QObject>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tellavin {

// The Options tab of an export window whose target is a bookmark file:
// overwrite or merge, the backup, the root or a new folder, links before
// folders. A new file is always written whole, at its root, so the choices
// about old bookmarks are offered only while the destination exists; a new
// folder only while merging.
class FileTargetOptions : public QObject {
    Q_OBJECT

public:
    struct Controls {
        QLabel* destinationLabel;
        QGroupBox* frmOld;
        QRadioButton* optOldErase;
        QRadioButton* optOldMerge;
        QCheckBox* chkBackup;
        QGroupBox* frmWhere;
        QRadioButton* optWhere0;
        QRadioButton* optWhere1;
        QLineEdit* txtWhereNew;
        QCheckBox* chkLinksBefore;
    };

    FileTargetOptions(Controls controls, QObject* parent);

    // Brings the options into line with whether the destination exists and,
    // once a destination is chosen, says so beside the destination's label.
    void RefreshOptions(bool destinationExists, bool chosen = true);
    // The target options the controls stand for.
    TargetOptions Options() const;

private:
    void OverwriteChosen();
    void MergeChosen();
    void ShowWhere();

    Controls c_;
    QString labelText_;
    bool rememberedNewFolder_ = false; // optWhere(1) while overwriting forces the root
};

} // namespace tellavin
