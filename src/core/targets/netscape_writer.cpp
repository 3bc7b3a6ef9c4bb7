#include "targets/netscape_writer.h"

#include "model/folder_walk.h"
#include "model/icon_image.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "sources/netscape_reader.h"
#include "targets/folder_links.h"
#include "targets/merge_plan.h"
#include "targets/netscape_merge.h"
#include "text/base64.h"
#include "text/byte_set.h"
#include "text/encoding.h"
#include "text/html_references.h"

#include <algorithm>
#include <map>
#include <vector>

namespace tellavin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kListStart = "<DL><p>";
constexpr std::string_view kListEnd = "</DL><p>";
// Four spaces per level for the first 16 levels; deeper levels stay at that
// indentation, so the file grows linearly with the depth of the tree.
constexpr std::int32_t kMaxIndent = 4 * 16;

// Appends text with each byte of special replaced by what replace appends
// for the byte at that place; the runs between them are copied whole.
template <typename Replace>
void AppendReplacing(std::string& out, std::string_view text, const ByteSet& special,
                     Replace replace) {
    std::size_t done = 0;
    for (auto at = special.FindIn(text); at != std::string_view::npos;
         at = special.FindIn(text, done)) {
        out.append(text.substr(done, at - done));
        replace(at);
        done = at + 1;
    }
    out.append(text.substr(done));
}

// Appends name with the characters that would end it or start markup
// written as references.
void AppendEscapedName(std::string& out, std::string_view name) {
    static constexpr ByteSet kSpecial("&<>\"");
    AppendReplacing(out, name, kSpecial, [&](std::size_t at) {
        switch (name[at]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += "&quot;";
        }
    });
}

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    AppendEscapedName(out, name);
    return out;
}

// Appends address with its quotes percent-encoded and each "&" that would
// read as a character reference written as "&amp;".
void AppendEscapedAddress(std::string& out, std::string_view address) {
    static constexpr ByteSet kSpecial("\"&");
    AppendReplacing(out, address, kSpecial, [&](std::size_t at) {
        if (address[at] == '"') {
            out += "%22";
        } else if (ReadHtmlReference(address, at, HtmlContext::Attribute)) {
            out += "&amp;";
        } else {
            out += '&';
        }
    });
}

// A merge that joins folders: what the export adds to each folder of the
// file, by the file's folder numbers (the root's lines under 0), and the
// file's tree the plan was made on.
struct JoinedMerge {
    const MergePlan& plan;
    const BookmarkTree& target;
    std::map<std::int32_t, std::string>& additions;
};

// How deep a folder of the file lies: 0 for the root.
std::int32_t DepthOf(const BookmarkTree& tree, std::int32_t folder) {
    std::int32_t depth = 0;
    for (; folder > 0; folder = tree.Parent(folder)) {
        ++depth;
    }
    return depth;
}

class FileWriter final : public FolderVisitor {
public:
    // file, when given, takes out's text whenever it holds a block.
    // toolbarTaken: the file's top level has its toolbar folder already.
    // joined, in a merge that joins folders: where a joined folder's lines go.
    FileWriter(BookmarkTree& tree, const WriteOptions& options, std::string& out,
               AtomicFileWriter* file, ExportResult& result, bool toolbarTaken,
               const JoinedMerge* joined = nullptr)
        : tree_(tree), options_(options), out_(&out), file_(file), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)),
          toolbarTaken_(toolbarTaken || options.newFolder.has_value()), joined_(joined) {
        // The export's top level goes where its root joins, even when the
        // root itself is not written.
        if (auto start = joined != nullptr ? joined->plan.JoinOf(0) : -1; start >= 0) {
            out_ = &joined->additions[start];
            depth_ = DepthOf(joined->target, start);
            indent_ = 4 * depth_;
        }
    }

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& name = tree_.Node(folder).Text;
        auto join = joined_ != nullptr ? joined_->plan.JoinOf(folder) : -1;
        levels_.push_back({out_, indent_, depth_, join >= 0 && !isStart});
        if (join >= 0) {
            // The folder's lines go into the file's folder, indented as there.
            out_ = &joined_->additions[join];
            depth_ = DepthOf(joined_->target, join);
            indent_ = 4 * depth_;
            if (!isStart) {
                result_.FolderJoined(FolderInReport(tree_, folder));
            }
        } else if (!isStart) {
            WriteHeading(folder, name);
            Line(kListStart);
            ++result_.nFoldersWritten;
            ++depth_;
        }
        indent_ += 4;
        if (order_ == WalkOrder::Source) {
            return; // the rows come one by one through Row
        }
        auto links = GetFolderLinkRows(tree_, folder, options_.exportAll);
        if (options_.links == LinksPlacement::BeforeFolders) {
            WriteLinks(folder, links);
        } else {
            pendingLinks_.push_back(std::move(links));
        }
    }

    // The root's list is the caller's to close, and a joined folder's the
    // file's.
    void Leave(std::int32_t folder, bool isStart) override {
        if (options_.links != LinksPlacement::BeforeFolders && order_ == WalkOrder::Display) {
            WriteLinks(folder, pendingLinks_.back());
            pendingLinks_.pop_back();
        }
        auto level = levels_.back();
        levels_.pop_back();
        indent_ -= 4;
        if (!isStart && !level.joined) {
            --depth_;
            Line(kListEnd);
        }
        out_ = level.out;
        indent_ = level.indent;
        depth_ = level.depth;
        WriteIfFull();
    }

    void Row(std::int32_t folder, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            Line("<HR>");
        } else if (!SkippedAsThere(folder, row)) {
            WriteLink(row);
            ++result_.nLinksWritten;
        }
        WriteIfFull();
    }

private:
    // Firefox takes a marked folder for its toolbar only at the top level of
    // a file, and one at most: a marked folder below another makes its import
    // store nothing. So the first toolbar folder that lands at the top level
    // is marked; any other is written as an ordinary folder, and noted.
    bool MarkAsToolbar(std::int32_t folder) {
        if (!tree_.FolderTable.at(folder).bToolbar) {
            return false;
        }
        if (toolbarTaken_ || depth_ > 0) {
            result_.losses.Note(LossKind::ToolbarNotMarked, FolderInReport(tree_, folder));
            return false;
        }
        toolbarTaken_ = true;
        return true;
    }

    void Indent() { out_->append(static_cast<std::size_t>(std::min(indent_, kMaxIndent)), ' '); }

    void Line(std::string_view text) {
        Indent();
        *out_ += text;
        *out_ += kLineEnd;
    }

    // A link whose address the joined folder holds already is left out.
    bool SkippedAsThere(std::int32_t folder, const EntryRecord& link) {
        if (joined_ == nullptr || !joined_->plan.AlreadyThere(folder, link.sURL)) {
            return false;
        }
        result_.LinkAlreadyThere(std::string(link.sName));
        return true;
    }

    void WriteIfFull() {
        if (file_ != nullptr) {
            file_->WriteIfFull();
        }
    }

    // The links by their rows in the EntryTable, which the walk may grow
    // (and move) while a folder's links wait for its sub-folders.
    void WriteLinks(std::int32_t folder, const std::vector<std::int32_t>& rows) {
        for (auto row : rows) {
            const auto& link = tree_.EntryTable[static_cast<std::size_t>(row)];
            if (!SkippedAsThere(folder, link)) {
                WriteLink(link);
                ++result_.nLinksWritten;
                WriteIfFull();
            }
        }
    }

    // A folder's heading, with its dates where they are known (an empty
    // ADD_DATE otherwise, as older browsers write it), and its description.
    void WriteHeading(std::int32_t folder, const std::string& name) {
        const auto& record = tree_.FolderTable.at(folder);
        Indent();
        auto& out = *out_;
        out += "<DT><H3 FOLDED";
        if (record.nCreated == 0) {
            out += " ADD_DATE=\"\"";
        }
        AppendDate(" ADD_DATE=\"", record.nCreated);
        AppendDate(" LAST_MODIFIED=\"", record.nChanged);
        if (MarkAsToolbar(folder)) {
            out += " PERSONAL_TOOLBAR_FOLDER=\"true\"";
        }
        out += '>';
        AppendEscapedName(out, name);
        out += "</H3>";
        out += kLineEnd;
        AppendDescription(record.sDescription);
    }

    // A link's line; its dates, icon, keyword and tags only where it has
    // them, in the order Firefox writes them, and its description after it.
    void WriteLink(const EntryRecord& link) {
        const auto& details = tree_.DetailsOf(link);
        Indent();
        auto& out = *out_;
        out += "<DT><A HREF=\"";
        AppendEscapedAddress(out, link.sURL);
        out += '"';
        AppendDate(" ADD_DATE=\"", link.nCreated);
        AppendDate(" LAST_MODIFIED=\"", link.nChanged);
        AppendIcon(link.nIcon);
        AppendAttribute(" SHORTCUTURL=\"", details.keyword);
        AppendAttribute(" TAGS=\"", details.tags);
        out += '>';
        AppendEscapedName(out, link.sName);
        out += "</A>";
        out += kLineEnd;
        AppendDescription(details.description);
    }

    // As Firefox writes a favicon: where it came from, then the image as a
    // data: URL. A file holds each link's image in full, as the format has
    // no way to share one between links.
    void AppendIcon(std::int32_t nIcon) {
        auto& out = *out_;
        if (auto address = tree_.LinkIconAddress(nIcon); !address.empty()) {
            out += " ICON_URI=\"";
            AppendEscapedAddress(out, address);
            out += '"';
        }
        if (auto image = tree_.LinkIconBytes(nIcon); !image.empty()) {
            out += " ICON=\"data:";
            out += IconMediaType(image);
            out += ";base64,";
            AppendBase64(out, image);
            out += '"';
        }
    }

    void AppendDate(std::string_view attribute, std::int64_t seconds) {
        if (seconds != 0) {
            *out_ += attribute;
            *out_ += std::to_string(seconds);
            *out_ += '"';
        }
    }

    void AppendAttribute(std::string_view attribute, std::string_view value) {
        if (!value.empty()) {
            *out_ += attribute;
            AppendEscapedName(*out_, value);
            *out_ += '"';
        }
    }

    void AppendDescription(std::string_view description) {
        if (!description.empty()) {
            Indent();
            *out_ += "<DD>";
            AppendEscapedName(*out_, description);
            *out_ += kLineEnd;
        }
    }

    // What Enter changed, for Leave to put back.
    struct Level {
        std::string* out;
        std::int32_t indent;
        std::int32_t depth;
        bool joined; // a folder of the export joined with the file's
    };

    BookmarkTree& tree_;
    const WriteOptions& options_;
    std::string* out_; // where lines go: the file's text or a joined folder's lines
    AtomicFileWriter* file_;
    ExportResult& result_;
    WalkOrder order_;
    bool toolbarTaken_;      // a folder at the file's top level is the toolbar already
    std::int32_t depth_ = 0; // written folders open, the root not counted
    std::int32_t indent_ = 0;
    std::vector<std::vector<std::int32_t>> pendingLinks_; // per open folder, links written last
    const JoinedMerge* joined_;
    std::vector<Level> levels_; // per open folder
};

void AppendHeader(std::string& out, const std::string& profileName) {
    auto title = "Bookmarks for " + EscapeName(profileName);
    for (std::string_view line : {
             std::string_view("<!DOCTYPE NETSCAPE-Bookmark-file-1>"),
             std::string_view("<!-- This is an automatically generated file (by TL)."),
             std::string_view("It will be read and overwritten."),
             std::string_view("Do Not Edit! -->"),
             std::string_view(
                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">"),
         }) {
        out.append(line).append(kLineEnd);
    }
    out.append("<TITLE>").append(title).append("</TITLE>").append(kLineEnd);
    out.append("<H1>").append(title).append("</H1>").append(kLineEnd);
    out.append(kLineEnd);
}

// Appends the export's folders and links, as the lines of the root list
// (inside the new folder when there is one). With file, the text goes to
// the file whenever out holds a block. With joined, out is the root's
// addition, and a new folder the file holds already is joined.
void ComposeItems(std::string& out, AtomicFileWriter* file, BookmarkTree& tree,
                  const WriteOptions& options, ProgressSink& progress, ExportResult& result,
                  bool toolbarTaken, const JoinedMerge* joined = nullptr) {
    bool wrapped = options.newFolder && (joined == nullptr || joined->plan.JoinOf(0) < 0);
    if (wrapped) {
        out.append("<DT><H3 FOLDED ADD_DATE=\"\">")
            .append(EscapeName(*options.newFolder))
            .append("</H3>")
            .append(kLineEnd);
        out.append(kListStart).append(kLineEnd);
    } else if (options.newFolder) {
        result.FolderJoined(*options.newFolder);
    }
    FileWriter writer(tree, options, out, file, result, toolbarTaken, joined);
    WalkExportedFolders(tree, options.exportAll, writer, result, progress, {0, writer.Order()});
    if (wrapped) {
        out.append(kListEnd).append(kLineEnd);
    }
}

// The export goes into the old file's root list, beside what is there, or
// unless duplicates are kept into the file's folders it joins (MergePlan on
// the file's own tree), without the links they hold already.
WriteResult WriteMerged(BookmarkTree& tree, const std::string& destination,
                        const WriteOptions& options, ProgressSink& progress, ExportResult& result) {
    BookmarkFileMerge merge;
    UserMessage refusal;
    if (!merge.Read(destination, refusal)) {
        result = ExportResult::Failed(std::move(refusal));
        return {};
    }
    std::map<std::int32_t, std::string> additions;
    if (options.keepDuplicates) {
        ComposeItems(additions[0], nullptr, tree, options, progress, result, merge.HasToolbar());
    } else {
        BookmarkTree target;
        BuildNetscapeTree(target, destination);
        auto sameName = [](std::string_view a, std::string_view b) { return a == b; };
        auto start = !target.HasRoot()   ? -1
                     : options.newFolder ? FindSubfolder(target, 0, *options.newFolder, sameName)
                                         : 0;
        MergePlan plan(tree, target, {start, options.exportAll}, sameName,
                       [&](std::int32_t folder) { return merge.CanAddTo(folder); });
        JoinedMerge joined{plan, target, additions};
        ComposeItems(additions[std::max(plan.JoinOf(0), 0)], nullptr, tree, options, progress,
                     result, merge.HasToolbar(), &joined);
    }
    if (progress.Cancelled()) {
        result = ExportResult::Cancelled();
        return {};
    }
    auto merged = merge.Merge(std::move(additions), refusal);
    if (!merged) {
        result = ExportResult::Failed(std::move(refusal));
        return {};
    }
    return WriteFileAtomically(destination, *merged);
}

// A new file is written while it is composed: the header and the root
// list, opened and closed once.
WriteResult WriteNew(BookmarkTree& tree, const std::string& destination,
                     const WriteOptions& options, ProgressSink& progress, ExportResult& result) {
    AtomicFileWriter file(destination);
    auto& out = file.Buffer();
    AppendHeader(out, options.profileName.value_or(""));
    out.append(kListStart).append(kLineEnd);
    ComposeItems(out, &file, tree, options, progress, result, false);
    out.append(kListEnd).append(kLineEnd);
    if (progress.Cancelled()) {
        result = ExportResult::Cancelled(); // the unfinished file is removed unseen
        return {};
    }
    return file.Commit();
}

} // namespace

ExportResult PrintBookmarkFile(BookmarkTree& tree, const std::string& destination,
                               const WriteOptions& options, ProgressSink& progress) {
    ExportResult result;
    auto written = options.merge ? WriteMerged(tree, destination, options, progress, result)
                                 : WriteNew(tree, destination, options, progress, result);
    if (!written.ok) {
        return ExportResult::Failed({kNetscapeWriteErrorTitle,
                                     {kNetscapeWriteErrorText, written.message},
                                     MessageIcon::Critical});
    }
    return result;
}

} // namespace tellavin
