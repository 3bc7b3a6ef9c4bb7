#pragma once

#include "model/conversion_path.h"
#include "model/user_message.h"

#include <string>

namespace tellavin {

// Why a conversion, or a check or a read on its way, ended as it did. The
// callers decide from the kind alone what follows (an exit status, the
// control that takes the focus); the words come from MessageFor.
enum class OutcomeKind {
    Done,
    // The request cannot be carried out as asked.
    NoConversion,      // between the request's kinds of store
    OptionNotApplying, // subject: the option's name
    SameStore,         // path: the target, which is the source itself
    FolderNotFound,    // path: the source; subject: the path of folders it does not hold
    // The state of the machine refused it.
    SourceMissing,       // path
    SourceNotAFile,      // path: a pipe, a socket or a device
    SourceUnreadable,    // path; reason: the system's or the reader's
    SourceEmpty,         // path: holds no folder and no link
    NoMatch,             // path: the source; subject: the text no name or address holds
    TargetNotAFile,      // path: a pipe, a socket or a device
    TargetNotAllowed,    // path: a browser's own database
    TargetReadOnly,      // path
    TargetMissing,       // path: the file to merge into is gone
    TargetFolderMissing, // path: the target's folder, or the Favorites folder itself
    SubfolderMissing,    // path: the existing Favorites sub-folder asked for
    BrowserRunning,      // subject: the browser whose folders hold the target
    BrowserStateUnknown, // subject: that browser, when nobody can tell whether it runs
    // path: a bookmark file that replacing would shrink to less than half,
    // unless forced; subject: "holds 5,214 links; the export would leave 30"
    ReplacesLarger,
    // Something failed on the way.
    BackupFailed, // path: the backup copy; reason
    WriteFailed,  // path: the target; the writer's message says more
    // The user stopped it (ProgressSink::Cancelled); path: the target, left
    // as it was.
    Cancelled,
};

// An outcome with what its message names. The request's kinds of store
// choose the words ("Bookmark File" or "Folder", "DHTML Menu File").
struct Outcome {
    OutcomeKind kind = OutcomeKind::Done;
    StoreKind source = StoreKind::Favorites;
    StoreKind target = StoreKind::Netscape;
    std::string path;
    std::string reason;
    std::string subject;
};

// What reading a store gave. A store that cannot be read at all is
// SourceUnreadable with the system's or the reader's reason; one that was
// read is Done, and its reason then tells, should it hold no folder and no
// link, that the file is not of the kind it was read as ("not an Opera
// hotlist"), which an empty store of its kind is not. True when read.
struct ReadOutcome {
    OutcomeKind kind = OutcomeKind::Done;
    std::string reason;

    explicit operator bool() const { return kind == OutcomeKind::Done; }
    static ReadOutcome Unreadable(std::string why) {
        return {OutcomeKind::SourceUnreadable, std::move(why)};
    }
};

// The refusal of a browser's own store as a target.
inline constexpr const char* kBrowserStoreNotWritable =
    "writing a browser's own database is not supported";

// The message the program shows for an outcome other than Done (a write
// failure's own message comes from its writer).
UserMessage MessageFor(const Outcome& outcome);

} // namespace tellavin
