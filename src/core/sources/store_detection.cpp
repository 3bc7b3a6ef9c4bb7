#include "sources/store_detection.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/opera_reader.h"
#include "text/ascii_text.h"
#include "text/encoding.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tellavin {

namespace {

bool StartsLikeAHotlist(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::string start(32, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return IsHotlistText(start);
}

std::optional<StoreKind> KindByExtension(const std::string& path) {
    auto extension = LowerAscii(Utf8FromPath(PathFromUtf8(path).extension()));
    if (extension == ".adr") {
        return StoreKind::Opera;
    }
    if (extension == ".html" || extension == ".htm") {
        return StoreKind::Netscape;
    }
    return std::nullopt;
}

} // namespace

std::optional<StoreLocation> RecognizeStoreLocation(std::string_view text) {
    if (auto named = ParseStoreLocation(text)) {
        return named;
    }
    std::string path(text);
    if (path.empty()) {
        return std::nullopt;
    }
    if (FolderExists(path)) {
        return StoreLocation{StoreKind::Favorites, path};
    }
    if (FileExists(path)) {
        return StoreLocation{StartsLikeAHotlist(path) ? StoreKind::Opera : StoreKind::Netscape,
                             path};
    }
    if (auto kind = KindByExtension(path)) {
        return StoreLocation{*kind, path};
    }
    return std::nullopt;
}

} // namespace tellavin
