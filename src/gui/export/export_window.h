#pragma once

#include "conversion/conversion.h"
#include "conversion/export_checks.h"
#include "gui/export/refusal_focus.h"
#include "gui/windows/worker_progress.h"
#include "model/bookmark_counts.h"
#include "model/session_state.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QGroupBox;
class QProgressBar;
class QPushButton;
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
// progress bar over it, long work on a worker thread with the window kept
// answering, refusals and results shown as message boxes, Escape to leave,
// and its place and options saved when it closes.
//
// Long work (counting, loading the selection, exporting) runs on one
// worker thread while the window's event loop goes on: the window paints,
// shows the work's progress and answers, its controls disabled but for
// Cancel beside the progress bar. The core's readers and writers are
// single-threaded and own the tree they work on, so a tree is moved to the
// worker whole and back once the work ended, never shared while both
// threads run. Cancel or Escape asks the work to stop (an export then
// leaves its target as it was); closing the window asks the same and
// closes it once the work ended, so the main window never returns while a
// file is half written.
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

    // Runs long work on the worker thread with the busy pointer and its
    // progress shown, the window's controls disabled meanwhile; returns once
    // it ended: true when it ran to its end, false when cancelled. Work
    // that cannot be cut short (a count) is not offered to cancel.
    bool RunBusy(const std::function<void(ProgressSink&)>& work, bool cancellable = true);
    // RunBusy, for work handed on (the selection window's load).
    WorkRunner BusyRunner();
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
    // The conversion on the worker thread, the confirmed selection's tree
    // moved there when the frame says to export it, and back.
    ExportResult RunExport(ConversionRequest request);
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
    // Escape: cancels the work running, or closes the window.
    void EscapePressed();
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
    QPushButton* cancelWork_ = nullptr;
    // The progress of the work running, which Cancel stops; null when idle.
    WorkerProgress* work_ = nullptr;
    bool closeAfterWork_ = false;
};

// "Imported from FF (" + today's date in the system's short format + ")".
QString NewFolderName(const QString& prefix);

} // namespace tellavin
