#include "selection/selection_choice.h"

#include "selection/selection_filter.h"
#include "selection/selection_model.h"

#include <algorithm>

namespace tellavin {

std::int32_t FolderAtPath(const BookmarkTree& tree, std::string_view path) {
    if (!tree.HasRoot()) {
        return -1;
    }
    std::int32_t folder = 0;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const auto name = path.substr(0, slash);
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
        if (name.empty()) {
            continue;
        }
        const auto& children = tree.Node(folder).children;
        const auto named = std::find_if(children.begin(), children.end(), [&](std::int32_t child) {
            return tree.Node(child).Text == name;
        });
        if (named == children.end()) {
            return -1;
        }
        folder = *named;
    }
    return folder;
}

ChoiceOutcome ApplyChoice(BookmarkTree& tree, const SelectionChoice& choice,
                          ProgressSink& progress) {
    std::vector<std::int32_t> folders;
    for (const auto& path : choice.folders) {
        const auto folder = FolderAtPath(tree, path);
        if (folder < 0) {
            return {OutcomeKind::FolderNotFound, path};
        }
        folders.push_back(folder);
    }
    SelectionModel selection(tree);
    selection.SetAllFoldersChecked(false);
    if (choice.match.empty()) {
        for (auto folder : folders) {
            selection.SetFolderAndSubsChecked(folder, true);
        }
        return {};
    }
    const auto found = SelectionFilter(tree, folders, progress).Find(choice.match);
    if (found.Empty()) {
        return {OutcomeKind::NoMatch, choice.match};
    }
    CheckFound(selection, found);
    return {};
}

} // namespace tellavin
