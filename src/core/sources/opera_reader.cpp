#include "sources/opera_reader.h"

#include "model/file_tree_builder.h"
#include "platform/file_io.h"
#include "sources/icon_file.h"
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
    // cannot hold one (the Netscape-format reader drops it too). Nor does
    // a 0x02 left over, half of no line break: kept, it would pair with a
    // break the writer writes beside it, and the name would change.
    std::erase_if(text, [](char c) { return c == '\0' || c == '\x02'; });
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

// A name or an address: a part of the file's text when it reads as it
// stands there, so that most cost no copy; a decoded copy otherwise.
class FieldText {
public:
    bool Given() const { return given_; }
    // Empty when not given.
    std::string_view Text() const {
        if (!given_) {
            return {};
        }
        return copied_ ? std::string_view(decoded_) : inText_;
    }

    void Reset() {
        given_ = false;
        copied_ = false;
    }
    template <typename Decode> void Take(std::string_view raw, Decode decode) {
        given_ = true;
        copied_ = !ReadsAsItStands(raw);
        if (copied_) {
            decoded_ = decode(raw);
        } else {
            inText_ = raw;
        }
    }

private:
    bool given_ = false;
    bool copied_ = false;
    std::string_view inText_;
    std::string decoded_;
};

// The fields of an entry that are read or noted, told apart by their
// length first: most lines then take one comparison.
enum class FieldKey { Name, Url, Created, OnToolbar, Trash, Description, Keyword, Icon, Other };

FieldKey KeyOf(std::string_view key) {
    struct Known {
        std::string_view name;
        FieldKey key;
    };
    static constexpr Known kKnown[] = {
        {"NAME", FieldKey::Name},          {"URL", FieldKey::Url},
        {"CREATED", FieldKey::Created},    {"ON PERSONALBAR", FieldKey::OnToolbar},
        {"TRASH FOLDER", FieldKey::Trash}, {"DESCRIPTION", FieldKey::Description},
        {"SHORT NAME", FieldKey::Keyword}, {"ICONFILE", FieldKey::Icon},
    };
    for (const auto& known : kKnown) {
        if (known.name.size() == key.size() && EqualsIgnoringCase(key, known.name)) {
            return known.key;
        }
    }
    return FieldKey::Other;
}

// The entry being read: its kind and the fields found so far.
class PendingEntry {
public:
    enum class Kind { None, Folder, Link, Separator, Other };

    void Start(Kind kind) {
        kind_ = kind;
        name_.Reset();
        url_.Reset();
        created_.reset();
        onToolbar_ = false;
        trash_ = false;
        description_.reset();
        keyword_.reset();
        iconFile_ = {};
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
        switch (KeyOf(key)) {
        case FieldKey::Name:
            if (!name_.Given()) {
                name_.Take(value, DecodeName);
            }
            break;
        case FieldKey::Url:
            if (!url_.Given()) {
                url_.Take(value, DecodeValue);
            }
            break;
        case FieldKey::Created:
            created_ = ParseSecondsSince1970(value);
            break;
        case FieldKey::OnToolbar:
            onToolbar_ = EqualsIgnoringCase(TrimBlanks(value), "YES");
            break;
        case FieldKey::Trash:
            trash_ = EqualsIgnoringCase(TrimBlanks(value), "YES");
            break;
        case FieldKey::Description:
            if (!description_) {
                description_ = DecodeValue(value);
            }
            break;
        case FieldKey::Keyword:
            if (!keyword_) {
                keyword_ = DecodeValue(value);
            }
            break;
        case FieldKey::Icon:
            iconFile_ = TrimBlanks(value);
            break;
        case FieldKey::Other:
            break;
        }
    }

    // Hands a finished entry to the sink; the next lines belong to no entry.
    // A link's ICONFILE is read from iconFolder when the sink keeps icons.
    void Flush(BookmarkSink& sink, bool& toolbarSeen, const std::string& iconFolder) {
        auto kind = std::exchange(kind_, Kind::None);
        auto name = name_.Text();
        bool readsIcon = kind == Kind::Link && url_.Given() && sink.WantsLinkIcons();
        if (!iconFile_.empty() && !readsIcon) {
            dropped_.push_back(LossKind::IconDropped);
        }
        if (kind == Kind::Folder) {
            sink.BeginFolder(std::string(name));
            if (trash_) {
                sink.MarkTrashFolder();
            } else if (onToolbar_ && !std::exchange(toolbarSeen, true)) {
                sink.MarkToolbarFolder();
            }
            if (created_) {
                sink.SetFolderDates(created_, std::nullopt);
            }
            if (description_) {
                sink.SetFolderDescription(*description_);
            }
            NoteDroppedFields(sink, name);
        } else if (kind == Kind::Link) {
            if (!url_.Given()) {
                sink.AddLink(std::string(name), std::string(kUndefinedUrl));
            } else if (readsIcon && !iconFile_.empty()) {
                AddLinkWithIcon(sink, name, iconFolder);
            } else {
                sink.AddLinkInSource(name, url_.Text());
            }
            if (created_) {
                sink.SetLinkDates(created_, std::nullopt);
            }
            if (description_) {
                sink.SetLinkDescription(*description_);
            }
            if (keyword_) {
                sink.SetLinkKeyword(*keyword_);
            }
            NoteDroppedFields(sink, name);
        } else if (kind == Kind::Separator) {
            sink.AddSeparator();
        }
    }

private:
    // The link with the image its ICONFILE names (ReadIconFile); a file
    // that cannot be read is noted as a dropped icon.
    void AddLinkWithIcon(BookmarkSink& sink, std::string_view name, const std::string& iconFolder) {
        auto image = ReadIconFile(iconFile_, iconFolder);
        if (image.empty()) {
            dropped_.push_back(LossKind::IconDropped);
        }
        sink.AddLinkWithIcon(std::string(name), std::string(url_.Text()), {image, {}});
    }

    // A field no target keeps is noted when it holds something.
    void NoteDroppedField(std::string_view value, LossKind loss) {
        if (!TrimBlanks(value).empty()) {
            dropped_.push_back(loss);
        }
    }

    void NoteDroppedFields(BookmarkSink& sink, std::string_view name) {
        for (auto kind : dropped_) {
            sink.NoteLoss(kind, std::string(name));
        }
    }

    Kind kind_ = Kind::None;
    FieldText name_;
    FieldText url_;
    std::optional<std::int64_t> created_;
    std::optional<std::string> description_;
    std::optional<std::string> keyword_;
    bool onToolbar_ = false;
    bool trash_ = false;
    std::string_view iconFile_; // the ICONFILE value, in the text parsed
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

void ParseOperaHotlist(std::string_view bytes, BookmarkSink& sink, const std::string& iconFolder) {
    sink.SetRootText(kOperaRootText);
    const auto text = StripUtf8Bom(bytes);
    PendingEntry entry;
    bool toolbarSeen = false;
    auto flush = [&] { entry.Flush(sink, toolbarSeen, iconFolder); };
    LineBreaks breaks(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF, or a CR alone (files from old Macs).
        auto end = breaks.NextFrom(pos);
        auto line = text.substr(pos, end - pos);
        pos = end == text.size()                                                    ? end
              : text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? end + 2
                                                                                    : end + 1;
        auto trimmed = TrimBlanks(line);
        if (trimmed.empty()) {
            flush();
        } else if (trimmed.front() == '#') {
            flush();
            entry.Start(KindOfTag(trimmed));
        } else if (trimmed == "-") {
            flush();
            sink.FolderEndsAt(static_cast<std::size_t>(line.data() - bytes.data()));
            sink.EndFolder();
        } else if (entry.TakesFields()) {
            // Only leading blanks go: a value keeps its trailing ones.
            entry.Field(line.substr(line.find_first_not_of(" \t")));
        }
    }
    flush();
}

namespace {

// The hotlist's whole text, or why it cannot be read.
std::optional<std::string> ReadHotlistText(const std::string& path, ReadOutcome& read) {
    auto bytes = path.empty() ? std::nullopt : ReadWholeFile(path);
    if (!bytes) {
        read = ReadOutcome::Unreadable(ReasonCannotRead(path, false));
    } else if (!IsHotlistText(*bytes)) {
        read.reason = kNotAHotlist;
    }
    return bytes;
}

} // namespace

ReadOutcome cOperaFastScanning::Scan(const std::string& sFileName) {
    CountingSink counter;
    counter.onFolder = [this](const std::string& name) {
        if (FolderScan) {
            FolderScan(name);
        }
    };
    ReadOutcome read;
    if (auto bytes = ReadHotlistText(sFileName, read)) {
        ParseOperaHotlist(*bytes, counter);
    }
    folders_ = counter.folders();
    links_ = counter.links();
    completed_ = true;
    return read;
}

ReadOutcome LoadOperaTree(BookmarkTree& tree, const std::string& path, ProgressSink* progress) {
    tree.Clear();
    ReadOutcome read;
    auto bytes = ReadHotlistText(path, read);
    if (!bytes) {
        return read;
    }
    FileTreeBuilder builder(tree, StoreKind::Opera, progress);
    // The tree keeps the file's text, and addresses that stand in it as
    // they are stay there instead of being copied.
    ParseOperaHotlist(builder.KeepSourceText(*bytes), builder,
                      Utf8FromPath(PathFromUtf8(path).parent_path()));
    builder.Finish();
    return read;
}

} // namespace tellavin
