#include "targets/opera_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "sources/opera_reader.h"
#include "targets/folder_ends.h"
#include "targets/folder_links.h"
#include "targets/merge_plan.h"
#include "text/byte_search.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

namespace tellavin {

namespace detail {

std::string OrderText(std::int32_t order) {
    std::string text(1, order < 0 ? '-' : ' ');
    auto magnitude = order < 0 ? -static_cast<std::int64_t>(order) : order;
    return text + std::to_string(magnitude) + " ";
}

// Line breaks are rare: one search for control characters finds them.
void AppendFieldText(std::string& out, std::string_view value) {
    std::size_t done = 0;
    for (auto at = FindByteBelow(value, '\r' + 1); at != std::string_view::npos;
         at = FindByteBelow(value, '\r' + 1, at + 1)) {
        if (value[at] != '\r' && value[at] != '\n') {
            continue;
        }
        out.append(value.substr(done, at - done));
        out += "\x02\x02";
        done = at + 1;
        if (value[at] == '\r' && done < value.size() && value[done] == '\n') {
            at = done++;
        }
    }
    out.append(value.substr(done));
}

} // namespace detail

namespace {

constexpr std::int32_t kFolderOrder = -1;

// A field line, when the value holds anything.
void PrintField(std::string& out, std::string_view key, std::string_view value) {
    if (!value.empty()) {
        out.append("    ").append(key).append("=");
        detail::AppendFieldText(out, value);
        out += "\r\n";
    }
}

void PrintDate(std::string& out, std::int64_t seconds) {
    if (seconds != 0) {
        out += "    CREATED=";
        out += std::to_string(seconds);
        out += "\r\n";
    }
}

void PrintHotlistFolderStart(std::string& out, const std::string& name,
                             const FolderRecord* record = nullptr) {
    out += "#FOLDER\r\n    NAME=";
    detail::AppendFieldText(out, name);
    out += "\r\n";
    if (record != nullptr) {
        PrintDate(out, record->nCreated);
        PrintField(out, "DESCRIPTION", record->sDescription);
        if (record->bToolbar) {
            out += "    ON PERSONALBAR=YES\r\n";
        }
    }
    out += "    ORDER = ";
    out += detail::OrderText(kFolderOrder);
    out += "\r\n\r\n";
}

// orderLine is the whole ORDER line with its line end and the empty line
// after it, the same for every link of a folder.
void PrintHotlistLink(std::string& out, const EntryRecord& link, const LinkDetails& details,
                      std::string_view orderLine) {
    out += "#URL\r\n    NAME=";
    detail::AppendFieldText(out, link.sName);
    out += "\r\n    URL=";
    detail::AppendFieldText(out, link.sURL);
    out += "\r\n";
    PrintDate(out, link.nCreated);
    PrintField(out, "DESCRIPTION", details.description);
    PrintField(out, "SHORT NAME", details.keyword);
    out += orderLine;
}

void PrintHotlistSeparator(std::string& out) {
    out += "#SEPERATOR\r\n\r\n";
}

void PrintHotlistFolderEnd(std::string& out) {
    out += "-\r\n";
}

// A merge that joins folders: the plan, and the blocks the export adds to
// each folder of the old file by its number in the file's tree (the
// top level's under 0).
struct JoinedHotlist {
    const MergePlan& plan;
    std::map<std::int32_t, std::string>& additions;
};

class HotlistPrinter final : public FolderVisitor {
public:
    // joined, in a merge that joins folders: where a joined folder's blocks go.
    // out: where the top level's blocks go, the file's buffer unless joined.
    HotlistPrinter(BookmarkTree& tree, const WriteOptions& options, AtomicFileWriter& file,
                   std::string& out, ExportResult& result, const JoinedHotlist* joined = nullptr)
        : tree_(tree), options_(options), file_(file), out_(&out), result_(result), joined_(joined),
          order_(OrderToWalk(tree, options.keepOrder)),
          orderLine_("    ORDER = " +
                     detail::OrderText(options.links == LinksPlacement::BeforeFolders ? -2 : 0) +
                     "\r\n\r\n") {}

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        auto join = joined_ != nullptr ? joined_->plan.JoinOf(folder) : -1;
        levels_.push_back({out_, join >= 0 && !isStart});
        if (join >= 0) {
            out_ = &joined_->additions[join];
            if (!isStart) {
                result_.FolderJoined(FolderInReport(tree_, folder));
            }
        } else if (!isStart) {
            PrintHotlistFolderStart(*out_, tree_.Node(folder).Text, &tree_.FolderTable.at(folder));
            ++result_.nFoldersWritten;
        }
        if (options_.links == LinksPlacement::BeforeFolders && order_ == WalkOrder::Display) {
            PrintLinks(folder);
        }
    }

    void Leave(std::int32_t folder, bool isStart) override {
        if (options_.links == LinksPlacement::AfterFolders && order_ == WalkOrder::Display) {
            PrintLinks(folder);
        }
        auto level = levels_.back();
        levels_.pop_back();
        if (!isStart && !level.joined) {
            PrintHotlistFolderEnd(*out_);
        }
        out_ = level.out;
        file_.WriteIfFull();
    }

    void Row(std::int32_t folder, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            PrintHotlistSeparator(*out_);
            file_.WriteIfFull();
        } else if (options_.links != LinksPlacement::None) {
            PrintLink(folder, row);
        }
    }

private:
    struct Level {
        std::string* out; // where blocks went before the folder
        bool joined;      // a folder of the export joined with the file's
    };

    void PrintLinks(std::int32_t folder) {
        for (auto row : GetFolderLinkRows(tree_, folder, options_.exportAll)) {
            PrintLink(folder, tree_.EntryTable[static_cast<std::size_t>(row)]);
        }
    }

    // A link whose address the joined folder holds already is left out.
    void PrintLink(std::int32_t folder, const EntryRecord& link) {
        if (joined_ != nullptr && joined_->plan.AlreadyThere(folder, link.sURL)) {
            result_.LinkAlreadyThere(std::string(link.sName));
            return;
        }
        const auto& details = tree_.DetailsOf(link);
        PrintHotlistLink(*out_, link, details, orderLine_);
        file_.WriteIfFull();
        ++result_.nLinksWritten;
        if (link.nChanged != 0) {
            result_.losses.Note(LossKind::ChangedDateDropped, std::string(link.sName));
        }
        if (!details.tags.empty()) {
            result_.losses.Note(LossKind::TagsDropped, std::string(link.sName));
        }
    }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    AtomicFileWriter& file_;
    std::string* out_; // the file's buffer, or a joined folder's blocks
    ExportResult& result_;
    const JoinedHotlist* joined_;
    std::vector<Level> levels_; // per open folder
    WalkOrder order_;
    std::string orderLine_; // the same ORDER line for every link
};

ExportResult Failure(std::string reason) {
    return ExportResult::Failed(
        {kOperaWriteErrorTitle, {kOperaWriteErrorText, std::move(reason)}, MessageIcon::Critical});
}

// New blocks start on a line of their own.
void EndLastLine(std::string& out, std::string_view old) {
    if (!old.empty() && old.back() != '\n') {
        out += "\r\n";
    }
}

// Which of the old hotlist's folders the export joins and which of its
// links are there already, on the file's own tree; a folder is joined only
// where the file writes its end, and never the trash.
MergePlan PlanHotlistMerge(BookmarkTree& tree, const std::string& destination,
                           const std::string& old, const WriteOptions& options, FolderEnds& ends) {
    BookmarkTree target;
    LoadOperaTree(target, destination);
    FolderEndSink found;
    ParseOperaHotlist(old, found);
    ends = found.ends;
    auto sameName = [](std::string_view a, std::string_view b) { return a == b; };
    auto start = !target.HasRoot()   ? -1
                 : options.newFolder ? FindSubfolder(target, 0, *options.newFolder, sameName)
                                     : 0;
    auto canJoin = [&](std::int32_t folder) {
        return folder == 0 || (ends.EndOf(folder) && !target.FolderTable.at(folder).bTrash);
    };
    return MergePlan(tree, target, {start, options.exportAll}, sameName, canJoin);
}

// Writes the old text with each joined folder's blocks just before the
// line that ends that folder.
void WriteWithAdditions(AtomicFileWriter& file, std::string_view old,
                        std::map<std::int32_t, std::string>& additions, const FolderEnds& ends) {
    std::vector<std::pair<std::size_t, std::int32_t>> places;
    for (const auto& [folder, blocks] : additions) {
        if (folder != 0 && !blocks.empty()) {
            places.emplace_back(*ends.EndOf(folder), folder);
        }
    }
    std::sort(places.begin(), places.end());
    std::size_t done = 0;
    for (const auto& [place, folder] : places) {
        file.Write(old.substr(done, place - done));
        file.Write(additions[folder]);
        done = place;
    }
    file.Write(old.substr(done));
}

} // namespace

ExportResult PrintHotlistFile(BookmarkTree& tree, const std::string& destination,
                              const WriteOptions& options, ProgressSink& progress) {
    std::optional<std::string> old;
    if (options.merge) {
        old = ReadWholeFile(destination);
        if (!old) {
            return Failure("Cannot read \"" + destination +
                           "\": " + ReasonCannotRead(destination, false));
        }
        // Records appended to anything but a hotlist (a web page, a hotlist
        // saved as UTF-16) would be read by nobody.
        if (!IsHotlistText(*old)) {
            return ExportResult::Failed(
                {kOperaWriteErrorTitle,
                 {"Cannot merge into \"" + destination + "\":",
                  "it is not an Opera hotlist (it does not begin with \"Opera Hotlist\"). The "
                  "file was left unchanged."}});
        }
    }
    // The text goes to the file as it is composed; in a merge that joins
    // folders once the old text has taken the blocks of the joined ones.
    AtomicFileWriter file(destination);
    auto& out = file.Buffer();
    ExportResult result;
    std::optional<MergePlan> plan;
    FolderEnds ends;
    std::map<std::int32_t, std::string> additions;
    std::optional<JoinedHotlist> joined;
    if (old && !options.keepDuplicates) {
        plan = PlanHotlistMerge(tree, destination, *old, options, ends);
        joined.emplace(JoinedHotlist{*plan, additions});
    }
    std::string* top = &out;
    if (joined) {
        top = &additions[std::max(plan->JoinOf(0), 0)];
    } else if (old) {
        file.Write(*old);
        EndLastLine(out, *old);
    } else {
        out = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n";
    }
    bool wrapped = options.newFolder && (!plan || plan->JoinOf(0) < 0);
    if (wrapped) {
        PrintHotlistFolderStart(*top, *options.newFolder);
    } else if (options.newFolder) {
        result.FolderJoined(*options.newFolder);
    }
    HotlistPrinter printer(tree, options, file, *top, result, joined ? &*joined : nullptr);
    WalkExportedFolders(tree, options.exportAll, printer, result, progress, {0, printer.Order()});
    if (wrapped) {
        PrintHotlistFolderEnd(*top);
    }
    if (joined) {
        WriteWithAdditions(file, *old, additions, ends);
        EndLastLine(file.Buffer(), *old);
        file.Write(additions[0]);
    }
    if (progress.Cancelled()) {
        return ExportResult::Cancelled(); // the unfinished file is removed unseen
    }
    auto written = file.Commit();
    if (!written.ok) {
        return Failure(written.message);
    }
    return result;
}

} // namespace tellavin
