#include "targets/netscape_merge.h"

#include "model/bookmark_sink.h"
#include "platform/file_io.h"
#include "sources/html_tokenizer.h"
#include "sources/netscape_reader.h"
#include "targets/folder_ends.h"
#include "text/ascii_text.h"
#include "text/byte_search.h"
#include "text/encoding.h"

#include <algorithm>
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
// the links. Notes whether a folder at the top level is the toolbar, and
// each folder's number and end.
class LinkNumbers final : public BookmarkSink {
public:
    // inside: the number of the folder the text is read in, when it is not
    // the file's top level.
    explicit LinkNumbers(std::optional<std::uint64_t> inside = std::nullopt) {
        if (inside) {
            open_.push_back(*inside);
        }
    }

    void BeginFolder(std::string name) override {
        open_.push_back(Mix(Current() + 1, name));
        folderNumbers.push_back(open_.back());
        ends.Begin();
    }
    void AddLink(std::string name, std::string url) override { AddLinkInSource(name, url); }
    void AddLinkInSource(std::string_view name, std::string_view url) override {
        links.Add(Mix(Mix(Current(), name), url));
        if (url.empty()) {
            folderNumbers.push_back(0);
        }
        ends.Link(url);
    }
    void FolderEndsAt(std::size_t at) override { ends.EndsAt(at); }
    void EndFolder() override {
        if (!open_.empty()) {
            open_.pop_back();
        }
        ends.End();
    }
    void MarkToolbarFolder() override { topLevelToolbar = topLevelToolbar || open_.size() == 1; }

    BookmarkFileMerge::LinkSum links;
    bool topLevelToolbar = false;
    std::vector<std::uint64_t> folderNumbers{0}; // the root first
    FolderEnds ends;

private:
    std::uint64_t Current() const { return open_.empty() ? 0 : open_.back(); }

    std::vector<std::uint64_t> open_;
};

// Reads text, UTF-8 with LF line ends, for its links. The text is handed
// back unchanged.
LinkNumbers LinksIn(std::string& text, std::optional<std::uint64_t> inside = std::nullopt) {
    NetscapeText readable{std::move(text), false};
    LinkNumbers numbers(inside);
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

// The places in text of what is at each of the places normalized (in
// increasing order) once every CR LF became one LF (a lone CR becomes an
// LF, which moves nothing).
std::vector<std::size_t> OffsetsBeforeNormalizing(std::string_view text,
                                                  const std::vector<std::size_t>& normalized) {
    std::vector<std::size_t> offsets;
    offsets.reserve(normalized.size());
    std::size_t joined = 0; // CR LF pairs before the place
    auto cr = FindByte(text, '\r');
    for (auto place : normalized) {
        for (; cr != std::string_view::npos && cr - joined < place;
             cr = FindByte(text, '\r', cr + 1)) {
            if (cr + 1 < text.size() && text[cr + 1] == '\n') {
                ++joined;
            }
        }
        offsets.push_back(place + joined);
    }
    return offsets;
}

// Where lines added before the tag at place go: the start of its line when
// only blanks stand before the tag, so that the tag keeps its indentation.
std::size_t StartOfTagLine(std::string_view text, std::size_t place) {
    auto start = place;
    while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t')) {
        --start;
    }
    return start == 0 || text[start - 1] == '\n' ? start : place;
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
    auto old = LinksIn(readable);
    links_ = old.links;
    hasToolbar_ = old.topLevelToolbar;
    numbers_ = std::move(old.folderNumbers);
    // Every place is found in one pass over the file's CRs.
    std::vector<std::pair<std::size_t, std::size_t>> places; // place, folder (0: the root)
    for (std::size_t folder = 1; folder < numbers_.size(); ++folder) {
        if (auto end = old.ends.EndOf(static_cast<std::int32_t>(folder))) {
            places.emplace_back(*end, folder);
        }
    }
    places.emplace_back(root.end.value_or(readable.size()), 0);
    std::sort(places.begin(), places.end());
    std::vector<std::size_t> normalizedPlaces;
    for (const auto& place : places) {
        normalizedPlaces.push_back(place.first);
    }
    auto offsets = hasCr ? OffsetsBeforeNormalizing(text_, normalizedPlaces) : normalizedPlaces;
    ends_.assign(numbers_.size(), std::nullopt);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (places[i].second == 0) {
            cut_ = root.end ? offsets[i] : text_.size();
        } else {
            ends_[places[i].second] = StartOfTagLine(text_, offsets[i]);
        }
    }
    return true;
}

bool BookmarkFileMerge::CanAddTo(std::int32_t folder) const {
    auto at = static_cast<std::size_t>(folder);
    return folder == 0 || (at < ends_.size() && ends_[at].has_value());
}

// Each addition is read on its own, in its folder, once it is in the
// merged text, so that no more than two copies of the file are held at a
// time.
std::optional<std::string> BookmarkFileMerge::Merge(std::map<std::int32_t, std::string> additions,
                                                    UserMessage& refusal) {
    std::string merged = std::move(text_);
    auto& rootItems = additions[0];
    std::vector<std::pair<std::size_t, std::int32_t>> places; // place in the old text, folder
    for (const auto& [folder, items] : additions) {
        if (folder != 0 && !items.empty() && CanAddTo(folder)) {
            places.emplace_back(*ends_[static_cast<std::size_t>(folder)], folder);
        }
    }
    std::sort(places.begin(), places.end());
    std::size_t added = 0;
    for (const auto& [folder, items] : additions) {
        added += items.size();
    }
    merged.reserve(merged.size() + added + kLineEnd.size());
    // The root's end lies after every folder's, so it goes in first, and
    // each addition goes in before those that follow it in the text.
    merged.insert(cut_, rootItems);
    if (cut_ > 0 && merged[cut_ - 1] != '\n') {
        merged.insert(cut_, kLineEnd);
    }
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
        merged.insert(place->first, additions[place->second]);
    }
    DeclareUtf8(merged, places.empty() ? cut_ : std::min(cut_, places.front().first));

    auto expected = links_;
    // Lines for a folder the file does not close were not added, and so
    // fail the check.
    for (auto& [folder, items] : additions) {
        NormalizeLineEnds(items);
        auto at = static_cast<std::size_t>(folder);
        auto inside =
            folder == 0 ? std::nullopt : std::optional(at < numbers_.size() ? numbers_[at] : 0);
        expected.Add(LinksIn(items, inside).links);
        items = std::string();
    }
    if (LinksInAnyLineEnds(merged).links != expected) {
        refusal = Refusal(destination_, "its bookmark lists are not closed as a bookmark file's "
                                        "are, so the merged file would not read back whole. The "
                                        "file was left unchanged.");
        return std::nullopt;
    }
    return merged;
}

} // namespace tellavin
