#include "cli/outcome_answers.h"

#include "text/replace_all.h"
#include "text/visible_text.h"

namespace tellavin::cli {

namespace {

struct Answer {
    OutcomeKind kind;
    int status;
    const char* text;
};

// How the command line answers each kind of outcome.
constexpr Answer kAnswers[] = {
    {OutcomeKind::Done, 0, ""},
    {OutcomeKind::NoConversion, 2, "there is no conversion from %source to %target"},
    {OutcomeKind::OptionNotApplying, 2, "--%subject does not apply to %target"},
    {OutcomeKind::SameStore, 2, "is the source itself; choose another target"},
    {OutcomeKind::FolderNotFound, 2, "holds no folder \"%subject\""},
    {OutcomeKind::SourceMissing, 1, "does not exist"},
    {OutcomeKind::SourceNotAFile, 1, "cannot be read"},
    {OutcomeKind::SourceUnreadable, 1, "cannot be read"},
    {OutcomeKind::SourceEmpty, 1, "holds no folder and no link"},
    {OutcomeKind::NoMatch, 1, "no folder or link holds \"%subject\""},
    {OutcomeKind::TargetNotAFile, 1, "is not a file but a pipe, a socket or a device"},
    {OutcomeKind::TargetNotAllowed, 1, "is a browser's own database, which is never written"},
    {OutcomeKind::TargetReadOnly, 1, "is read-only"},
    {OutcomeKind::TargetMissing, 1, "does not exist, so nothing can be merged into it"},
    {OutcomeKind::TargetFolderMissing, 1, "the folder to write into does not exist"},
    {OutcomeKind::SubfolderMissing, 1, "the sub-folder to export into does not exist"},
    {OutcomeKind::BrowserRunning, 1,
     "lies in %subject's own folders and %subject is running; "
     "close it and try again"},
    {OutcomeKind::BrowserStateUnknown, 1,
     "lies in %subject's own folders and whether %subject is running cannot be told (the list "
     "of running programs cannot be read)"},
    {OutcomeKind::ReplacesLarger, 1,
     "%subject. Add --merge to add to it, or --force to replace it"},
    {OutcomeKind::BackupFailed, 1, "the backup copy could not be made; nothing was exported"},
    {OutcomeKind::WriteFailed, 1, "could not be written"},
    {OutcomeKind::Cancelled, 1, "was left as it was: the export was cancelled"},
};

const Answer& AnswerFor(OutcomeKind kind) {
    for (const auto& answer : kAnswers) {
        if (answer.kind == kind) {
            return answer;
        }
    }
    return kAnswers[0];
}

// The answer's text with the outcome's details in place of %source,
// %target and %subject.
std::string Filled(std::string text, const Outcome& outcome) {
    ReplaceAll(text, "%source", StoreKindDescription(outcome.source));
    ReplaceAll(text, "%target", StoreKindDescription(outcome.target));
    ReplaceAll(text, "%subject", outcome.subject);
    return text;
}

} // namespace

int ExitStatusFor(OutcomeKind kind) {
    return AnswerFor(kind).status;
}

std::string OutcomeLine(const Outcome& outcome) {
    std::string line = "tellavin-cli: ";
    if (!outcome.path.empty()) {
        line += VisibleText(outcome.path) + ": ";
    }
    line += Filled(AnswerFor(outcome.kind).text, outcome);
    if (!outcome.reason.empty()) {
        line += ": " + VisibleText(outcome.reason);
    }
    return line;
}

} // namespace tellavin::cli
