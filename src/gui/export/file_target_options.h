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

class LocationBox;
struct SessionState;

// The Options tab of an export window whose target is a bookmark file:
// overwrite or merge, the backup, whether a merge skips what is there
// (Skip Links Already There), the root or a new folder, links before
// folders, the source's order kept. A new file is always written whole, at
// its root, so the choices about old bookmarks are offered only while the
// destination exists; a new folder only while merging. It follows the
// window's destination list: a chosen destination becomes the session's,
// with its profile name.
//
// While the destination is a browser's profile the tab offers what a
// browser takes instead: the root that receives the export (the bookmarks
// bar, the other bookmarks, and for Firefox its bookmarks menu) and a new
// folder there or none. A browser's store is always added to and backed up
// by its writer, and it has no title and no order of links before folders,
// so those choices are disabled.
class FileTargetOptions : public QObject {
    Q_OBJECT

public:
    struct Controls {
        QLabel* destinationLabel;
        QGroupBox* frmOld;
        QRadioButton* optOldErase;
        QRadioButton* optOldMerge;
        QCheckBox* chkBackup;
        QCheckBox* chkSkipThere;
        QGroupBox* frmPlace;
        QRadioButton* optPlace0; // the bookmarks bar
        QRadioButton* optPlace1; // the other bookmarks
        QRadioButton* optPlace2; // Firefox's bookmarks menu
        QGroupBox* frmWhere;
        QRadioButton* optWhere0;
        QRadioButton* optWhere1;
        QLineEdit* txtWhereNew;
        QCheckBox* chkLinksBefore;
        QCheckBox* chkKeepOrder;
    };

    // The controls of a window's design, which names them alike in every
    // window with a bookmark-file target.
    template <typename Design> static Controls Of(Design& ui) {
        return {ui.Label1,     ui.frmOld,       ui.optOldErase,    ui.optOldMerge,
                ui.chkBackup,  ui.chkSkipThere, ui.frmPlace,       ui.optPlace_0,
                ui.optPlace_1, ui.optPlace_2,   ui.frmWhere,       ui.optWhere_0,
                ui.optWhere_1, ui.txtWhereNew,  ui.chkLinksBefore, ui.chkKeepOrder};
    }

    FileTargetOptions(Controls controls, const LocationBox& destination, SessionState& session,
                      QObject* parent);

    // Brings the options into line with whether the chosen destination
    // exists or is a browser's profile and, once one is chosen, says so
    // beside its label.
    void RefreshOptions();
    // The target options the controls stand for, with the destination's
    // profile name; for a browser's profile its root and new folder.
    TargetOptions Options() const;

private:
    void RefreshFileOptions();
    void RefreshBrowserOptions(StoreKind kind);
    TargetOptions BrowserOptions() const;
    void OverwriteChosen();
    void MergeChosen();
    void ShowWhere();

    Controls c_;
    const LocationBox& destination_;
    SessionState& session_;
    QString labelText_;
    bool rememberedNewFolder_ = false; // optWhere(1) while overwriting forces the root
};

} // namespace tellavin
