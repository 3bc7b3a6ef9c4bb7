#include "targets/opera_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "sources/opera_reader.h"
#include "targets/folder_links.h"
#include "text/byte_search.h"

#include <algorithm>
#include <filesystem>
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

void PrintHotlistFolderStart(std::string& out, const std::string& name, bool toolbar = false) {
    out += "#FOLDER\r\n    NAME=";
    detail::AppendFieldText(out, name);
    if (toolbar) {
        out += "\r\n    ON PERSONALBAR=YES";
    }
    out += "\r\n    ORDER = ";
    out += detail::OrderText(kFolderOrder);
    out += "\r\n\r\n";
}

// orderLine is the whole ORDER line with its line end and the empty line
// after it, the same for every link of a folder.
void PrintHotlistLink(std::string& out, const EntryRecord& link, std::string_view orderLine) {
    out += "#URL\r\n    NAME=";
    detail::AppendFieldText(out, link.sName);
    out += "\r\n    URL=";
    detail::AppendFieldText(out, link.sURL);
    out += "\r\n";
    if (link.nCreated != 0) {
        out += "    CREATED=";
        out += std::to_string(link.nCreated);
        out += "\r\n";
    }
    out += orderLine;
}

void PrintHotlistSeparator(std::string& out) {
    out += "#SEPERATOR\r\n\r\n";
}

void PrintHotlistFolderEnd(std::string& out) {
    out += "-\r\n";
}

class HotlistPrinter final : public FolderVisitor {
public:
    HotlistPrinter(BookmarkTree& tree, const WriteOptions& options, AtomicFileWriter& file,
                   ExportResult& result)
        : tree_(tree), options_(options), file_(file), out_(file.Buffer()), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)),
          orderLine_("    ORDER = " +
                     detail::OrderText(options.links == LinksPlacement::BeforeFolders ? -2 : 0) +
                     "\r\n\r\n") {}

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        if (!isStart) {
            PrintHotlistFolderStart(out_, tree_.Node(folder).Text,
                                    tree_.FolderTable.at(folder).bToolbar);
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
        if (!isStart) {
            PrintHotlistFolderEnd(out_);
        }
        file_.WriteIfFull();
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            PrintHotlistSeparator(out_);
            file_.WriteIfFull();
        } else if (options_.links != LinksPlacement::None) {
            PrintLink(row);
        }
    }

private:
    void PrintLinks(std::int32_t folder) {
        for (auto row : GetFolderLinkRows(tree_, folder, options_.exportAll)) {
            PrintLink(tree_.EntryTable[static_cast<std::size_t>(row)]);
        }
    }

    void PrintLink(const EntryRecord& link) {
        PrintHotlistLink(out_, link, orderLine_);
        file_.WriteIfFull();
        ++result_.nLinksWritten;
        if (link.nChanged != 0) {
            result_.losses.Note(LossKind::ChangedDateDropped, std::string(link.sName));
        }
    }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    AtomicFileWriter& file_;
    std::string& out_; // the file's buffer
    ExportResult& result_;
    WalkOrder order_;
    std::string orderLine_; // the same ORDER line for every link
};

ExportResult Failure(std::string reason) {
    return ExportResult::Failed(
        {kOperaWriteErrorTitle, {kOperaWriteErrorText, std::move(reason)}, MessageIcon::Critical});
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
    // The text goes to the file as it is composed.
    AtomicFileWriter file(destination);
    auto& out = file.Buffer();
    if (old) {
        file.Write(*old);
        if (!old->empty() && old->back() != '\n') {
            out += "\r\n";
        }
        old.reset();
    } else {
        out = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n";
    }
    if (options.newFolder) {
        PrintHotlistFolderStart(out, *options.newFolder);
    }
    ExportResult result;
    HotlistPrinter printer(tree, options, file, result);
    WalkExportedFolders(tree, options.exportAll, printer, result, progress, {0, printer.Order()});
    if (options.newFolder) {
        PrintHotlistFolderEnd(out);
    }
    auto written = file.Commit();
    if (!written.ok) {
        return Failure(written.message);
    }
    return result;
}

} // namespace tellavin
