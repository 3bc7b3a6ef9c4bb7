#include "targets/favorites_writer.h"

#include "model/folder_walk.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/platform.h"
#include "targets/file_name_fit.h"
#include "targets/folder_links.h"
#include "text/replace_all.h"
#include "text/utf8_repair.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <unordered_set>
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
    if (!std::filesystem::is_directory(folder, error)) {
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

// A folder's name as a directory below the one before it, separator
// included. A name that comes out empty (no name at all, or only dots)
// would put the folder's contents into its parent, so it becomes "-", the
// stand-in SafeFileName uses for every character a file name cannot hold.
std::string FolderComponent(const std::string& name, FileNameRules rules) {
    const std::string separator(1, PathSeparator());
    auto component = FixTrailingDots(FitFolderName(SafeFileName(name), rules) + separator);
    return component == separator ? "-" + separator : component;
}

ExportResult Refusal(std::string title, std::vector<std::string> lines) {
    return ExportResult::Failed({std::move(title), std::move(lines), MessageIcon::Exclamation});
}

// The file names given so far in each directory of this export, so that
// two links whose names come out equal do not overwrite each other. On
// Windows names that differ only in case are the same file.
class NamesInUse {
public:
    explicit NamesInUse(FileNameRules rules) : rules_(rules) {}

    // Takes the name in the directory; false when it was taken already.
    bool Take(const std::string& directory, const std::string& stem) {
        return names_[directory].insert(Key(stem)).second;
    }

private:
    std::string Key(const std::string& stem) const {
        if (rules_ == FileNameRules::Posix) {
            return stem;
        }
        auto folded = LinkSortKey(stem);
        return std::string(reinterpret_cast<const char*>(folded.data()),
                           folded.size() * sizeof(char16_t));
    }

    FileNameRules rules_;
    std::unordered_map<std::string, std::unordered_set<std::string>> names_;
};

class FavoritesPrinter final : public FolderVisitor {
public:
    FavoritesPrinter(BookmarkTree& tree, std::string base, const FavoritesWriteOptions& options,
                     ExportResult& result)
        : tree_(tree), base_(std::move(base)), options_(options), result_(result),
          names_(options.nameRules) {}

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& text = tree_.Node(folder).Text;
        auto relative = relative_.empty() ? std::string() : relative_.back();
        if (!isStart) {
            relative += FolderComponent(text, options_.nameRules);
            ++result_.nFoldersWritten;
            if (auto made = CreateFolder(base_ + relative); !made.ok) {
                result_.NoteFailure(made.message);
            }
        }
        relative_.push_back(relative);
        WriteLinks(folder, base_ + relative);
    }

    void Leave(std::int32_t, bool) override { relative_.pop_back(); }

private:
    void WriteLinks(std::int32_t folder, const std::string& directory) {
        for (const auto& link : GetFolderLinks(tree_, folder, options_.exportAll)) {
            auto name = SafeFileName(link.name);
            auto stem = FreeStem(name, directory);
            if (!stem) {
                result_.LinkNotWritten("Cannot write \"" + directory + name +
                                       std::string(kShortcutExtension) +
                                       "\": the path is too long");
                continue;
            }
            auto path = directory + *stem + std::string(kShortcutExtension);
            auto written = WriteFileAtomically(path, InternetShortcutText(link.url), false);
            if (written.ok) {
                ++result_.nLinksWritten;
            } else {
                result_.LinkNotWritten(written.message);
            }
        }
    }

    // The link's file name stem, numbered "(2)", "(3)"... when an earlier
    // link of this export took the name in this directory.
    std::optional<std::string> FreeStem(const std::string& name, const std::string& directory) {
        auto stem = FitLinkStem(name, options_.nameRules, directory);
        for (std::int32_t number = 2; stem && !names_.Take(directory, *stem); ++number) {
            auto suffix = std::string(1, '(').append(std::to_string(number)).append(1, ')');
            stem = FitLinkStem(name, options_.nameRules, directory, suffix);
        }
        return stem;
    }

    BookmarkTree& tree_;
    std::string base_;
    const FavoritesWriteOptions& options_;
    ExportResult& result_;
    NamesInUse names_;
    std::vector<std::string> relative_; // the written folders' paths below base, innermost last
};

} // namespace

ExportResult ExportToFavorites(BookmarkTree& tree, const std::string& favoritesFolder,
                               const FavoritesWriteOptions& options, ProgressSink& progress) {
    if (favoritesFolder.empty() || !FolderExists(favoritesFolder)) {
        return Refusal(kFavoritesMissingTitle,
                       {kFavoritesMissingText, kChangeSelectionText, favoritesFolder});
    }
    auto base = EnsureTrailingSeparator(favoritesFolder);
    switch (options.where) {
    case FavoritesPlace::Root:
        break;
    case FavoritesPlace::NewFolder: {
        base += FolderComponent(options.newFolderName, options.nameRules);
        if (auto made = CreateFolder(base); !made.ok) {
            return Refusal("Error", {made.message});
        }
        break;
    }
    case FavoritesPlace::ExistingFolder:
        if (!options.existingFolder.empty()) {
            base = EnsureTrailingSeparator(base + options.existingFolder);
            if (!FolderExists(base)) {
                return Refusal(kFavoritesMissingTitle,
                               {kSubfolderMissingText, kChangeSelectionText, base});
            }
        }
        break;
    }
    ExportResult result;
    FavoritesPrinter printer(tree, base, options, result);
    WalkExportedFolders(tree, options.exportAll, printer, result, progress);
    return result;
}

} // namespace tellavin
