#include "sources/xbel_reader.h"

#include "platform/file_io.h"
#include "text/encoding.h"

#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tellavin {

namespace detail {

namespace {

// The digits of text[at, at + count) as a number; nothing unless all are
// digits.
std::optional<std::int64_t> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (auto c : text.substr(at, count)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days from 1 January 1970 to the date of the proleptic Gregorian calendar.
std::int64_t DaysSince1970(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    auto era = (year >= 0 ? year : year - 399) / 400;
    auto yearOfEra = year - era * 400;
    auto dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    auto dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool IsDayOfMonth(std::int64_t year, std::int64_t month, std::int64_t day) {
    constexpr std::int64_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    auto last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day >= 1 && day <= last;
}

// The offset from UTC that ends a time ("Z", "+hh:mm", "-hhmm") in
// seconds; nothing for anything else.
std::optional<std::int64_t> ZoneOffset(std::string_view zone) {
    if (zone.empty() || zone == "Z") {
        return 0;
    }
    if (zone[0] != '+' && zone[0] != '-') {
        return std::nullopt;
    }
    auto colon = zone.size() == 6 && zone[3] == ':';
    if (zone.size() != 5 && !colon) {
        return std::nullopt;
    }
    auto hours = Digits(zone, 1, 2);
    auto minutes = Digits(zone, colon ? 4 : 3, 2);
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    auto offset = *hours * 3600 + *minutes * 60;
    return zone[0] == '-' ? -offset : offset;
}

} // namespace

std::optional<std::int64_t> XbelDateSeconds(std::string_view text) {
    auto year = Digits(text, 0, 4);
    auto month = Digits(text, 5, 2);
    auto day = Digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || *month < 1 || *month > 12 ||
        !IsDayOfMonth(*year, *month, *day)) {
        return std::nullopt;
    }
    auto seconds = DaysSince1970(*year, *month, *day) * 86400;
    if (text.size() == 10) {
        return seconds;
    }
    auto hour = Digits(text, 11, 2);
    auto minute = Digits(text, 14, 2);
    auto second = Digits(text, 17, 2);
    if (text[10] != 'T' || !hour || !minute || !second || text[13] != ':' || text[16] != ':' ||
        *hour > 23 || *minute > 59 || *second > 60) {
        return std::nullopt;
    }
    auto rest = text.substr(19);
    if (rest.starts_with('.')) {
        auto digits = rest.find_first_not_of("0123456789", 1);
        if (digits == 1) {
            return std::nullopt;
        }
        rest.remove_prefix(digits == std::string_view::npos ? rest.size() : digits);
    }
    auto offset = ZoneOffset(rest);
    if (!offset) {
        return std::nullopt;
    }
    return seconds + *hour * 3600 + *minute * 60 + *second - *offset;
}

} // namespace detail

namespace {

// Text as the tree holds it: UTF-8 when it is, else read as Windows-1252.
std::string TreeText(std::string text) {
    return IsValidUtf8(text) ? std::move(text) : Windows1252ToUtf8(text);
}

// The whole text of an element: its text and CDATA parts joined.
std::string TextOf(pugi::xml_node element) {
    std::string text;
    for (auto part : element.children()) {
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) {
            text += part.value();
        }
    }
    return TreeText(std::move(text));
}

std::string TitleOf(pugi::xml_node element) {
    return TextOf(element.child("title"));
}

std::optional<std::int64_t> DateOf(pugi::xml_node element, const char* name) {
    auto attribute = element.attribute(name);
    return attribute ? detail::XbelDateSeconds(attribute.value()) : std::nullopt;
}

// The node after this one in document order below top, without recursion;
// top itself after the last.
pugi::xml_node NextInDocument(pugi::xml_node node, pugi::xml_node top) {
    if (node.first_child()) {
        return node.first_child();
    }
    while (node != top && !node.next_sibling()) {
        node = node.parent();
    }
    return node == top ? top : node.next_sibling();
}

class XbelWalk {
public:
    // Finds every bookmark with an id first, as an alias may name one that
    // comes after it.
    XbelWalk(pugi::xml_node top, BookmarkSink& sink) : sink_(sink) {
        for (auto node = top.first_child(); node && node != top; node = NextInDocument(node, top)) {
            if (std::string_view(node.name()) == "bookmark" && node.attribute("id")) {
                ids_.emplace(node.attribute("id").value(), node);
            }
        }
    }

    // Pushes the items of top and of every folder below it in document
    // order, with an explicit stack of the next element of each open list.
    void Push(pugi::xml_node top) {
        std::vector<pugi::xml_node> open{top.first_child()};
        while (!open.empty()) {
            auto item = open.back();
            if (!item) {
                open.pop_back();
                if (!open.empty()) {
                    sink_.EndFolder();
                }
                continue;
            }
            open.back() = item.next_sibling();
            if (item.type() != pugi::node_element) {
                continue;
            }
            if (std::string_view(item.name()) == "folder") {
                sink_.BeginFolder(TitleOf(item));
                sink_.SetFolderDates(DateOf(item, "added"), std::nullopt);
                sink_.SetFolderDescription(TextOf(item.child("desc")));
                open.push_back(item.first_child());
            } else {
                PushItem(item);
            }
        }
    }

private:
    void PushItem(pugi::xml_node item) {
        std::string_view name = item.name();
        if (name == "bookmark") {
            PushBookmark(item);
        } else if (name == "separator") {
            sink_.AddSeparator();
        } else if (name == "alias") {
            PushAlias(item);
        } else if (name == "info") {
            sink_.NoteLoss(LossKind::EntrySkipped, TitleOf(item.parent()));
        } else if (name != "title" && name != "desc") {
            sink_.NoteLoss(LossKind::EntrySkipped, std::string(name));
        }
    }

    void PushBookmark(pugi::xml_node bookmark) {
        auto title = TitleOf(bookmark);
        auto href = TreeText(bookmark.attribute("href").value());
        if (href.empty()) {
            sink_.NoteLoss(LossKind::AddressUnusable, std::move(title));
            return;
        }
        if (bookmark.child("info")) {
            sink_.NoteLoss(LossKind::EntrySkipped, title);
        }
        sink_.AddLink(std::move(title), std::move(href));
        sink_.SetLinkDates(DateOf(bookmark, "added"), DateOf(bookmark, "modified"));
        sink_.SetLinkDescription(TextOf(bookmark.child("desc")));
    }

    void PushAlias(pugi::xml_node alias) {
        auto found = ids_.find(alias.attribute("ref").value());
        if (found == ids_.end()) {
            sink_.NoteLoss(LossKind::EntrySkipped, "alias");
            return;
        }
        sink_.NoteLoss(LossKind::AliasCopied, TitleOf(found->second));
        PushBookmark(found->second);
    }

    BookmarkSink& sink_;
    std::unordered_map<std::string, pugi::xml_node> ids_; // bookmarks by id
};

} // namespace

std::string ParseXbel(std::string_view bytes, BookmarkSink& sink) {
    pugi::xml_document document;
    // Without parse_doctype the document type is skipped whole: its
    // entities are neither fetched nor declared.
    auto parsed = document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default);
    if (!parsed) {
        return std::string(kNotXbel) + ": " + parsed.description() + " at byte " +
               std::to_string(parsed.offset);
    }
    auto top = document.document_element();
    if (std::string_view(top.name()) != "xbel") {
        return std::string(kNotXbel) + ": its top element is not xbel";
    }
    auto title = top.child("title");
    sink.SetRootText(title ? TextOf(title) : kXbelRootText);
    XbelWalk(top, sink).Push(top);
    return {};
}

std::string LoadXbelFile(const std::string& path, BookmarkSink& sink) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReasonCannotRead(path, false);
    }
    return ParseXbel(*bytes, sink);
}

} // namespace tellavin
