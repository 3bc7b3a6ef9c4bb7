#include "sources/opera_reader.h"

#include "model/file_tree_builder.h"
#include "platform/file_io.h"
#include "text/ascii_text.h"
#include "text/byte_search.h"
#include "text/encoding.h"
#include "text/number_text.h"
#include "text/replace_all.h"
#include "text/utf8_repair.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

std::string DecodeValue(std::string_view raw) {
    auto text = DecodeToUtf8(raw);
    ReplaceAll(text, "\x02\x02", "\n");
    // A NUL carries nothing in a name or address, and the other formats
    // cannot hold one (the Netscape-format reader drops it too).
    std::erase(text, '\0');
    return text;
}

// Whether a value reads as it stands: UTF-8 with no line break ("\x02\x02")
// and no NUL in it.
bool ReadsAsItStands(std::string_view raw) {
    return FindByteBelow(raw, 3) == std::string_view::npos && IsValidUtf8(raw);
}

std::string DecodeName(std::string_view raw) {
    auto text = DecodeValue(raw);
    return IsValidUtf8(raw) ? text : RepairUtf8Text(std::move(text));
}

// The entry being read: its kind and the fields found so far.
class PendingEntry {
public:
    enum class Kind { None, Folder, Link, Separator, Other };

    void Start(Kind kind) {
        kind_ = kind;
        name_.reset();
        url_.reset();
        urlInText_ = {};
        created_ = 0;
        onToolbar_ = false;
        trash_ = false;
        dropped_.clear();
    }

    bool TakesFields() const { return kind_ == Kind::Folder || kind_ == Kind::Link; }

    void Field(std::string_view line) {
        auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return;
        }
        auto key = line.substr(0, equals);
        auto value = line.substr(equals + 1);
        if (EqualsIgnoringCase(key, "NAME") && !name_) {
            name_ = DecodeName(value);
        } else if (EqualsIgnoringCase(key, "URL") && !url_ && urlInText_.empty()) {
            if (ReadsAsItStands(value) && !value.empty()) {
                urlInText_ = value;
            } else {
                url_ = DecodeValue(value);
            }
        } else if (EqualsIgnoringCase(key, "CREATED")) {
            created_ = ParseSecondsSince1970(value);
        } else if (EqualsIgnoringCase(key, "ON PERSONALBAR")) {
            onToolbar_ = EqualsIgnoringCase(TrimBlanks(value), "YES");
        } else if (EqualsIgnoringCase(key, "TRASH FOLDER")) {
            trash_ = EqualsIgnoringCase(TrimBlanks(value), "YES");
        } else if (!TrimBlanks(value).empty()) {
            NoteDroppedField(key);
        }
    }

    // Hands a finished entry to the sink; the next lines belong to no entry.
    void Flush(BookmarkSink& sink, bool& toolbarSeen) {
        auto kind = std::exchange(kind_, Kind::None);
        auto name = name_ ? std::move(*name_) : std::string();
        // The losses name the entry, so they come first and the name can
        // then move on.
        if (kind == Kind::Folder || kind == Kind::Link) {
            NoteDroppedFields(sink, name);
        }
        if (kind == Kind::Folder) {
            sink.BeginFolder(std::move(name));
            if (trash_) {
                sink.MarkTrashFolder();
            } else if (onToolbar_ && !std::exchange(toolbarSeen, true)) {
                sink.MarkToolbarFolder();
            }
        } else if (kind == Kind::Link) {
            if (!urlInText_.empty()) {
                sink.AddLinkInSource(name, urlInText_);
            } else {
                sink.AddLink(std::move(name), url_ ? std::move(*url_) : std::string(kUndefinedUrl));
            }
            if (created_ != 0) {
                sink.SetLinkDates(created_, 0);
            }
        } else if (kind == Kind::Separator) {
            sink.AddSeparator();
        }
    }

private:
    void NoteDroppedField(std::string_view key) {
        if (EqualsIgnoringCase(key, "DESCRIPTION")) {
            dropped_.push_back(LossKind::DescriptionDropped);
        } else if (EqualsIgnoringCase(key, "SHORT NAME")) {
            dropped_.push_back(LossKind::KeywordDropped);
        } else if (EqualsIgnoringCase(key, "ICONFILE")) {
            dropped_.push_back(LossKind::IconDropped);
        }
    }

    void NoteDroppedFields(BookmarkSink& sink, const std::string& name) {
        for (auto kind : dropped_) {
            sink.NoteLoss(kind, name);
        }
    }

    Kind kind_ = Kind::None;
    std::optional<std::string> name_;
    std::optional<std::string> url_; // a decoded address
    std::string_view urlInText_;     // or one as it stands in the text
    std::int64_t created_ = 0;
    bool onToolbar_ = false;
    bool trash_ = false;
    std::vector<LossKind> dropped_;
};

PendingEntry::Kind KindOfTag(std::string_view tag) {
    if (EqualsIgnoringCase(tag, "#FOLDER")) {
        return PendingEntry::Kind::Folder;
    }
    if (EqualsIgnoringCase(tag, "#URL")) {
        return PendingEntry::Kind::Link;
    }
    if (EqualsIgnoringCase(tag, "#SEPERATOR")) {
        return PendingEntry::Kind::Separator;
    }
    return PendingEntry::Kind::Other;
}

// Finds line breaks with bulk searches for CR and for LF, each kept until
// the reading passes it: a file of LF lines is searched for a CR once.
class LineBreaks {
public:
    explicit LineBreaks(std::string_view text)
        : text_(text), cr_(Find('\r', 0)), lf_(Find('\n', 0)) {}

    // The place of the first CR or LF at or after from; the text's size
    // when none follows.
    std::size_t NextFrom(std::size_t from) {
        if (cr_ < from) {
            cr_ = Find('\r', from);
        }
        if (lf_ < from) {
            lf_ = Find('\n', from);
        }
        return std::min(cr_, lf_);
    }

private:
    std::size_t Find(char c, std::size_t from) const {
        return std::min(FindByte(text_, c, from), text_.size());
    }

    std::string_view text_;
    std::size_t cr_;
    std::size_t lf_;
};

} // namespace

bool IsHotlistText(std::string_view bytes) {
    return StripUtf8Bom(bytes).starts_with("Opera Hotlist");
}

void ParseOperaHotlist(std::string_view bytes, BookmarkSink& sink) {
    sink.SetRootText(kOperaRootText);
    const auto text = StripUtf8Bom(bytes);
    PendingEntry entry;
    bool toolbarSeen = false;
    auto flush = [&] { entry.Flush(sink, toolbarSeen); };
    LineBreaks breaks(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF, or a CR alone (files from old Macs).
        auto end = breaks.NextFrom(pos);
        auto line = text.substr(pos, end - pos);
        pos = end == text.size() ? end : text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        auto trimmed = TrimBlanks(line);
        if (trimmed.empty()) {
            flush();
        } else if (trimmed.front() == '#') {
            flush();
            entry.Start(KindOfTag(trimmed));
        } else if (trimmed == "-") {
            flush();
            sink.EndFolder();
        } else if (entry.TakesFields()) {
            // Only leading blanks go: a value keeps its trailing ones.
            entry.Field(line.substr(line.find_first_not_of(" \t")));
        }
    }
    flush();
}

void cOperaFastScanning::Scan(const std::string& sFileName) {
    CountingSink counter;
    counter.onFolder = [this](const std::string& name) {
        if (FolderScan) {
            FolderScan(name);
        }
    };
    if (auto bytes = ReadWholeFile(sFileName)) {
        ParseOperaHotlist(*bytes, counter);
    }
    folders_ = counter.folders();
    links_ = counter.links();
    completed_ = true;
}

bool LoadOperaTree(BookmarkTree& tree, const std::string& path, ProgressSink* progress) {
    tree.Clear();
    if (path.empty()) {
        return false;
    }
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return false;
    }
    FileTreeBuilder builder(tree, StoreKind::Opera, progress);
    // The tree keeps the file's text, and addresses that stand in it as
    // they are stay there instead of being copied.
    ParseOperaHotlist(builder.KeepSourceText(*bytes), builder);
    builder.Finish();
    return true;
}

} // namespace tellavin
