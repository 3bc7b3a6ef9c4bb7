#pragma once

#include "model/loss_report.h"
#include "model/outcome.h"
#include "model/user_message.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tellavin {

// What a writer, and a whole conversion, reports back to its caller.
struct ExportResult {
    // False when the target was not written at all: the outcome says why,
    // and message says it in words, with the path and the system's reason,
    // under its title.
    bool ok = true;
    Outcome outcome;
    UserMessage message;

    // What was written: folders not counting the root (nor a new folder
    // that wraps the export), and links.
    std::int32_t nFoldersWritten = 0;
    std::int32_t nLinksWritten = 0;
    // Menu pages only: every item line written, "more..." and "(Empty)" too,
    // which the exported-items total counts.
    std::int32_t nMenuItems = 0;
    // A merge: links left out because their folder in the target holds
    // their address already, and folders added to the target's folder of
    // the same name and place instead of written beside it.
    std::int32_t nLinksAlreadyThere = 0;
    std::int32_t nFoldersJoined = 0;

    // A partial success: links that could not be written, folders whose
    // links could not be listed, and the first failure with its path and
    // the system's reason.
    std::int32_t nLinksNotWritten = 0;
    std::int32_t nUnreadableFolders = 0;
    std::string sFirstFailure;

    // A browser's own store: the root that received the export as the
    // browser shows it ("Bookmarks Toolbar"), the new folder made there for
    // it (empty when the export went straight into the root), and the copy
    // of the store made before it was changed.
    std::string sPlaceName;
    std::string sNewFolder;
    std::string sBackupPath;

    // What the user still does to use the written target (how to import a
    // file into Firefox), shown after the success; empty when nothing.
    std::vector<std::string> advice;

    // What the target could not hold, or reading the source left out.
    LossReport losses;

    // A result that wrote nothing, for the reason given: a writer's failure.
    static ExportResult Failed(UserMessage why) {
        ExportResult result;
        result.ok = false;
        result.outcome.kind = OutcomeKind::WriteFailed;
        result.message = std::move(why);
        return result;
    }
    // A result that wrote nothing, refused or failed before writing.
    static ExportResult Refused(Outcome why) {
        auto result = Failed(MessageFor(why));
        result.outcome = std::move(why);
        return result;
    }

    // A result that wrote nothing because the work was cancelled; the
    // conversion names the target.
    static ExportResult Cancelled() {
        Outcome why;
        why.kind = OutcomeKind::Cancelled;
        return Refused(std::move(why));
    }

    // Everything asked for was written.
    bool Complete() const { return ok && nLinksNotWritten == 0 && sFirstFailure.empty(); }

    // Counts one link that could not be written, keeping the first reason.
    void LinkNotWritten(std::string reason) {
        ++nLinksNotWritten;
        NoteFailure(std::move(reason));
    }
    // Counts one folder whose links could not be listed.
    void FolderUnreadable(const std::string& path) {
        ++nUnreadableFolders;
        NoteFailure("Cannot read the folder \"" + path + "\"");
    }
    // Counts a link a merge left out, named in the losses.
    void LinkAlreadyThere(std::string name) {
        ++nLinksAlreadyThere;
        losses.Note(LossKind::LinkAlreadyThere, std::move(name));
    }
    // Counts a folder a merge joined, named in the losses by its path.
    void FolderJoined(std::string path) {
        ++nFoldersJoined;
        losses.Note(LossKind::FolderJoined, std::move(path));
    }
    // What a merge left out and joined, as the result says it: "12 links
    // already there were skipped; 3 folders were joined", or for a dry run
    // "... would be skipped; ... would be joined"; empty when neither
    // happened.
    std::string MergeSummary(bool wouldBe = false) const {
        auto counted = [&](std::int32_t n, const char* what, const char* where, const char* done) {
            return std::to_string(n) + " " + what + (n == 1 ? "" : "s") + where +
                   (wouldBe  ? " would be "
                    : n == 1 ? " was "
                             : " were ") +
                   done;
        };
        std::string summary;
        if (nLinksAlreadyThere > 0) {
            summary = counted(nLinksAlreadyThere, "link", " already there", "skipped");
        }
        if (nFoldersJoined > 0) {
            summary +=
                (summary.empty() ? "" : "; ") + counted(nFoldersJoined, "folder", "", "joined");
        }
        return summary;
    }

    // Keeps the first failure (a folder that could not be created or read).
    void NoteFailure(std::string reason) {
        if (sFirstFailure.empty()) {
            sFirstFailure = std::move(reason);
        }
    }
};

} // namespace tellavin
