#include "targets/netscape_merge.h"

#include "model/bookmark_sink.h"
#include "platform/file_io.h"
#include "sources/html_tokenizer.h"
#include "sources/netscape_reader.h"
#include "text/ascii_text.h"
#include "text/encoding.h"

#include <algorithm>
#include <vector>

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

// Every link a reader finds, each as its folder path, name and address.
class LinkList final : public BookmarkSink {
public:
    void BeginFolder(std::string name) override { path_.push_back(std::move(name)); }
    void AddLink(std::string name, std::string url) override {
        std::string entry;
        for (const auto& folder : path_) {
            entry.append(folder).push_back('\x1F');
        }
        entry.append("\x1E").append(name).append("\x1E").append(url);
        links.push_back(std::move(entry));
    }
    void EndFolder() override {
        if (!path_.empty()) {
            path_.pop_back();
        }
    }

    std::vector<std::string> links;

private:
    std::vector<std::string> path_;
};

std::vector<std::string> LinksIn(std::string_view utf8) {
    NetscapeText text{std::string(utf8), false};
    NormalizeLineEnds(text.text);
    LinkList list;
    ParseNetscapeText(text, list);
    std::sort(list.links.begin(), list.links.end());
    return std::move(list.links);
}

// The position in text of what is at position normalized once every CR LF
// became LF.
std::size_t OffsetBeforeNormalizing(std::string_view text, std::size_t normalized) {
    std::size_t at = 0;
    for (std::size_t seen = 0; seen < normalized && at < text.size(); ++seen) {
        at += text.substr(at, 2) == "\r\n" ? 2 : 1;
    }
    return at;
}

// Makes the charset a META tag declares UTF-8, or adds the META line of a
// new file (after the doctype line) when no tag declares one.
void DeclareUtf8(std::string& text, std::size_t before) {
    auto lower = LowerAscii(std::string_view(text).substr(0, before));
    for (auto meta = lower.find("<meta"); meta != std::string::npos;
         meta = lower.find("<meta", meta + 1)) {
        auto close = lower.find('>', meta);
        auto charset = lower.find("charset=", meta);
        if (charset == std::string::npos || charset > close) {
            continue;
        }
        auto value = charset + 8;
        auto end = lower.find_first_of("\"'; \t\r\n>", value);
        if (lower.compare(value, end - value, "utf-8") != 0) {
            text.replace(value, end - value, "UTF-8");
        }
        return;
    }
    std::size_t at = 0;
    if (lower.starts_with("<!doctype")) {
        at = std::min(text.find('\n'), text.size());
        at = at == text.size() ? at : at + 1;
    }
    text.insert(at, std::string(kUtf8Meta) + std::string(kLineEnd));
}

UserMessage Refusal(const std::string& destination, std::string reason) {
    return {"Error", {"Cannot merge into \"" + destination + "\":", std::move(reason)}};
}

} // namespace

std::optional<std::string> MergeIntoBookmarkFile(const std::string& destination,
                                                 std::string_view exportList,
                                                 UserMessage& refusal) {
    auto bytes = ReadWholeFile(destination);
    if (!bytes) {
        refusal = Refusal(destination, "the file cannot be read.");
        return std::nullopt;
    }
    auto body = StripUtf8Bom(*bytes);
    std::string old = IsValidUtf8(body) ? std::string(body) : Windows1252ToUtf8(body);
    std::string normalized = old;
    NormalizeLineEnds(normalized);
    RootListEnd root;
    TokenizeHtml(normalized, root);
    if (!root.sawList) {
        refusal = Refusal(destination, "it holds no bookmark list (<DL>), so its content would be "
                                       "lost. The file was left unchanged.");
        return std::nullopt;
    }
    auto cut = root.end ? OffsetBeforeNormalizing(old, *root.end) : old.size();
    std::string merged = old.substr(0, cut);
    if (!merged.empty() && merged.back() != '\n') {
        merged += kLineEnd;
    }
    merged.append(exportList).append(old, cut);
    DeclareUtf8(merged, cut);

    auto expected = LinksIn(old);
    auto added = LinksIn(exportList);
    expected.insert(expected.end(), added.begin(), added.end());
    std::sort(expected.begin(), expected.end());
    if (LinksIn(merged) != expected) {
        refusal = Refusal(destination, "its bookmark lists are not closed as a bookmark file's "
                                       "are, so the merged file would not read back whole. The "
                                       "file was left unchanged.");
        return std::nullopt;
    }
    return merged;
}

} // namespace tellavin
