#include "targets/netscape_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "targets/folder_links.h"
#include "targets/netscape_merge.h"
#include "text/byte_set.h"
#include "text/encoding.h"
#include "text/html_references.h"

#include <algorithm>
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

class FileWriter final : public FolderVisitor {
public:
    // file, when given, takes out's text whenever it holds a block.
    // toolbarTaken: the file's top level has its toolbar folder already.
    FileWriter(BookmarkTree& tree, const WriteOptions& options, std::string& out,
               AtomicFileWriter* file, ExportResult& result, bool toolbarTaken)
        : tree_(tree), options_(options), out_(out), file_(file), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)),
          toolbarTaken_(toolbarTaken || options.newFolder.has_value()) {}

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& name = tree_.Node(folder).Text;
        if (!isStart) {
            Line(std::string("<DT><H3 FOLDED ADD_DATE=\"\"") +
                 (MarkAsToolbar(folder) ? " PERSONAL_TOOLBAR_FOLDER=\"true\"" : "") + ">" +
                 EscapeName(name) + "</H3>");
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
            WriteLinks(links);
        } else {
            pendingLinks_.push_back(std::move(links));
        }
    }

    // The root's list is the caller's to close.
    void Leave(std::int32_t, bool isStart) override {
        if (options_.links != LinksPlacement::BeforeFolders && order_ == WalkOrder::Display) {
            WriteLinks(pendingLinks_.back());
            pendingLinks_.pop_back();
        }
        indent_ -= 4;
        if (!isStart) {
            --depth_;
            Line(kListEnd);
        }
        WriteIfFull();
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            Line("<HR>");
        } else {
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

    void Indent() { out_.append(static_cast<std::size_t>(std::min(indent_, kMaxIndent)), ' '); }

    void Line(std::string_view text) {
        Indent();
        out_ += text;
        out_ += kLineEnd;
    }

    void WriteIfFull() {
        if (file_ != nullptr) {
            file_->WriteIfFull();
        }
    }

    // The links by their rows in the EntryTable, which the walk may grow
    // (and move) while a folder's links wait for its sub-folders.
    void WriteLinks(const std::vector<std::int32_t>& rows) {
        for (auto row : rows) {
            WriteLink(tree_.EntryTable[static_cast<std::size_t>(row)]);
            WriteIfFull();
        }
        result_.nLinksWritten += static_cast<std::int32_t>(rows.size());
    }

    // A link's line; its dates only where they are known.
    void WriteLink(const EntryRecord& link) {
        Indent();
        out_ += "<DT><A HREF=\"";
        AppendEscapedAddress(out_, link.sURL);
        out_ += '"';
        AppendDate(" ADD_DATE=\"", link.nCreated);
        AppendDate(" LAST_MODIFIED=\"", link.nChanged);
        out_ += '>';
        AppendEscapedName(out_, link.sName);
        out_ += "</A>";
        out_ += kLineEnd;
    }

    void AppendDate(std::string_view attribute, std::int64_t seconds) {
        if (seconds != 0) {
            out_ += attribute;
            out_ += std::to_string(seconds);
            out_ += '"';
        }
    }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    std::string& out_;
    AtomicFileWriter* file_;
    ExportResult& result_;
    WalkOrder order_;
    bool toolbarTaken_;      // a folder at the file's top level is the toolbar already
    std::int32_t depth_ = 0; // written folders open, the root not counted
    std::int32_t indent_ = 0;
    std::vector<std::vector<std::int32_t>> pendingLinks_; // per open folder, links written last
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
// the file whenever out holds a block.
void ComposeItems(std::string& out, AtomicFileWriter* file, BookmarkTree& tree,
                  const WriteOptions& options, ProgressSink& progress, ExportResult& result,
                  bool toolbarTaken) {
    if (options.newFolder) {
        out.append("<DT><H3 FOLDED ADD_DATE=\"\">")
            .append(EscapeName(*options.newFolder))
            .append("</H3>")
            .append(kLineEnd);
        out.append(kListStart).append(kLineEnd);
    }
    FileWriter writer(tree, options, out, file, result, toolbarTaken);
    WalkExportedFolders(tree, options.exportAll, writer, result, progress, {0, writer.Order()});
    if (options.newFolder) {
        out.append(kListEnd).append(kLineEnd);
    }
}

// The export goes into the old file's root list, beside what is there.
WriteResult WriteMerged(BookmarkTree& tree, const std::string& destination,
                        const WriteOptions& options, ProgressSink& progress, ExportResult& result) {
    BookmarkFileMerge merge;
    UserMessage refusal;
    if (!merge.Read(destination, refusal)) {
        result = ExportResult::Failed(std::move(refusal));
        return {};
    }
    std::string items;
    ComposeItems(items, nullptr, tree, options, progress, result, merge.HasToolbar());
    auto merged = merge.Merge(std::move(items), refusal);
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
