#include "targets/opera_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "sources/opera_reader.h"
#include "targets/folder_links.h"

#include <filesystem>
#include <system_error>

namespace tellavin {

namespace detail {

std::string OrderText(std::int32_t order) {
    std::string text(1, order < 0 ? '-' : ' ');
    auto magnitude = order < 0 ? -static_cast<std::int64_t>(order) : order;
    return text + std::to_string(magnitude) + " ";
}

std::string FieldText(const std::string& value) {
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\r' || c == '\n') {
            text += "\x02\x02";
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
                ++i;
            }
        } else {
            text.push_back(c);
        }
    }
    return text;
}

} // namespace detail

namespace {

constexpr const char* kEol = "\r\n";
constexpr std::int32_t kFolderOrder = -1;

void PrintHotlistFolderStart(std::string& out, const std::string& name, bool toolbar = false) {
    out += "#FOLDER";
    out += kEol;
    out += "    NAME=" + detail::FieldText(name) + kEol;
    if (toolbar) {
        out += std::string("    ON PERSONALBAR=YES") + kEol;
    }
    out += "    ORDER = " + detail::OrderText(kFolderOrder) + kEol;
    out += kEol;
}

void PrintHotlistLink(std::string& out, const LinkItem& link, std::int32_t order) {
    out += "#URL";
    out += kEol;
    out += "    NAME=" + detail::FieldText(link.name) + kEol;
    out += "    URL=" + detail::FieldText(link.url) + kEol;
    if (link.created != 0) {
        out += "    CREATED=" + std::to_string(link.created) + kEol;
    }
    out += "    ORDER = " + detail::OrderText(order) + kEol;
    out += kEol;
}

void PrintHotlistSeparator(std::string& out) {
    out += "#SEPERATOR";
    out += kEol;
    out += kEol;
}

void PrintHotlistFolderEnd(std::string& out) {
    out += "-";
    out += kEol;
}

class HotlistPrinter final : public FolderVisitor {
public:
    HotlistPrinter(BookmarkTree& tree, const OperaWriteOptions& options, std::string& out,
                   ExportResult& result)
        : tree_(tree), options_(options), out_(out), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)) {}

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
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            PrintHotlistSeparator(out_);
        } else if (options_.links != LinksPlacement::None) {
            PrintLink(LinkItemOf(row));
        }
    }

private:
    void PrintLinks(std::int32_t folder) {
        for (const auto& link : GetFolderLinks(tree_, folder, options_.exportAll)) {
            PrintLink(link);
        }
    }

    void PrintLink(const LinkItem& link) {
        auto order = options_.links == LinksPlacement::BeforeFolders ? -2 : 0;
        PrintHotlistLink(out_, link, order);
        ++result_.nLinksWritten;
        if (link.changed != 0) {
            result_.losses.Note(LossKind::ChangedDateDropped, link.name);
        }
    }

    BookmarkTree& tree_;
    const OperaWriteOptions& options_;
    std::string& out_;
    ExportResult& result_;
    WalkOrder order_;
};

ExportResult Failure(std::string reason) {
    return ExportResult::Failed(
        {kOperaWriteErrorTitle, {kOperaWriteErrorText, std::move(reason)}, MessageIcon::Critical});
}

} // namespace

ExportResult PrintHotlistFile(BookmarkTree& tree, const std::string& destination,
                              const OperaWriteOptions& options, ProgressSink& progress) {
    std::string out;
    if (options.merge) {
        auto old = ReadWholeFile(destination);
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
        out = std::move(*old);
        if (!out.empty() && out.back() != '\n') {
            out += kEol;
        }
    } else {
        out = std::string("Opera Hotlist version 2.0") + kEol + "Options:encoding=utf8,version=3" +
              kEol + kEol;
    }
    if (options.inNewFolder) {
        PrintHotlistFolderStart(out, options.newFolderName);
    }
    ExportResult result;
    HotlistPrinter printer(tree, options, out, result);
    WalkExportedFolders(tree, options.exportAll, printer, result, progress, {0, printer.Order()});
    if (options.inNewFolder) {
        PrintHotlistFolderEnd(out);
    }
    auto written = WriteFileAtomically(destination, out);
    if (!written.ok) {
        return Failure(written.message);
    }
    return result;
}

} // namespace tellavin
