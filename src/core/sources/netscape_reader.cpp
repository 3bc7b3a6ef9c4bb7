#include "sources/netscape_reader.h"

#include "model/file_tree_builder.h"
#include "model/icon_image.h"
#include "platform/file_io.h"
#include "platform/side_by_side.h"
#include "sources/html_tokenizer.h"
#include "text/ascii_text.h"
#include "text/byte_set.h"
#include "text/data_url.h"
#include "text/encoding.h"
#include "text/number_text.h"
#include "text/utf8_repair.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

using namespace std::string_view_literals;

// The whitespace a browser trims from names: ASCII spaces and line breaks,
// the no-break and other Unicode spaces, the line and paragraph separators
// and the byte order mark.
constexpr std::array kUnicodeSpaces = {
    "\xC2\xA0"sv,     "\xE1\x9A\x80"sv, "\xE2\x80\x80"sv, "\xE2\x80\x81"sv, "\xE2\x80\x82"sv,
    "\xE2\x80\x83"sv, "\xE2\x80\x84"sv, "\xE2\x80\x85"sv, "\xE2\x80\x86"sv, "\xE2\x80\x87"sv,
    "\xE2\x80\x88"sv, "\xE2\x80\x89"sv, "\xE2\x80\x8A"sv, "\xE2\x80\xA8"sv, "\xE2\x80\xA9"sv,
    "\xE2\x80\xAF"sv, "\xE2\x81\x9F"sv, "\xE3\x80\x80"sv, "\xEF\xBB\xBF"sv,
};

bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Every Unicode space above begins and ends with a byte of 0x80 or more, so
// an ASCII character that is no space ends the trim at once.
bool IsAsciiNonSpace(char c) {
    return static_cast<unsigned char>(c) < 0x80 && !IsAsciiSpace(c);
}

std::size_t SpaceAtStart(std::string_view text) {
    if (text.empty() || IsAsciiNonSpace(text.front())) {
        return 0;
    }
    if (IsAsciiSpace(text.front())) {
        return 1;
    }
    for (auto space : kUnicodeSpaces) {
        if (text.starts_with(space)) {
            return space.size();
        }
    }
    return 0;
}

std::size_t SpaceAtEnd(std::string_view text) {
    if (text.empty() || IsAsciiNonSpace(text.back())) {
        return 0;
    }
    if (IsAsciiSpace(text.back())) {
        return 1;
    }
    for (auto space : kUnicodeSpaces) {
        if (text.ends_with(space)) {
            return space.size();
        }
    }
    return 0;
}

std::string_view TrimmedView(std::string_view text) {
    while (auto size = SpaceAtStart(text)) {
        text.remove_prefix(size);
    }
    while (auto size = SpaceAtEnd(text)) {
        text.remove_suffix(size);
    }
    return text;
}

std::string Trim(std::string_view text) {
    return std::string(TrimmedView(text));
}

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An address counts when it starts with a scheme: a letter, then letters,
// digits, "+", "-" or ".", then ":".
bool HasScheme(std::string_view address) {
    if (address.empty() || !IsAsciiAlpha(address.front())) {
        return false;
    }
    for (char c : address.substr(1)) {
        if (c == ':') {
            return true;
        }
        if (!IsAsciiAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

// The part of an undecoded HREF value that is the link's address as it
// stands (trimmed, no tab or line break inside, with a scheme); empty when
// the address needs cleaning or is none (CleanAddress then decides).
std::string_view AddressAsItStands(std::string_view href) {
    static constexpr ByteSet kBreaks("\t\n\r");
    auto trimmed = TrimmedView(href);
    return kBreaks.FindIn(trimmed) == std::string_view::npos && HasScheme(trimmed)
               ? trimmed
               : std::string_view();
}

// Writes the address of a link into address (cleared first): trimmed, tabs
// and line breaks inside removed; empty when it is no address a browser
// would take. The buffer is the caller's, kept from link to link.
void CleanAddress(std::optional<std::string_view> href, std::string& address) {
    address.clear();
    if (!href) {
        return;
    }
    static constexpr ByteSet kBreaks("\t\n\r");
    auto trimmed = TrimmedView(*href);
    std::size_t done = 0;
    for (auto brk = kBreaks.FindIn(trimmed); brk != std::string_view::npos;
         brk = kBreaks.FindIn(trimmed, done)) {
        address.append(trimmed.substr(done, brk - done));
        done = brk + 1;
    }
    address.append(trimmed.substr(done));
    if (!HasScheme(address)) {
        address.clear();
    }
}

// The attributes read of a link, by their place in kLinkAttributes.
enum LinkAttribute : std::size_t {
    kHref,
    kAddDate,
    kLastModified,
    kTags,
    kKeyword,
    kIcon,
    kIconUri
};
constexpr std::array<std::string_view, 7> kLinkAttributes = {
    "href", "add_date", "last_modified", "tags", "shortcuturl", "icon", "icon_uri"};
static_assert(kHref == 0, "a sink that takes no link details is asked for the first one alone");
// The attributes read of a heading.
enum HeadingAttribute : std::size_t { kToolbarMark, kFolderAdded, kFolderModified };
constexpr std::array<std::string_view, 3> kHeadingAttributes = {"personal_toolbar_folder",
                                                                "add_date", "last_modified"};

bool IsHeading(std::string_view tag) {
    return tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6';
}

// Follows the elements of a bookmark file as the tokenizer reports them and
// pushes folders and links into the sink.
class NetscapeParser final : public HtmlTokenHandler {
public:
    NetscapeParser(BookmarkSink& sink, bool repairLinkNames)
        : sink_(sink), repairLinkNames_(repairLinkNames), wantsIcons_(sink.WantsLinkIcons()),
          wantsDetails_(sink.WantsLinkDetails()) {}

    // Only what is read: the address, dates, the toolbar mark, what is
    // reported as left out, and the icon, decoded only when the sink keeps
    // icons (favicons run to kilobytes each, and most loads do not show
    // them). A sink that takes no link details gets the address alone.
    std::span<const std::string_view> WantedAttributes(std::string_view tagName) const override {
        if (tagName == "a") {
            return std::span(kLinkAttributes).first(wantsDetails_ ? kLinkAttributes.size() : 1);
        }
        return IsHeading(tagName) ? std::span<const std::string_view>(kHeadingAttributes)
                                  : std::span<const std::string_view>();
    }

    void StartTag(const HtmlStartTag& tag) override {
        const auto name = tag.name;
        if (name == "a") {
            EndDescription();
            EndLink();
            linkOpen_ = true;
            linkAddressInSource_ = AddressAsItStands(tag.FindInSource(kHref));
            if (linkAddressInSource_.empty()) {
                CleanAddress(tag.Find(kHref), linkAddress_);
            }
            if (wantsIcons_) {
                linkIcon_ = tag.Find(kIcon).value_or(std::string_view());
                linkIconAddress_ = TrimmedView(tag.Find(kIconUri).value_or(std::string_view()));
            }
            ReadLinkDetails(tag);
            text_.clear();
        } else if (IsHeading(name)) {
            EndItem();
            if (name == "h1") {
                headerOpen_ = true;
            } else {
                CloseFolderWithoutList();
                headingOpen_ = true;
                auto toolbar = tag.Find(kToolbarMark);
                headingIsToolbar_ = toolbar && EqualsIgnoringCase(*toolbar, "true");
                headingCreated_ = DateOf(tag.Find(kFolderAdded));
                headingChanged_ = DateOf(tag.Find(kFolderModified));
            }
            text_.clear();
        } else if (name == "dl") {
            EndItem();
            auto& folder = frames_.back();
            folder.awaitingList = false;
            ++folder.openLists;
        } else if (name == "dt" || name == "dd" || name == "hr") {
            EndItem();
            if (name == "hr") {
                sink_.AddSeparator();
            } else if (name == "dd") {
                descriptionOpen_ = true;
            }
        } else if (name == "title") {
            inTitle_ = !titleSeen_;
        }
    }

    void EndTag(std::string_view name, std::size_t at) override {
        if (name == "a") {
            EndLink();
        } else if (IsHeading(name) || name == "dt" || name == "dd") {
            EndItem();
        } else if (name == "dl") {
            EndItem();
            CloseFolderWithoutList();
            auto& folder = frames_.back();
            if (folder.openLists > 0 && --folder.openLists == 0 && frames_.size() > 1) {
                sink_.FolderEndsAt(at);
                sink_.EndFolder();
                frames_.pop_back();
            }
        } else if (name == "title" && inTitle_) {
            inTitle_ = false;
            titleSeen_ = true;
        }
    }

    void Text(std::string_view text) override {
        if (inTitle_) {
            title_ += text;
        } else if ((linkOpen_ && wantsDetails_) || headingOpen_ || headerOpen_) {
            text_ += text;
        } else if (descriptionOpen_ && wantsDetails_) {
            description_ += text;
        }
    }

    // Ends what is still open when the text ends; returns the page title.
    std::string Finish() {
        EndItem();
        for (; frames_.size() > 1; frames_.pop_back()) {
            sink_.EndFolder();
        }
        return std::move(title_);
    }

private:
    struct Frame {
        std::int32_t openLists = 0;
        bool awaitingList = false; // a folder whose heading ended, before any <DL>
    };

    static std::optional<std::int64_t> DateOf(std::optional<std::string_view> value) {
        return value ? ParseSecondsSince1970(*value) : std::nullopt;
    }

    // What a link's start tag says besides its address: the dates, tags and
    // keyword, and whether it carries an icon.
    void ReadLinkDetails(const HtmlStartTag& tag) {
        linkCreated_ = DateOf(tag.Find(kAddDate));
        linkChanged_ = DateOf(tag.Find(kLastModified));
        linkTags_ = tag.Find(kTags).value_or(std::string_view());
        linkKeyword_ = tag.Find(kKeyword).value_or(std::string_view());
        auto iconAddress = tag.Find(kIconUri);
        linkHasIcon_ = tag.Has(kIcon) || (iconAddress && IsIconAddress(TrimmedView(*iconAddress)));
    }

    void EndLink() {
        if (!linkOpen_) {
            return;
        }
        linkOpen_ = false;
        // The name is read into a buffer kept from link to link, so that
        // most links cost no allocation for it.
        auto& name = linkName_;
        name.assign(TrimmedView(text_));
        if (repairLinkNames_) {
            name = RepairUtf8Text(std::move(name));
        }
        lastItem_ = Item::None;
        if (linkAddress_.empty() && linkAddressInSource_.empty()) {
            sink_.NoteLoss(LossKind::AddressUnusable, name);
        } else {
            if (linkHasIcon_ && !wantsIcons_) {
                sink_.NoteLoss(LossKind::IconDropped, name);
            }
            lastItem_ = Item::Link;
            if (!linkIcon_.empty() || !linkIconAddress_.empty()) {
                AddLinkWithIcon(name);
            } else {
                sink_.AddLinkInSource(name, linkAddressInSource_.empty()
                                                ? std::string_view(linkAddress_)
                                                : linkAddressInSource_);
            }
            if (linkCreated_ || linkChanged_) {
                sink_.SetLinkDates(linkCreated_, linkChanged_);
            }
            if (!linkTags_.empty()) {
                sink_.SetLinkTags(SplitTags(linkTags_));
            }
            if (!linkKeyword_.empty()) {
                sink_.SetLinkKeyword(Trim(linkKeyword_));
            }
        }
        linkAddress_.clear();
        linkAddressInSource_ = {};
        linkIcon_.clear();
        linkIconAddress_.clear();
        text_.clear();
    }

    // The link with its icon: the image its ICON data: URL carries and its
    // ICON_URI. An ICON that is no data: URL is noted as dropped.
    void AddLinkWithIcon(const std::string& name) {
        auto image = DecodeDataUrl(linkIcon_);
        if (!linkIcon_.empty() && !image) {
            sink_.NoteLoss(LossKind::IconDropped, name);
        }
        auto address = linkAddressInSource_.empty() ? std::move(linkAddress_)
                                                    : std::string(linkAddressInSource_);
        sink_.AddLinkWithIcon(name, std::move(address),
                              {image.value_or(std::string()), linkIconAddress_});
    }

    // A description (<DD>) ends at the next item and belongs to the link or
    // folder just before it; one after anything else is no one's.
    void EndDescription() {
        if (descriptionOpen_) {
            auto description = Trim(description_);
            if (lastItem_ == Item::Link) {
                sink_.SetLinkDescription(description);
            } else if (lastItem_ == Item::Folder) {
                sink_.SetFolderDescription(description);
            }
            lastItem_ = Item::None;
        }
        descriptionOpen_ = false;
        description_.clear();
    }

    // Ends an open link, an open heading and an open description.
    void EndItem() {
        EndDescription();
        EndLink();
        if (headingOpen_) {
            headingOpen_ = false;
            lastItem_ = Item::Folder;
            sink_.BeginFolder(Trim(text_));
            if (headingIsToolbar_) {
                sink_.MarkToolbarFolder();
            }
            if (headingCreated_ || headingChanged_) {
                sink_.SetFolderDates(headingCreated_, headingChanged_);
            }
            frames_.push_back(Frame{0, true});
        } else if (headerOpen_) {
            headerOpen_ = false;
            lastItem_ = Item::None;
            if (!headerSeen_) {
                headerSeen_ = true;
                sink_.SetRootText(Trim(text_));
            }
        }
        text_.clear();
    }

    // A folder whose heading had no list after it ends at the next heading
    // or </DL>.
    void CloseFolderWithoutList() {
        if (frames_.size() > 1 && frames_.back().awaitingList) {
            sink_.EndFolder();
            frames_.pop_back();
        }
    }

    BookmarkSink& sink_;
    bool repairLinkNames_;
    std::vector<Frame> frames_{Frame{}}; // the root first
    std::string text_;                   // the name being read
    std::string linkName_;               // the name of the link that ends
    std::string linkAddress_;
    std::string_view linkAddressInSource_; // the address as it stands in the text, when it does
    std::string linkIcon_;        // the ICON attribute, read only when the sink keeps icons
    std::string linkIconAddress_; // the ICON_URI attribute, likewise
    bool wantsIcons_;
    bool wantsDetails_;
    std::optional<std::int64_t> linkCreated_;
    std::optional<std::int64_t> linkChanged_;
    std::string linkTags_;
    std::string linkKeyword_;
    bool linkHasIcon_ = false;
    bool headingIsToolbar_ = false;
    std::optional<std::int64_t> headingCreated_;
    std::optional<std::int64_t> headingChanged_;
    bool descriptionOpen_ = false;
    std::string description_;
    // What a description that follows belongs to.
    enum class Item { None, Link, Folder };
    Item lastItem_ = Item::None;
    bool linkOpen_ = false;
    bool headingOpen_ = false;
    bool headerOpen_ = false;
    bool headerSeen_ = false;
    std::string title_;
    bool inTitle_ = false;
    bool titleSeen_ = false;
};

} // namespace

namespace {

struct TextCheck {
    bool utf8 = true;
    std::size_t firstCr = std::string_view::npos;
};

TextCheck CheckText(std::string_view text) {
    return {IsValidUtf8(text), text.find('\r')};
}

// Whether the text is UTF-8, and where its first CR is. A large text is
// split where a character starts (a byte that is no continuation byte, at
// most three places on), so the halves are valid exactly when the whole is.
TextCheck CheckTextInHalves(std::string_view text) {
    if (text.size() < kSideBySideBytes) {
        return CheckText(text);
    }
    auto middle = text.size() / 2;
    for (int step = 0; step < 3 && (static_cast<unsigned char>(text[middle]) & 0xC0) == 0x80;
         ++step) {
        ++middle;
    }
    TextCheck first;
    TextCheck second;
    RunSideBySide([&] { first = CheckText(text.substr(0, middle)); },
                  [&] { second = CheckText(text.substr(middle)); });
    return {first.utf8 && second.utf8,
            first.firstCr != std::string_view::npos || second.firstCr == std::string_view::npos
                ? first.firstCr
                : middle + second.firstCr};
}

} // namespace

NetscapeText DecodeNetscapeBytes(std::string bytes) {
    NetscapeText result;
    auto body = StripUtf8Bom(bytes);
    auto check = CheckTextInHalves(body);
    if (check.utf8) {
        auto bom = bytes.size() - body.size();
        bytes.erase(0, bom);
        result.text = std::move(bytes);
        NormalizeLineEnds(result.text, check.firstCr);
    } else {
        result.text = Windows1252ToUtf8(body);
        result.windows1252 = true;
        NormalizeLineEnds(result.text);
    }
    return result;
}

namespace {

std::string ParseDecodedText(std::string_view text, bool windows1252, BookmarkSink& sink) {
    NetscapeParser parser(sink, windows1252);
    TokenizeHtml(text, parser);
    return parser.Finish();
}

} // namespace

std::string ParseNetscapeText(const NetscapeText& text, BookmarkSink& sink) {
    return ParseDecodedText(text.text, text.windows1252, sink);
}

ReadOutcome LoadNetscapeTree(const std::string& path, BookmarkSink& sink, std::string* pageTitle) {
    if (path.empty()) {
        return ReadOutcome::Unreadable(ReasonCannotRead(path, false));
    }
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return ReadOutcome::Unreadable(ReasonCannotRead(path, false));
    }
    auto decoded = DecodeNetscapeBytes(std::move(*bytes));
    // The doctype opens the file, after at most a byte order mark and blanks.
    constexpr std::size_t kHead = 1024;
    auto head = LowerAscii(std::string_view(decoded.text).substr(0, kHead));
    ReadOutcome read;
    if (head.find("<!doctype netscape-bookmark-file") == std::string::npos) {
        read.reason = kNotNetscapeFormat;
    }
    auto title = ParseDecodedText(sink.KeepSourceText(decoded.text), decoded.windows1252, sink);
    if (pageTitle != nullptr) {
        *pageTitle = std::move(title);
    }
    return read;
}

ReadOutcome BuildNetscapeTree(BookmarkTree& tree, const std::string& path, ProgressSink* progress) {
    FileTreeBuilder builder(tree, StoreKind::Netscape, progress);
    auto read = LoadNetscapeTree(path, builder);
    if (!read) {
        tree.Clear();
        return read;
    }
    builder.Finish();
    return read;
}

ReadOutcome cNNFastScanning::Scan(const std::string& sFileName) {
    completed_ = false;
    CountingSink counter;
    counter.onFolder = [this](const std::string& name) {
        if (FolderScan) {
            FolderScan(name);
        }
    };
    pageTitle_.clear();
    auto read = LoadNetscapeTree(sFileName, counter, &pageTitle_);
    folders_ = counter.folders();
    links_ = counter.links();
    completed_ = true;
    return read;
}

} // namespace tellavin
