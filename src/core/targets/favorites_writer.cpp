#include "targets/favorites_writer.h"

#include "model/folder_walk.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/folder_time.h"
#include "platform/platform.h"
#include "sources/favorites_reader.h"
#include "targets/favorites_directory.h"
#include "targets/file_name_fit.h"
#include "targets/folder_links.h"
#include "text/collation.h"
#include "text/replace_all.h"
#include "text/utf8_repair.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tellavin {

std::string SafeFileName(std::string text) {
    text = RepairUtf8Text(std::move(text));
    for (char c : {'/', '\\', ':', '*', '?', '<', '>', '|', '"'}) {
        std::replace(text.begin(), text.end(), c, '-');
    }
    // Control characters (a line break kept in a Netscape-format name, a
    // tab) are not allowed in Windows file names, and a NUL would end the
    // name early anywhere.
    std::replace_if(
        text.begin(), text.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; }, '-');
    return text;
}

std::string FixTrailingDots(std::string path) {
    const std::string dotted = std::string(".") + PathSeparator();
    const std::string plain(1, PathSeparator());
    while (path.find(dotted) != std::string::npos) {
        ReplaceAll(path, dotted, plain);
    }
    return path;
}

WriteResult CreateFolder(const std::string& path) {
    auto folder = PathFromUtf8(path);
    if (folder.has_relative_path() && !folder.has_filename()) {
        folder = folder.parent_path(); // "x/" names the directory x
    }
    std::error_code error;
    std::filesystem::create_directory(folder, error);
    if (error) {
        return {false, "Cannot create the folder \"" + path + "\": " + error.message()};
    }
    // A symbolic link to a directory is not one: the writer would write
    // wherever it points.
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(folder, error))) {
        auto reason = std::make_error_code(std::errc::not_a_directory).message();
        return {false, "Cannot create the folder \"" + path + "\": " + reason};
    }
    return {};
}

std::string InternetShortcutText(const std::string& url) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = "URL=";
    line.reserve(line.size() + url.size());
    for (unsigned char c : url) {
        if (c < 0x20 || c >= 0x7F) {
            line.push_back('%');
            line.push_back(kHex[c >> 4]);
            line.push_back(kHex[c & 0x0F]);
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    return "[InternetShortcut]\r\n" + line + "\r\n";
}

namespace {

// A folder's name as a directory name. A name that comes out empty (no
// name at all, or only dots) would put the folder's contents into its
// parent, so it becomes "-", the stand-in SafeFileName uses for every
// character a file name cannot hold.
std::string FolderName(const std::string& name, FileNameRules rules) {
    auto component = FixTrailingDots(FitFolderName(SafeFileName(name), rules) + PathSeparator());
    component.pop_back();
    return component.empty() ? "-" : component;
}

ExportResult Refusal(std::string title, std::vector<std::string> lines) {
    return ExportResult::Failed({std::move(title), std::move(lines), MessageIcon::Exclamation});
}

// Where a folder's directory goes in its parent: an existing directory
// whose name matches but for letter case is used under its own name, so a
// second export does not add "news" beside "News"; otherwise a new one is
// made. A symbolic link of that name is never entered. failure is empty on
// success.
struct FolderPlace {
    std::string name;
    std::string failure;
    bool joined = false; // the directory was there already
};

FolderPlace PlaceFolder(const FavoritesDirectory& parent, const std::string& parentPath,
                        const std::string& name) {
    auto existing = parent.Find(name);
    FolderPlace place{existing ? existing->name : name, {}};
    if (existing && existing->type == ListedType::SymbolicLink) {
        place.failure =
            "Cannot create the folder \"" + parentPath + place.name + "\": " + kSymbolicLinkInPlace;
    } else if (!existing || existing->type != ListedType::Folder) {
        place.failure = CreateFolder(parentPath + place.name).message;
    } else {
        place.joined = true;
    }
    return place;
}

// The toolbar folder that becomes the Links folder: the first in the tree
// that is written straight into the base directory (no folder between it
// and the root is written, and none is the trash); -1 when there is none.
std::int32_t FolderToBeLinks(const BookmarkTree& tree, bool exportAll) {
    auto passedOver = [&](std::int32_t folder) {
        return !exportAll && !tree.Node(folder).Checked && !tree.FolderTable.at(folder).bTrash;
    };
    for (std::int32_t folder = 1; folder < tree.NodeCount(); ++folder) {
        const auto& record = tree.FolderTable.at(folder);
        if (!record.bToolbar || record.bTrash || (!exportAll && !tree.Node(folder).Checked)) {
            continue;
        }
        auto above = tree.Parent(folder);
        while (above > 0 && passedOver(above)) {
            above = tree.Parent(above);
        }
        if (above == 0) {
            return folder;
        }
    }
    return -1;
}

// The walk keeps one path, the innermost written folder's directory, that
// grows as it enters a folder and shrinks as it leaves, so a deep tree
// costs what its names take and no more.
class FavoritesPrinter final : public FolderVisitor {
public:
    // The Links name is kept for its folder from the start, so a folder of
    // the source called so is numbered whichever of them comes first.
    FavoritesPrinter(BookmarkTree& tree, std::string base, const WriteOptions& options,
                     FileNameRules nameRules, ExportResult& result)
        : tree_(tree), path_(std::move(base)), options_(options), nameRules_(nameRules),
          result_(result), root_(path_), links_(FolderToBeLinks(tree, options.exportAll)) {
        if (links_ >= 0) {
            root_.TakeFolderName(kFavoritesToolbarName);
        }
    }

    void Enter(std::int32_t folder, bool isStart) override {
        auto text = tree_.Node(folder).Text;
        // The root is not entered when it is not written: its checked
        // sub-folders go straight into the base directory.
        auto* parent = levels_.empty() ? &root_ : levels_.back().directory;
        Level level{isStart ? &root_ : nullptr, path_.size(), 0};
        if (folder == links_ && text != kFavoritesToolbarName) {
            result_.losses.Note(LossKind::ToolbarRenamed,
                                RenamedExample(text, kFavoritesToolbarName));
            text = kFavoritesToolbarName;
        }
        if (!isStart && parent != nullptr) {
            MakeFolder(*parent, folder, text, folder == links_, level);
        }
        levels_.push_back(level);
        if (level.directory != nullptr) {
            WriteLinks(folder, *level.directory);
            NoteOrderNotKept(folder);
        } else {
            CountUnwrittenLinks(folder);
        }
    }

    // A directory made for a folder with a change date takes it as its last
    // write once everything inside is written. A date the system does not
    // take is not reported: no loss kind counts folder dates.
    void Leave(std::int32_t, bool) override {
        if (auto changed = levels_.back().changed; changed != 0) {
            SetFolderLastWrite(path_, changed);
        }
        path_.resize(levels_.back().pathSize);
        levels_.pop_back();
    }

private:
    struct Level {
        FavoritesDirectory* directory; // nothing when the folder was not made
        std::size_t pathSize;          // the length of the path before the folder
        std::int64_t changed;          // the folder's change date for a directory made now
    };

    // Makes or finds the folder's directory and enters it, into level; no
    // directory, with the failure noted, when it cannot be made. nameKept:
    // the name was taken for the folder beforehand.
    void MakeFolder(FavoritesDirectory& parent, std::int32_t folder, const std::string& text,
                    bool nameKept, Level& level) {
        auto name = FolderName(text, nameRules_);
        auto taken = nameKept ? name : parent.TakeFolderName(name);
        auto place = PlaceFolder(parent, path_, taken);
        if (!place.failure.empty()) {
            result_.NoteFailure(place.failure);
            return;
        }
        const auto& record = tree_.FolderTable.at(folder);
        if (place.joined && !options_.keepDuplicates) {
            result_.FolderJoined(FolderInReport(tree_, folder));
        } else {
            ++result_.nFoldersWritten;
            level.changed = place.joined ? 0 : record.nChanged;
            if (!record.sDescription.empty()) {
                result_.losses.Note(LossKind::DescriptionDropped, FolderInReport(tree_, folder));
            }
        }
        // A sibling of the same name makes the directory's name numbered.
        if (taken != name) {
            result_.losses.Note(LossKind::DuplicateNumbered, RenamedExample(text, place.name));
        } else if (place.name != text) {
            result_.losses.Note(LossKind::NameChanged, RenamedExample(text, place.name));
        }
        path_.append(place.name).push_back(PathSeparator());
        level.directory = &parent.Child(place.name, path_);
    }

    void WriteLinks(std::int32_t folder, FavoritesDirectory& directory) {
        for (const auto& link : GetFolderLinks(tree_, folder, options_.exportAll)) {
            WriteLink(link, directory);
        }
    }

    void WriteLink(const LinkItem& link, FavoritesDirectory& directory) {
        if (!options_.keepDuplicates && directory.HeldAddress(link.url)) {
            result_.LinkAlreadyThere(link.name);
            return;
        }
        const std::string extension(kShortcutExtension);
        auto name = SafeFileName(link.name);
        auto taken = directory.Stems().Take(name, nameRules_, path_);
        if (!taken) {
            result_.LinkNotWritten("Cannot write \"" + path_ + name + extension +
                                   "\": the path is too long");
            return;
        }
        // An existing shortcut whose name differs only in letter case is
        // replaced under its own name rather than doubled.
        const auto& stem = taken->stem;
        auto existing = directory.Find(stem + extension);
        auto path = path_ + (existing ? existing->name : stem + extension);
        auto written = WriteFileAtomicallyNotFollowing(path, InternetShortcutText(link.url), false);
        if (!written.ok) {
            result_.LinkNotWritten(written.message);
            return;
        }
        ++result_.nLinksWritten;
        if (taken->numbered) {
            result_.losses.Note(LossKind::DuplicateNumbered, RenamedExample(link.name, stem));
        } else if (stem != link.name) {
            result_.losses.Note(LossKind::NameChanged, RenamedExample(link.name, stem));
        }
        KeepDates(link, path);
        NoteDetailsDropped(link);
    }

    // A shortcut file has no place for a description, keyword or tags.
    void NoteDetailsDropped(const LinkItem& link) {
        if (!link.description.empty()) {
            result_.losses.Note(LossKind::DescriptionDropped, link.name);
        }
        if (!link.keyword.empty()) {
            result_.losses.Note(LossKind::KeywordDropped, link.name);
        }
        if (!link.tags.empty()) {
            result_.losses.Note(LossKind::TagsDropped, link.name);
        }
    }

    // The change date becomes the file's last write; a shortcut file has no
    // place for the creation date.
    void KeepDates(const LinkItem& link, const std::string& path) {
        if (link.created != 0) {
            result_.losses.Note(LossKind::CreatedDateDropped, link.name);
        }
        if (link.changed == 0) {
            return;
        }
        auto moment = std::chrono::sys_seconds(std::chrono::seconds(link.changed));
        std::error_code error;
        std::filesystem::last_write_time(PathFromUtf8(path),
                                         std::chrono::file_clock::from_sys(moment), error);
        if (error) {
            result_.losses.Note(LossKind::ChangedDateDropped, link.name);
        }
    }

    // A Favorites folder shows its sub-folders by name, then its links by
    // name: a folder whose source order differs loses it.
    void NoteOrderNotKept(std::int32_t folder) {
        if (OrderToWalk(tree_, options_.keepOrder) == WalkOrder::Display) {
            return;
        }
        auto shownBefore = [](const EntryRecord& a, const EntryRecord& b) {
            if (a.IsFolder() != b.IsFolder()) {
                return a.IsFolder();
            }
            return DisplayNameLess(a.sName, b.sName);
        };
        const EntryRecord* previous = nullptr;
        for (const auto& row : tree_.Rows(folder)) {
            if (row.IsSeparator()) {
                continue;
            }
            if (previous != nullptr && shownBefore(row, *previous)) {
                result_.losses.Note(LossKind::OrderNotKept, FolderInReport(tree_, folder));
                return;
            }
            previous = &row;
        }
    }

    // The links of a folder that could not be made are not written; the
    // folder's failure is their reason.
    void CountUnwrittenLinks(std::int32_t folder) {
        result_.nLinksNotWritten +=
            static_cast<std::int32_t>(GetFolderLinks(tree_, folder, options_.exportAll).size());
    }

    BookmarkTree& tree_;
    std::string path_; // the innermost written folder's directory, separator at the end
    const WriteOptions& options_;
    FileNameRules nameRules_;
    ExportResult& result_;
    FavoritesDirectory root_;
    std::int32_t links_; // the toolbar folder that becomes the Links folder, or -1
    std::vector<Level> levels_;
};

// An existing sub-folder chosen to write into must lie inside the Favorites
// folder: a relative path that does not climb out with ".." and passes
// through no symbolic link.
bool StaysInside(const std::string& base, const std::string& relative) {
    auto path = PathFromUtf8(relative);
    if (path.has_root_path()) {
        return false;
    }
    auto reached = PathFromUtf8(base);
    for (const auto& part : path) {
        if (part == "..") {
            return false;
        }
        reached /= part;
        std::error_code error;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(reached, error))) {
            return false;
        }
    }
    return true;
}

} // namespace

ExportResult ExportToFavorites(BookmarkTree& tree, const std::string& favoritesFolder,
                               const WriteOptions& options, ProgressSink& progress,
                               FileNameRules nameRules) {
    if (favoritesFolder.empty() || !FolderExists(favoritesFolder)) {
        return Refusal(kFavoritesMissingTitle,
                       {kFavoritesMissingText, kChangeSelectionText, favoritesFolder});
    }
    auto base = EnsureTrailingSeparator(favoritesFolder);
    ExportResult result;
    if (options.newFolder) {
        auto place =
            PlaceFolder(FavoritesDirectory(base), base, FolderName(*options.newFolder, nameRules));
        if (!place.failure.empty()) {
            return Refusal("Error", {place.failure});
        }
        base += place.name + PathSeparator();
        if (place.joined && !options.keepDuplicates) {
            result.FolderJoined(*options.newFolder);
        }
    } else if (options.existingFolder && !options.existingFolder->empty()) {
        const auto& existing = *options.existingFolder;
        if (!StaysInside(base, existing)) {
            return Refusal(kSubfolderOutsideTitle,
                           {kSubfolderOutsideText, kNotInsideText, existing});
        }
        base = EnsureTrailingSeparator(base + existing);
        if (!FolderExists(base)) {
            return Refusal(kFavoritesMissingTitle,
                           {kSubfolderMissingText, kChangeSelectionText, base});
        }
    }
    FavoritesPrinter printer(tree, base, options, nameRules, result);
    // Each link is a file written as the walk reaches it, so a walk stopped
    // half way would leave half an export behind.
    WalkOptions walk;
    walk.runsToEnd = true;
    WalkExportedFolders(tree, options.exportAll, printer, result, progress, walk);
    return result;
}

} // namespace tellavin
