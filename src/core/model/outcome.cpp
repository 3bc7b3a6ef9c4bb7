#include "model/outcome.h"

namespace tellavin {

namespace {

UserMessage Refusal(std::string title, std::vector<std::string> lines) {
    return {std::move(title), std::move(lines), MessageIcon::Exclamation};
}

UserMessage BookmarkFileGone() {
    return Refusal("Bookmark File Does Not Exist", {"The Selected Bookmark File Does Not Exist.",
                                                    "Please, Select Another Bookmark File."});
}

UserMessage BrowserMessage(const Outcome& outcome) {
    const auto& browser = outcome.subject;
    if (outcome.kind == OutcomeKind::BrowserStateUnknown) {
        return Refusal(
            "Unable to Check " + browser,
            {"Unable to find out whether the " + browser + " browser is running:",
             "the list of running programs cannot be read.",
             "The bookmarks are not exported to " + browser + " while this is unknown."});
    }
    return Refusal(browser + " is running",
                   {"The " + browser + " browser appears to be running.",
                    "In order to export the bookmarks to " + browser + ",",
                    "it is necessary to close all the " + browser + " browsers."});
}

UserMessage SourceMessage(const Outcome& outcome) {
    // A browser's store is a file in its profile.
    const bool file = outcome.source != StoreKind::Favorites;
    switch (outcome.kind) {
    case OutcomeKind::SourceMissing:
        if (!file) {
            return Refusal("Selected Folder Does Not Exist", {"The Selected Folder Does Not Exist.",
                                                              "Please, Select Another Folder."});
        }
        return BookmarkFileGone();
    case OutcomeKind::SourceNotAFile:
    case OutcomeKind::SourceUnreadable:
        return Refusal(file ? "Bookmark File Cannot Be Read" : "Folder Cannot Be Read",
                       {outcome.path,
                        file ? "The Selected Bookmark File Cannot Be Read."
                             : "The Selected Folder Cannot Be Read.",
                        outcome.reason});
    default:
        return Refusal(file ? "Select a Bookmark File" : "Select a Folder",
                       {outcome.path, file ? "The Selected File Does Not Contain Any Bookmark."
                                           : "The Selected Folder Does Not Contain Any Bookmark."});
    }
}

UserMessage TargetMessage(const Outcome& outcome) {
    const bool menu = outcome.target == StoreKind::Menu;
    const std::string file = menu ? "DHTML Menu File" : "Bookmark File";
    switch (outcome.kind) {
    case OutcomeKind::SameStore:
        return Refusal("Source and Destination Are the Same",
                       {outcome.path, "The Selected Destination Is the Source Itself.",
                        "Please, Select Another Destination."});
    case OutcomeKind::TargetNotAFile:
        return Refusal("Warning", {outcome.path, "The Selected Destination Is Not a File.",
                                   "Please, Select Another Destination."});
    case OutcomeKind::TargetNotAllowed:
        return Refusal("Browser Database", {outcome.path, kBrowserStoreNotWritable});
    case OutcomeKind::TargetReadOnly:
        return Refusal("Read-Only Bookmark File",
                       {"The Selected " + file + " is Read-Only.",
                        "Please, Select Another Bookmark File or Change Attribute."});
    case OutcomeKind::TargetMissing:
        return BookmarkFileGone();
    case OutcomeKind::TargetFolderMissing:
        if (outcome.target == StoreKind::Favorites) {
            return Refusal("Selected Subfolder Does Not Exist",
                           {"The Selected Folder Where To Export The Bookmarks",
                            "Does Not Exist Anymore. Please, Change Selection."});
        }
        return Refusal("Warning",
                       {outcome.path, "The Path of the Selected " + file + " Does Not Exist.",
                        "Please, Select Another Destination."});
    default:
        return Refusal("Selected Subfolder Does Not Exist",
                       {"The Selected Subfolder Where To Export The Bookmarks",
                        "Does Not Exist Anymore. Please, Change Selection."});
    }
}

} // namespace

UserMessage MessageFor(const Outcome& outcome) {
    switch (outcome.kind) {
    case OutcomeKind::Done:
        return {};
    case OutcomeKind::NoConversion:
        return Refusal("No Such Conversion",
                       {"There is no conversion from " +
                        std::string(StoreKindDescription(outcome.source)) + " to " +
                        std::string(StoreKindDescription(outcome.target)) + "."});
    case OutcomeKind::OptionNotApplying:
        return Refusal("Option Does Not Apply",
                       {"The option \"" + outcome.subject + "\" does not apply to " +
                        std::string(StoreKindDescription(outcome.target)) + "."});
    case OutcomeKind::SourceMissing:
    case OutcomeKind::SourceNotAFile:
    case OutcomeKind::SourceUnreadable:
    case OutcomeKind::SourceEmpty:
        return SourceMessage(outcome);
    case OutcomeKind::FolderNotFound:
        return Refusal("No Such Folder",
                       {outcome.path, "There Is No Folder \"" + outcome.subject + "\" In It."});
    case OutcomeKind::NoMatch:
        return Refusal("Nothing Found",
                       {outcome.path, "No Folder and No Link Holds \"" + outcome.subject + "\"."});
    case OutcomeKind::BrowserRunning:
    case OutcomeKind::BrowserStateUnknown:
        return BrowserMessage(outcome);
    case OutcomeKind::ReplacesLarger:
        return Refusal("Replace a Larger Bookmark File?",
                       {"\"" + outcome.path + "\" " + outcome.subject + ".",
                        "Replace it anyway? To add the export to it, choose to merge."});
    case OutcomeKind::BackupFailed:
        return {"Backup Failed",
                {"The backup copy \"" + outcome.path + "\" could not be made:", outcome.reason,
                 "The bookmarks were not exported."},
                MessageIcon::Critical};
    case OutcomeKind::WriteFailed:
        return {"Export Failed", {outcome.path, outcome.reason}, MessageIcon::Critical};
    case OutcomeKind::Cancelled:
        return {"Exporting Cancelled",
                {"The export was cancelled.", "\"" + outcome.path + "\" was left as it was."},
                MessageIcon::Information};
    default:
        return TargetMessage(outcome);
    }
}

} // namespace tellavin
