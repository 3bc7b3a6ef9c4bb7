#include "gui/export/refusal_focus.h"

namespace tellavin {

namespace {

// The list a window keeps a store's location in, by which end of the
// conversion it is; none for a Favorites folder, which has a box of its own.
enum class List { None, Source, Target };

struct Answer {
    OutcomeKind kind;
    List focus;
    bool emptyList;
    bool firstTab;
    bool nothingToExport;
};

constexpr Answer kAnswers[] = {
    {OutcomeKind::SourceMissing, List::Source, true, true, true},
    {OutcomeKind::SourceNotAFile, List::Source, false, false, false},
    {OutcomeKind::SameStore, List::Target, false, false, false},
    {OutcomeKind::TargetNotAFile, List::Target, false, false, false},
    {OutcomeKind::TargetNotAllowed, List::Target, false, false, false},
    {OutcomeKind::TargetMissing, List::Target, true, true, false},
    {OutcomeKind::TargetFolderMissing, List::Target, false, false, false},
    {OutcomeKind::ReplacesLarger, List::Target, false, false, false},
};

QString ListOf(List list, const Outcome& outcome) {
    if (list == List::Source && IsBookmarkFileKind(outcome.source)) {
        // The window between two bookmark files keeps its source apart.
        return QString::fromLatin1(IsBookmarkFileKind(outcome.target) ? kSourceListControl
                                                                      : kDestinationListControl);
    }
    if (list == List::Target && outcome.target != StoreKind::Favorites) {
        return QString::fromLatin1(outcome.target == StoreKind::Menu ? kMenuListControl
                                                                     : kDestinationListControl);
    }
    return {};
}

} // namespace

RefusalFocus FocusAfter(const Outcome& outcome) {
    for (const auto& answer : kAnswers) {
        if (answer.kind != outcome.kind) {
            continue;
        }
        RefusalFocus focus;
        focus.focus = ListOf(answer.focus, outcome);
        if (focus.focus.isEmpty()) {
            return {};
        }
        focus.emptiedList = answer.emptyList ? focus.focus : QString();
        focus.showFirstTab = answer.firstTab;
        focus.whatCaption =
            answer.nothingToExport ? QString::fromLatin1(kNothingToExportCaption) : QString();
        return focus;
    }
    return {};
}

} // namespace tellavin
