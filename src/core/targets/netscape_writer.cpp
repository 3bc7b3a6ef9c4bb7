#include "targets/netscape_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "targets/folder_links.h"
#include "targets/netscape_merge.h"
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

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string EscapeAddress(std::string_view address) {
    std::string out;
    out.reserve(address.size());
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] == '"') {
            out += "%22";
        } else if (address[i] == '&' && ReadHtmlReference(address, i, HtmlContext::Attribute)) {
            out += "&amp;";
        } else {
            out += address[i];
        }
    }
    return out;
}

class FileWriter final : public FolderVisitor {
public:
    FileWriter(BookmarkTree& tree, const NetscapeWriterOptions& options, std::string& out,
               ExportResult& result)
        : tree_(tree), options_(options), out_(out), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)) {}

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& name = tree_.Node(folder).Text;
        if (!isStart) {
            const bool toolbar = tree_.FolderTable.at(folder).bToolbar;
            Line(std::string("<DT><H3 FOLDED ADD_DATE=\"\"") +
                 (toolbar ? " PERSONAL_TOOLBAR_FOLDER=\"true\"" : "") + ">" + EscapeName(name) +
                 "</H3>");
            Line(kListStart);
            ++result_.nFoldersWritten;
        }
        indent_ += 4;
        if (order_ == WalkOrder::Source) {
            return; // the rows come one by one through Row
        }
        auto links = GetFolderLinks(tree_, folder, options_.exportAll);
        if (options_.linksBefore) {
            WriteLinks(links);
        } else {
            pendingLinks_.push_back(std::move(links));
        }
    }

    void Leave(std::int32_t, bool) override {
        if (!options_.linksBefore && order_ == WalkOrder::Display) {
            WriteLinks(pendingLinks_.back());
            pendingLinks_.pop_back();
        }
        indent_ -= 4;
        Line(kListEnd);
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            Line("<HR>");
            return;
        }
        WriteLink(LinkItemOf(row));
        ++result_.nLinksWritten;
    }

private:
    void Line(std::string_view text) {
        out_.append(static_cast<std::size_t>(std::min(indent_, kMaxIndent)), ' ');
        out_ += text;
        out_ += kLineEnd;
    }

    void WriteLinks(const std::vector<LinkItem>& items) {
        for (const auto& link : items) {
            WriteLink(link);
        }
        result_.nLinksWritten += static_cast<std::int32_t>(items.size());
    }

    void WriteLink(const LinkItem& link) {
        std::string dates;
        if (link.created != 0) {
            dates += " ADD_DATE=\"" + std::to_string(link.created) + "\"";
        }
        if (link.changed != 0) {
            dates += " LAST_MODIFIED=\"" + std::to_string(link.changed) + "\"";
        }
        Line("<DT><A HREF=\"" + EscapeAddress(link.url) + "\"" + dates + ">" +
             EscapeName(link.name) + "</A>");
    }

    BookmarkTree& tree_;
    const NetscapeWriterOptions& options_;
    std::string& out_;
    ExportResult& result_;
    WalkOrder order_;
    std::int32_t indent_ = 0;
    std::vector<std::vector<LinkItem>> pendingLinks_; // per open folder, links written last
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

// The export as one list: "<DL><p>", the written folders and links (inside
// the new folder when there is one), "</DL><p>".
std::string ComposeList(BookmarkTree& tree, const NetscapeWriterOptions& options,
                        ProgressSink& progress, ExportResult& result) {
    std::string out;
    out.append(kListStart).append(kLineEnd);
    if (options.newFolder) {
        out.append("<DT><H3 FOLDED ADD_DATE=\"\">")
            .append(EscapeName(*options.newFolder))
            .append("</H3>")
            .append(kLineEnd);
        out.append(kListStart).append(kLineEnd);
    }
    FileWriter writer(tree, options, out, result);
    WalkExportedFolders(tree, options.exportAll, writer, result, progress, {0, writer.Order()});
    if (options.newFolder) {
        out.append(kListEnd).append(kLineEnd);
    }
    out.append(kListEnd).append(kLineEnd);
    return out;
}

} // namespace

ExportResult PrintBookmarkFile(BookmarkTree& tree, const std::string& destination,
                               const NetscapeWriterOptions& options, ProgressSink& progress) {
    ExportResult result;
    auto list = ComposeList(tree, options, progress, result);
    std::string out;
    if (options.merge) {
        UserMessage refusal;
        auto merged = MergeIntoBookmarkFile(destination, list, refusal);
        if (!merged) {
            return ExportResult::Failed(std::move(refusal));
        }
        out = std::move(*merged);
    } else {
        AppendHeader(out, options.profileName);
        out += list;
    }
    if (auto written = WriteFileAtomically(destination, out); !written.ok) {
        return ExportResult::Failed({kNetscapeWriteErrorTitle,
                                     {kNetscapeWriteErrorText, written.message},
                                     MessageIcon::Critical});
    }
    return result;
}

} // namespace tellavin
