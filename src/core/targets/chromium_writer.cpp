#include "targets/chromium_writer.h"

#include "model/folder_walk.h"
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "targets/backup_copy.h"
#include "targets/chromium_checksum.h"
#include "targets/chromium_json.h"
#include "targets/folder_links.h"
#include "targets/merge_plan.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

// Members come out sorted by name, as the browser keeps them.
using Json = nlohmann::json;

constexpr const char* kErrorTitle = "Error";

// The GUIDs the browser gives its three roots in every profile.
constexpr const char* kBarGuid = "0bc5d13f-2cba-5d74-951f-3f233fe6c908";
constexpr const char* kOtherGuid = "82b081ec-3dd3-529c-8475-ab6c344590dd";
constexpr const char* kMobileGuid = "4cf2e351-0e85-532b-bb37-df045d8f8d0f";

ExportResult Failure(std::vector<std::string> lines) {
    return ExportResult::Failed({kErrorTitle, std::move(lines), MessageIcon::Critical});
}

ExportResult NotBookmarks(const std::string& file) {
    return Failure(
        {"\"" + file + "\" is not a Chromium Bookmarks file.", "The file was left unchanged."});
}

Json NewRoot(const char* id, const char* name, const char* guid, const std::string& added) {
    return {{"children", Json::array()},
            {"date_added", added},
            {"date_last_used", "0"},
            {"date_modified", "0"},
            {"guid", guid},
            {"id", id},
            {"name", name},
            {"type", "folder"}};
}

// A file as the browser starts one, before its first bookmark.
Json NewDocument(const std::string& now) {
    return {{"checksum", ""},
            {"roots",
             {{"bookmark_bar", NewRoot("1", kChromiumBarName, kBarGuid, now)},
              {"other", NewRoot("2", kChromiumOtherName, kOtherGuid, now)},
              {"synced", NewRoot("3", kChromiumMobileName, kMobileGuid, now)}}},
            {"version", 1}};
}

bool HasChildrenList(const Json& roots, const char* key) {
    auto root = roots.find(key);
    if (root == roots.end() || !root->is_object()) {
        return false;
    }
    auto children = root->find("children");
    return children == root->end() || children->is_array();
}

// The document of a bookmarks file, when it is one the browser reads.
std::optional<Json> BookmarksDocument(const std::string& bytes) {
    auto document = Json::parse(bytes, nullptr, false);
    if (!document.is_object()) {
        return std::nullopt;
    }
    auto roots = document.find("roots");
    if (roots == document.end() || !roots->is_object() ||
        !HasChildrenList(*roots, "bookmark_bar") || !HasChildrenList(*roots, "other")) {
        return std::nullopt;
    }
    return document;
}

std::int64_t IdValue(const Json& node) {
    auto id = node.find("id");
    if (id == node.end()) {
        return 0;
    }
    if (id->is_number_integer()) {
        return id->get<std::int64_t>();
    }
    if (!id->is_string()) {
        return 0;
    }
    const auto& text = id->get_ref<const std::string&>();
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return error == std::errc() ? value : 0;
}

// The largest id of every node below the roots, walked without recursion.
std::int64_t LargestId(const Json& document) {
    std::int64_t largest = 0;
    std::vector<const Json*> pending;
    for (const auto& [key, root] : document["roots"].items()) {
        pending.push_back(&root);
    }
    while (!pending.empty()) {
        const Json* node = pending.back();
        pending.pop_back();
        if (!node->is_object()) {
            continue;
        }
        largest = std::max(largest, IdValue(*node));
        auto children = node->find("children");
        if (children != node->end() && children->is_array()) {
            for (const auto& child : *children) {
                pending.push_back(&child);
            }
        }
    }
    return largest;
}

// The browser loads a profile's other store beside the one written, and
// ids must not repeat across them.
std::int64_t LargestIdBeside(const ChromiumProfileFiles& store) {
    auto other = PathFromUtf8(store.profileFolder) /
                 (store.accountStore ? kChromiumBookmarksFile : kChromiumAccountBookmarksFile);
    auto bytes = ReadWholeFile(Utf8FromPath(other));
    auto document = bytes ? Json::parse(*bytes, nullptr, false) : Json();
    bool hasRoots =
        document.is_object() && document.contains("roots") && document["roots"].is_object();
    return hasRoots ? LargestId(document) : 0;
}

// How deep arrays and objects nest, the document itself being 1.
std::int32_t JsonDepth(const Json& document) {
    std::int32_t deepest = 0;
    std::vector<std::pair<const Json*, std::int32_t>> pending{{&document, 1}};
    while (!pending.empty()) {
        auto [value, depth] = pending.back();
        pending.pop_back();
        if (!value->is_structured()) {
            continue;
        }
        deepest = std::max(deepest, depth);
        for (const auto& element : *value) {
            pending.emplace_back(&element, depth + 1);
        }
    }
    return deepest;
}

// Hands out the new nodes' ids, above every id there is; the browser
// numbers the nodes it adds after the largest, which must stay a 64-bit
// number too.
class IdSource {
public:
    explicit IdSource(std::int64_t largest) : next_(largest) {}
    std::string Take() {
        if (next_ >= std::numeric_limits<std::int64_t>::max() - 1) {
            exhausted_ = true;
            return "0";
        }
        return std::to_string(++next_);
    }
    bool Exhausted() const { return exhausted_; }

private:
    std::int64_t next_;
    bool exhausted_ = false;
};

// Adds the new nodes to the file's document while the walk goes: open_
// holds the folders being filled, the first the one the export goes into.
// Unless duplicates are kept, a folder of the export whose name a folder
// that was in the file before holds at its place is joined with that one,
// and a link whose address (NormalizedAddress) a link there before holds is
// left out. Only the innermost open folder's children grow, so the
// pointers to the open folders stay valid.
class NodeBuilder final : public FolderVisitor {
public:
    NodeBuilder(BookmarkTree& tree, const WriteOptions& options, IdSource& ids, std::time_t now,
                ExportResult& result, Json& root)
        : tree_(tree), options_(options), ids_(ids), now_(detail::ChromiumTime(now)),
          result_(result), order_(OrderToWalk(tree, options.keepOrder)) {
        open_.push_back(Existing(root));
        if (options.newFolder && Open(*options.newFolder)) {
            result_.FolderJoined(*options.newFolder);
        }
    }

    WalkOrder Order() const { return order_; }

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& record = tree_.FolderTable.at(folder);
        if (!isStart && Open(tree_.Node(folder).Text, &record)) {
            result_.FolderJoined(FolderInReport(tree_, folder));
        } else if (!isStart) {
            ++result_.nFoldersWritten;
            if (!record.sDescription.empty()) {
                result_.losses.Note(LossKind::DescriptionDropped, FolderInReport(tree_, folder));
            }
            if (tree_.FolderTable.at(folder).bToolbar) {
                result_.losses.Note(LossKind::ToolbarNotMarked, FolderInReport(tree_, folder));
            }
        }
        if (options_.links == LinksPlacement::BeforeFolders && order_ == WalkOrder::Display) {
            AddLinks(folder);
        }
    }

    void Leave(std::int32_t folder, bool isStart) override {
        if (options_.links == LinksPlacement::AfterFolders && order_ == WalkOrder::Display) {
            AddLinks(folder);
        }
        if (!isStart) {
            open_.pop_back();
        }
    }

    void Row(std::int32_t folder, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            result_.losses.Note(LossKind::SeparatorDropped, FolderInReport(tree_, folder));
        } else if (options_.links != LinksPlacement::None) {
            AddLink(row);
        }
    }

private:
    // A folder being filled, and how many of its children were in the file.
    struct OpenFolder {
        Json* node;
        std::size_t before;
        std::optional<std::unordered_set<std::string>> addresses; // of those, once asked
    };

    static OpenFolder Existing(Json& node) {
        auto& children = node["children"];
        return {&node, children.is_array() ? children.size() : 0, std::nullopt};
    }

    // Opens the folder of that name in the innermost open one: the one that
    // was there when duplicates are not kept, else a new one, with the
    // record's dates when it has them. True when it was there.
    bool Open(const std::string& name, const FolderRecord* record = nullptr) {
        auto& parent = open_.back();
        auto& children = (*parent.node)["children"];
        if (!options_.keepDuplicates) {
            for (std::size_t i = 0; i < parent.before; ++i) {
                auto& child = children[i];
                if (child.is_object() && child.value("type", "") == "folder" &&
                    child.value("name", "") == name) {
                    open_.push_back(Existing(child));
                    return true;
                }
            }
        }
        children.push_back(NewFolder(name, record));
        open_.push_back({&children.back(), 0, std::nullopt});
        return false;
    }

    bool AlreadyThere(std::string_view address) {
        auto& folder = open_.back();
        if (options_.keepDuplicates || folder.before == 0) {
            return false;
        }
        if (!folder.addresses) {
            folder.addresses.emplace();
            const auto& children = (*folder.node)["children"];
            for (std::size_t i = 0; i < folder.before; ++i) {
                const auto& child = children[i];
                if (child.is_object() && child.value("type", "") == "url") {
                    folder.addresses->insert(NormalizedAddress(child.value("url", "")));
                }
            }
        }
        return folder.addresses->contains(NormalizedAddress(address));
    }

    std::string TimeOr(std::int64_t seconds, const std::string& otherwise) const {
        return seconds != 0 ? detail::ChromiumTime(seconds) : otherwise;
    }

    Json NewFolder(const std::string& name, const FolderRecord* record) {
        auto created = record != nullptr ? record->nCreated : 0;
        auto changed = record != nullptr ? record->nChanged : 0;
        return {{"children", Json::array()},
                {"date_added", TimeOr(created, now_)},
                {"date_last_used", "0"},
                {"date_modified", TimeOr(changed, TimeOr(created, now_))},
                {"guid", detail::RandomGuid()},
                {"id", ids_.Take()},
                {"name", name},
                {"type", "folder"}};
    }

    void AddLinks(std::int32_t folder) {
        for (auto row : GetFolderLinkRows(tree_, folder, options_.exportAll)) {
            AddLink(tree_.EntryTable[static_cast<std::size_t>(row)]);
        }
    }

    void AddLink(const EntryRecord& link) {
        if (AlreadyThere(link.sURL)) {
            result_.LinkAlreadyThere(std::string(link.sName));
            return;
        }
        (*open_.back().node)["children"].push_back(
            {{"date_added", link.nCreated != 0 ? detail::ChromiumTime(link.nCreated) : now_},
             {"date_last_used", "0"},
             {"guid", detail::RandomGuid()},
             {"id", ids_.Take()},
             {"name", std::string(link.sName)},
             {"type", "url"},
             {"url", std::string(link.sURL)}});
        ++result_.nLinksWritten;
        if (link.nChanged != 0) {
            result_.losses.Note(LossKind::ChangedDateDropped, std::string(link.sName));
        }
        NoteDetailsDropped(link);
    }

    // Chromium keeps no description, keyword or tags for a bookmark.
    void NoteDetailsDropped(const EntryRecord& link) {
        const auto& details = tree_.DetailsOf(link);
        std::string name(link.sName);
        if (!details.description.empty()) {
            result_.losses.Note(LossKind::DescriptionDropped, name);
        }
        if (!details.keyword.empty()) {
            result_.losses.Note(LossKind::KeywordDropped, name);
        }
        if (!details.tags.empty()) {
            result_.losses.Note(LossKind::TagsDropped, name);
        }
    }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    IdSource& ids_;
    std::string now_;
    ExportResult& result_;
    WalkOrder order_;
    std::vector<OpenFolder> open_;
};

std::vector<std::string> Advice(const ChromiumProfileFiles& store) {
    std::vector<std::string> advice{"The bookmarks were added to \"" + store.bookmarksFile + "\"."};
    if (store.accountStore) {
        advice.push_back("This file holds the bookmarks of the account signed in to the "
                         "browser: sync may change them once the browser starts.");
    }
    if (store.hasEncryptedCopy) {
        advice.push_back("The browser keeps an encrypted copy of this file beside it and makes "
                         "it again from the file when it starts.");
    }
    return advice;
}

} // namespace

namespace detail {

std::string ChromiumTime(std::int64_t secondsSince1970) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    return std::to_string((secondsSince1970 + kSecondsFrom1601To1970) * 1'000'000);
}

std::string RandomGuid() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    auto high = generator();
    auto low = generator();
    high = (high & ~std::uint64_t{0xf000}) | 0x4000;                      // version 4
    low = (low & ~(std::uint64_t{0xc} << 60)) | (std::uint64_t{8} << 60); // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%012llx",
                  static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xffff),
                  static_cast<unsigned>(high & 0xffff), static_cast<unsigned>(low >> 48),
                  static_cast<unsigned long long>(low & 0xffffffffffffULL));
    return text;
}

} // namespace detail

ExportResult WriteChromiumBookmarks(BookmarkTree& tree, const ChromiumProfileFiles& store,
                                    const WriteOptions& options, std::time_t now,
                                    ProgressSink& progress) {
    const auto& file = store.bookmarksFile;
    errno = 0;
    auto bytes = ReadWholeFile(file);
    std::error_code error;
    bool exists = std::filesystem::exists(PathFromUtf8(file), error);
    if (!bytes && exists) {
        return Failure({"Cannot read \"" + file + "\": " + ReasonCannotRead(file, false)});
    }
    auto document = bytes ? BookmarksDocument(*bytes) : NewDocument(detail::ChromiumTime(now));
    if (!document) {
        return NotBookmarks(file);
    }
    ExportResult result;
    IdSource ids(std::max(LargestId(*document), LargestIdBeside(store)));
    auto& root = (*document)["roots"][options.place == BrowserRoot::Bar ? "bookmark_bar" : "other"];
    NodeBuilder builder(tree, options, ids, now, result, root);
    WalkExportedFolders(tree, options.exportAll, builder, result, progress, {0, builder.Order()});
    if (ids.Exhausted()) {
        return Failure({"Cannot add to \"" + file + "\":",
                        "its bookmarks' numbers leave no room for new ones. The file was left "
                        "unchanged."});
    }
    if (JsonDepth(*document) > kChromiumMaxJsonDepth) {
        return Failure({"Cannot add to \"" + file + "\":",
                        "its folders would lie inside one another deeper than the browser reads. "
                        "The file was left unchanged."});
    }
    // Stopped before the backup, so that a cancel leaves the profile as it was.
    if (progress.Cancelled()) {
        return ExportResult::Cancelled();
    }
    (*document)["checksum"] = ChromiumChecksum((*document)["roots"]);
    if (bytes) {
        auto copied = MakeTimedBackup(file, now);
        if (!copied.ok) {
            Outcome failed;
            failed.kind = OutcomeKind::BackupFailed;
            failed.path = copied.path;
            failed.reason = copied.reason;
            return ExportResult::Refused(failed);
        }
        result.sBackupPath = copied.path;
    }
    auto written = WriteFileAtomically(file, ChromiumJsonText(*document));
    if (!written.ok) {
        return Failure({written.message, "The file was left unchanged."});
    }
    result.sPlaceName = options.place == BrowserRoot::Bar ? kChromiumBarName : kChromiumOtherName;
    result.sNewFolder = options.newFolder.value_or("");
    result.advice = Advice(store);
    return result;
}

} // namespace tellavin
