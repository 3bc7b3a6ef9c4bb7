#pragma once

#include "conversion/conversion.h"
#include "conversion/export_checks.h"
#include "gui/export/refusal_focus.h"
#include "model/bookmark_counts.h"
#include "model/session_state.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QGroupBox;
class QProgressBar;
class QStatusBar;
class QTabWidget;

namespace tellavin {

class Dialogs;
class HoverHelp;
class PresetList;
class WhatToExport;
class Platform;
class WidgetProgress;

// What every export window shares: the hover help on its status line, the
// progress bar over it, long work with the window kept painted, refusals
// and results shown as message boxes, Escape to leave, and its place and
// options saved when it closes.
//
// Long work (counting, loading the selection, exporting) runs on the
// window's own thread and lets the event loop paint the windows from its
// progress, without taking the user's input: the core's readers and
// writers are single-threaded and own the tree they work on, so keeping
// them on one thread needs no locking and no copy of a million-link tree.
// While work runs the window refuses to close, so the main window never
// returns while a file is half written.
class ExportWindow : public QWidget {
    Q_OBJECT

public:
    ~ExportWindow() override;

protected:
    ExportWindow(ConversionPath code, SessionState& session, Platform& platform, Dialogs& dialogs,
                 QWidget& owner);

    // Call once the window's controls exist.
    void SetUpCommon(QStatusBar& statusLine, QProgressBar& bar, QTabWidget& tabs);
    // Restores the window's place, options and remembered locations (and,
    // for a menu window, its colour presets).
    void LoadSettings(PresetList* presets = nullptr);

    // Runs long work with the busy pointer, progress kept painted and the
    // window closed to the user's input.
    void RunBusy(const std::function<void()>& work);
    // Counts a source, showing each folder on the status line.
    std::optional<BookmarkCounts> CountWithProgress(const StoreLocation& source);
    // Shows a refusal's message and does what follows it (FocusAfter).
    void ShowRefusal(const Outcome& refusal, const UserMessage& message);
    // A "Bookmark File Not Selected" refusal that puts the focus on list.
    void RefuseNotSelected(const QString& text, const char* list, MessageIcon icon);
    // Call once: the window's What to Export frame and its two choices.
    void SetUpWhatToExport(QGroupBox& frame, QAbstractButton& all, QAbstractButton& selected);
    // A source was counted: its totals go to the frame and the session.
    void TakeSourceCounts(const StoreLocation& source, BookmarkCounts counts);
    // "Select Links...": the source is checked, then the selection window
    // opens on it.
    void OpenSelection(const StoreLocation& source, const StoreLocation& target);
    // The export checks, then the conversion of everything or of the
    // confirmed selection, as the frame says, with its result reported: a
    // failure, or "Exporting Complete" with what was written, and then what
    // could not be. True when it wrote. A window that shows what it wrote
    // in its own way (a menu page in the web browser) passes showWritten:
    // "Exporting Complete" then comes only when showWritten fails, with
    // notShown as its first line.
    bool CheckAndExport(ConversionRequest request, const std::function<bool()>& showWritten = {},
                        const QString& notShown = {});
    void SetStatus(const QString& text);

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    ConversionPath code_;
    WhatToExport* what_ = nullptr;
    SessionState& session_;
    Platform& platform_;
    Dialogs& dialogs_;
    std::unique_ptr<WidgetProgress> progress_;

private:
    void PlaceFramed();

    PresetList* presets_ = nullptr;
    // Where the window's frame goes when the window is first shown.
    QPoint framePlace_;
    bool placed_ = false;
    QStatusBar* statusLine_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    HoverHelp* hoverHelp_ = nullptr;
    bool busy_ = false;
};

// "Imported from FF (" + today's date in the system's short format + ")".
QString NewFolderName(const QString& prefix);

} // namespace tellavin
