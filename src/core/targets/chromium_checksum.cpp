#include "targets/chromium_checksum.h"

#include "text/md5.h"

#include <iterator>
#include <nlohmann/json.hpp>
#include <utf8.h>
#include <vector>

namespace tellavin {

namespace {

std::string_view TextOf(const nlohmann::json& node, const char* key) {
    auto found = node.find(key);
    if (found == node.end() || !found->is_string()) {
        return {};
    }
    return found->get_ref<const std::string&>();
}

// The browser keeps names as UTF-16: invalid UTF-8 would have become
// U+FFFD on reading.
void AddUtf16(Md5& digest, std::string_view utf8) {
    auto valid = utf8::replace_invalid(std::string(utf8));
    std::u16string units;
    utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(units));
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xff);
        bytes += static_cast<char>(unit >> 8);
    }
    digest.Add(bytes);
}

// Depth first without recursion, so any depth is safe.
void AddTree(Md5& digest, const nlohmann::json& root) {
    std::vector<const nlohmann::json*> pending{&root};
    while (!pending.empty()) {
        const auto* node = pending.back();
        pending.pop_back();
        if (!node->is_object()) {
            continue;
        }
        digest.Add(TextOf(*node, "id"));
        AddUtf16(digest, TextOf(*node, "name"));
        if (TextOf(*node, "type") == "url") {
            digest.Add("url");
            digest.Add(TextOf(*node, "url"));
            continue;
        }
        digest.Add("folder");
        auto children = node->find("children");
        if (children != node->end() && children->is_array()) {
            for (auto child = children->rbegin(); child != children->rend(); ++child) {
                pending.push_back(&*child);
            }
        }
    }
}

} // namespace

std::string ChromiumChecksum(const nlohmann::json& roots) {
    Md5 digest;
    for (const char* key : {"bookmark_bar", "other", "synced"}) {
        auto root = roots.is_object() ? roots.find(key) : roots.end();
        if (root != roots.end()) {
            AddTree(digest, *root);
        }
    }
    return digest.HexDigest();
}

} // namespace tellavin
