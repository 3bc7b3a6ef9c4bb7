#include "targets/xbel_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "targets/folder_links.h"

#include <algorithm>

namespace tellavin {

namespace detail {

void AppendXbelText(std::string& out, std::string_view text, bool address) {
    for (char c : text) {
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
        case '\'':
            out += "&apos;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20) {
                out += c;
            } else if (address) {
                constexpr char kHex[] = "0123456789ABCDEF";
                out += '%';
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            }
        }
    }
}

std::string XbelDateText(std::int64_t seconds) {
    auto days = seconds / 86400;
    auto inDay = seconds % 86400;
    // The civil date of a day count since 1970 (proleptic Gregorian).
    auto shifted = days + 719468;
    auto era = shifted / 146097;
    auto dayOfEra = shifted - era * 146097;
    auto yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    auto dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    auto monthIndex = (5 * dayOfYear + 2) / 153;
    auto day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    auto month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    auto year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    auto digits = [](std::int64_t value, std::size_t width) {
        auto text = std::to_string(value);
        return std::string(text.size() < width ? width - text.size() : 0, '0') + text;
    };
    return digits(year, 4) + "-" + digits(month, 2) + "-" + digits(day, 2) + "T" +
           digits(inDay / 3600, 2) + ":" + digits(inDay / 60 % 60, 2) + ":" +
           digits(inDay % 60, 2) + "Z";
}

} // namespace detail

namespace {

constexpr std::int32_t kMaxIndent = 2 * 32;

class XbelPrinter final : public FolderVisitor {
public:
    XbelPrinter(BookmarkTree& tree, const WriteOptions& options, AtomicFileWriter& file,
                ExportResult& result, std::int32_t indent)
        : tree_(tree), options_(options), file_(file), out_(file.Buffer()), result_(result),
          order_(OrderToWalk(tree, options.keepOrder)), indent_(indent) {}

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        if (!isStart) {
            if (tree_.FolderTable.at(folder).bToolbar) {
                result_.losses.Note(LossKind::ToolbarNotMarked, FolderInReport(tree_, folder));
            }
            const auto& record = tree_.FolderTable.at(folder);
            PrintFolderStart(tree_.Node(folder).Text, record.nCreated, record.sDescription);
            if (record.nChanged != 0) {
                result_.losses.Note(LossKind::ChangedDateDropped, FolderInReport(tree_, folder));
            }
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
            PrintFolderEnd();
        }
        file_.WriteIfFull();
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            Indent();
            out_ += "<separator/>\n";
        } else if (options_.links != LinksPlacement::None) {
            PrintLink(row);
        }
        file_.WriteIfFull();
    }

    void PrintFolderStart(std::string_view name, std::int64_t created = 0,
                          std::string_view description = {}) {
        Indent();
        out_ += "<folder";
        PrintDate("added", created);
        out_ += ">\n";
        indent_ += 2;
        PrintTitle(name);
        PrintDescription(description);
    }

    void PrintFolderEnd() {
        indent_ -= 2;
        Indent();
        out_ += "</folder>\n";
    }

private:
    void PrintDate(const char* name, std::int64_t seconds) {
        if (seconds != 0) {
            out_ += ' ';
            out_ += name;
            out_ += "=\"";
            out_ += detail::XbelDateText(seconds);
            out_ += '"';
        }
    }

    void Indent() { out_.append(static_cast<std::size_t>(std::min(indent_, kMaxIndent)), ' '); }

    void PrintTitle(std::string_view name) {
        Indent();
        out_ += "<title>";
        detail::AppendXbelText(out_, name, false);
        out_ += "</title>\n";
    }

    void PrintDescription(std::string_view description) {
        if (!description.empty()) {
            Indent();
            out_ += "<desc>";
            detail::AppendXbelText(out_, description, false);
            out_ += "</desc>\n";
        }
    }

    void PrintLinks(std::int32_t folder) {
        for (auto row : GetFolderLinkRows(tree_, folder, options_.exportAll)) {
            PrintLink(tree_.EntryTable[static_cast<std::size_t>(row)]);
            file_.WriteIfFull();
        }
    }

    void PrintLink(const EntryRecord& link) {
        Indent();
        out_ += "<bookmark href=\"";
        detail::AppendXbelText(out_, link.sURL, true);
        out_ += '"';
        PrintDate("added", link.nCreated);
        PrintDate("modified", link.nChanged);
        out_ += ">\n";
        const auto& details = tree_.DetailsOf(link);
        indent_ += 2;
        PrintTitle(link.sName);
        PrintDescription(details.description);
        indent_ -= 2;
        Indent();
        out_ += "</bookmark>\n";
        ++result_.nLinksWritten;
        // XBEL has no place for a keyword or tags.
        if (!details.keyword.empty()) {
            result_.losses.Note(LossKind::KeywordDropped, std::string(link.sName));
        }
        if (!details.tags.empty()) {
            result_.losses.Note(LossKind::TagsDropped, std::string(link.sName));
        }
    }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    AtomicFileWriter& file_;
    std::string& out_;
    ExportResult& result_;
    WalkOrder order_;
    std::int32_t indent_;
};

} // namespace

ExportResult WriteXbelFile(BookmarkTree& tree, const std::string& destination,
                           const WriteOptions& options, ProgressSink& progress) {
    AtomicFileWriter file(destination);
    file.Buffer() =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange "
        "Language 1.0//EN//XML\" \"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
        "<xbel version=\"1.0\">\n";
    ExportResult result;
    XbelPrinter printer(tree, options, file, result, 2);
    if (options.newFolder) {
        printer.PrintFolderStart(*options.newFolder);
    }
    WalkExportedFolders(tree, options.exportAll, printer, result, progress, {0, printer.Order()});
    if (options.newFolder) {
        printer.PrintFolderEnd();
    }
    file.Buffer() += "</xbel>\n";
    if (progress.Cancelled()) {
        return ExportResult::Cancelled(); // the unfinished file is removed unseen
    }
    auto written = file.Commit();
    if (!written.ok) {
        return ExportResult::Failed(
            {kXbelWriteErrorTitle, {kXbelWriteErrorText, written.message}, MessageIcon::Critical});
    }
    return result;
}

} // namespace tellavin
