#include "targets/netscape_merge.h"

#include "model/bookmark_sink.h"
#include "platform/file_io.h"
#include "sources/html_tokenizer.h"
#include "sources/netscape_reader.h"
#include "text/ascii_text.h"
#include "text/byte_search.h"
#include "text/encoding.h"

#include <functional>

namespace tellavin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Meta =
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">";

// Finds where the file's root list ends: the "</DL>" that closes the
// outermost list, the last time the nesting of lists falls back to none.
class RootListEnd final : public HtmlTokenHandler {
public:
    void StartTag(const HtmlStartTag& tag) override {
        if (tag.name == "dl") {
            ++depth_;
            sawList = true;
        }
    }
    void EndTag(std::string_view name, std::size_t at) override {
        if (name == "dl" && depth_ > 0 && --depth_ == 0) {
            end = at;
        }
    }
    void Text(std::string_view) override {}

    bool sawList = false;
    std::optional<std::size_t> end; // in the text with LF line ends

private:
    std::int64_t depth_ = 0;
};

// Adds text to a running number, so that any change of the texts or of
// their order gives another number (but for a chance of one in 2^64).
std::uint64_t Mix(std::uint64_t seed, std::string_view text) {
    std::uint64_t x = seed ^ (std::hash<std::string_view>{}(text) + 0x9E3779B97F4A7C15u);
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9u;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBu;
    return x ^ (x >> 31);
}

// The links a reader finds, as their count and the sum of one number per
// link made from its folder's number, its name and its address; a folder's
// number is made from its parent's and its name. So a link costs its own
// texts however deep it lies, and the sum does not depend on the order of
// the links. Notes whether a folder at the top level is the toolbar.
class LinkNumbers final : public BookmarkSink {
public:
    void BeginFolder(std::string name) override { open_.push_back(Mix(Current() + 1, name)); }
    void AddLink(std::string name, std::string url) override { AddLinkInSource(name, url); }
    void AddLinkInSource(std::string_view name, std::string_view url) override {
        links.Add(Mix(Mix(Current(), name), url));
    }
    void EndFolder() override {
        if (!open_.empty()) {
            open_.pop_back();
        }
    }
    void MarkToolbarFolder() override { topLevelToolbar = topLevelToolbar || open_.size() == 1; }

    BookmarkFileMerge::LinkSum links;
    bool topLevelToolbar = false;

private:
    std::uint64_t Current() const { return open_.empty() ? 0 : open_.back(); }

    std::vector<std::uint64_t> open_;
};

// Reads text, UTF-8 with LF line ends, for its links. The text is handed
// back unchanged.
LinkNumbers LinksIn(std::string& text) {
    NetscapeText readable{std::move(text), false};
    LinkNumbers numbers;
    ParseNetscapeText(readable, numbers);
    text = std::move(readable.text);
    return numbers;
}

// The links of UTF-8 text with any line ends.
LinkNumbers LinksInAnyLineEnds(const std::string& text) {
    std::string normalized = text;
    NormalizeLineEnds(normalized);
    return LinksIn(normalized);
}

// The position in text of what is at position normalized once every CR LF
// became one LF (a lone CR becomes an LF, which moves nothing).
std::size_t OffsetBeforeNormalizing(std::string_view text, std::size_t normalized) {
    std::size_t joined = 0; // CR LF pairs before the place
    for (auto cr = FindByte(text, '\r'); cr != std::string_view::npos && cr - joined < normalized;
         cr = FindByte(text, '\r', cr + 1)) {
        if (cr + 1 < text.size() && text[cr + 1] == '\n') {
            ++joined;
        }
    }
    return normalized + joined;
}

// Makes the charset a META tag declares UTF-8, or adds the META line of a
// new file (after the doctype line) when no tag before the place declares
// one. Only the tags are looked at in lower case, not the whole text.
void DeclareUtf8(std::string& text, std::size_t before) {
    const std::string_view head(text.data(), before);
    for (auto meta = FindByte(head, '<'); meta != std::string_view::npos;
         meta = FindByte(head, '<', meta + 1)) {
        if (!EqualsIgnoringCase(head.substr(meta, 5), "<meta")) {
            continue;
        }
        auto tag = LowerAscii(head.substr(meta, head.find('>', meta) - meta));
        auto charset = tag.find("charset=");
        if (charset == std::string::npos) {
            continue;
        }
        auto value = charset + 8;
        auto length = tag.find_first_of("\"'; \t\r\n>", value) - value;
        if (tag.compare(value, length, "utf-8") != 0) {
            text.replace(meta + value, std::min(length, tag.size() - value), "UTF-8");
        }
        return;
    }
    std::size_t at = 0;
    if (EqualsIgnoringCase(head.substr(0, 9), "<!doctype")) {
        at = std::min(text.find('\n'), text.size());
        at = at == text.size() ? at : at + 1;
    }
    text.insert(at, std::string(kUtf8Meta) + std::string(kLineEnd));
}

UserMessage Refusal(const std::string& destination, std::string reason) {
    return {"Error", {"Cannot merge into \"" + destination + "\":", std::move(reason)}};
}

} // namespace

// A file without CR is read as it is; one with CR from a copy with LF line
// ends, whose places are then found again in the file.
bool BookmarkFileMerge::Read(const std::string& destination, UserMessage& refusal) {
    destination_ = destination;
    auto bytes = ReadWholeFile(destination);
    if (!bytes) {
        refusal = Refusal(destination, "the file cannot be read.");
        return false;
    }
    auto body = StripUtf8Bom(*bytes);
    if (IsValidUtf8(body)) {
        bytes->erase(0, bytes->size() - body.size());
        text_ = std::move(*bytes);
    } else {
        text_ = Windows1252ToUtf8(body);
    }
    const bool hasCr = FindByte(text_, '\r') != std::string::npos;
    std::string normalized;
    if (hasCr) {
        normalized = text_;
        NormalizeLineEnds(normalized);
    }
    auto& readable = hasCr ? normalized : text_;
    RootListEnd root;
    TokenizeHtml(readable, root);
    if (!root.sawList) {
        refusal = Refusal(destination, "it holds no bookmark list (<DL>), so its content would be "
                                       "lost. The file was left unchanged.");
        return false;
    }
    cut_ = !root.end ? text_.size() : hasCr ? OffsetBeforeNormalizing(text_, *root.end) : *root.end;
    auto old = LinksIn(readable);
    links_ = old.links;
    hasToolbar_ = old.topLevelToolbar;
    return true;
}

// The export is read on its own once it is in the merged text, in place,
// so that no more than two copies of the file are held at a time.
std::optional<std::string> BookmarkFileMerge::Merge(std::string exportItems, UserMessage& refusal) {
    std::string merged = std::move(text_);
    merged.reserve(merged.size() + exportItems.size() + kLineEnd.size());
    merged.insert(cut_, exportItems);
    if (cut_ > 0 && merged[cut_ - 1] != '\n') {
        merged.insert(cut_, kLineEnd);
    }
    DeclareUtf8(merged, cut_);

    NormalizeLineEnds(exportItems);
    auto expected = links_;
    expected.Add(LinksIn(exportItems).links);
    exportItems = std::string();
    if (LinksInAnyLineEnds(merged).links != expected) {
        refusal = Refusal(destination_, "its bookmark lists are not closed as a bookmark file's "
                                        "are, so the merged file would not read back whole. The "
                                        "file was left unchanged.");
        return std::nullopt;
    }
    return merged;
}

} // namespace tellavin
