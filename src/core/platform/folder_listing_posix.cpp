#include "platform/file_io.h"
#include "platform/folder_listing.h"

#include <chrono>
#include <filesystem>

namespace tellavin {

namespace fs = std::filesystem;

namespace {

ListedType TypeOf(fs::file_type type) {
    switch (type) {
    case fs::file_type::regular:
        return ListedType::File;
    case fs::file_type::directory:
        return ListedType::Folder;
    case fs::file_type::symlink:
        return ListedType::SymbolicLink;
    default:
        return ListedType::Other;
    }
}

std::optional<std::int64_t> ModifiedSeconds(const fs::directory_entry& entry) {
    std::error_code error;
    auto written = entry.last_write_time(error);
    if (error) {
        return std::nullopt;
    }
    auto moment = std::chrono::file_clock::to_sys(written);
    return std::chrono::floor<std::chrono::seconds>(moment).time_since_epoch().count();
}

} // namespace

std::optional<std::vector<ListedEntry>> ListFolder(const std::string& path, bool withTimes) {
    std::error_code error;
    fs::directory_iterator it(PathFromUtf8(path), error);
    if (error) {
        return std::nullopt;
    }
    std::vector<ListedEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const auto& entry = *it;
        // The entry's own type comes with the listing; following a link
        // costs a look only for links.
        std::error_code typeError;
        ListedEntry listed;
        listed.name = Utf8FromPath(entry.path().filename());
        listed.type = TypeOf(entry.symlink_status(typeError).type());
        listed.target = listed.type == ListedType::SymbolicLink
                            ? TypeOf(entry.status(typeError).type())
                            : listed.type;
        if (withTimes) {
            listed.modified = ModifiedSeconds(entry);
        }
        entries.push_back(std::move(listed));
    }
    return entries;
}

} // namespace tellavin
