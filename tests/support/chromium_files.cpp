#include "support/chromium_files.h"

#include "model/file_tree_builder.h"
#include "sources/chromium_bookmarks_reader.h"
#include "support/ordered_tree.h"
#include "targets/chromium_checksum.h"
#include "targets/chromium_json.h"

#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <vector>

namespace tellavin::test {

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// Every node below the roots by its id; an id that repeats fails.
std::map<std::string, const Json*> NodesById(const Json& document) {
    std::map<std::string, const Json*> nodes;
    std::size_t count = 0;
    std::vector<const Json*> pending;
    for (const auto& [key, root] : document.at("roots").items()) {
        pending.push_back(&root);
    }
    while (!pending.empty()) {
        const Json* node = pending.back();
        pending.pop_back();
        nodes[node->value("id", "")] = node;
        ++count;
        if (node->contains("children")) {
            for (const auto& child : node->at("children")) {
                pending.push_back(&child);
            }
        }
    }
    EXPECT_EQ(nodes.size(), count) << "an id repeats";
    return nodes;
}

} // namespace

std::string CopyChromiumProfile(const std::string& fixture, const fs::path& userData) {
    auto profile = userData / "Default";
    fs::create_directories(profile);
    if (fixture != "empty") {
        fs::copy(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "chromium" / fixture, profile);
    }
    return profile.string();
}

std::string ChromiumTreeText(const std::string& file) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto why = LoadChromiumBookmarks(file, builder);
    if (!why.empty()) {
        return why;
    }
    builder.Finish();
    return OrderedTreeText(tree, true, true);
}

void ExpectExportKept(const Json& before, const std::string& afterText, const std::string& root) {
    auto after = Json::parse(afterText);
    EXPECT_EQ(afterText, ChromiumJsonText(after));
    EXPECT_EQ(after.at("checksum"), ChromiumChecksum(after.at("roots")));
    auto old = NodesById(before);
    auto now = NodesById(after);
    const auto& roots = before.at("roots");
    const Json* receiver = roots.contains(root) ? &roots.at(root) : nullptr;
    for (const auto& [id, node] : old) {
        ASSERT_TRUE(now.count(id)) << "lost node " << id;
        if (node != receiver) {
            EXPECT_EQ(*now[id], *node) << "changed node " << id;
            continue;
        }
        auto kept = *now[id];
        auto children = kept.at("children");
        kept["children"] = Json::array();
        for (std::size_t i = 0; i < node->at("children").size(); ++i) {
            kept["children"].push_back(children.at(i));
        }
        EXPECT_EQ(kept, *node) << "changed root " << root;
    }
    long long largest = 0;
    for (const auto& [id, node] : old) {
        largest = std::max(largest, std::stoll(id.empty() ? "0" : id));
    }
    static const std::regex kGuidV4(
        "[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> guids;
    for (const auto& [id, node] : now) {
        guids.insert(node->value("guid", ""));
        bool root =
            node->value("id", "") ==
                after.at("roots").value(Json::json_pointer("/bookmark_bar/id"), "") ||
            node->value("id", "") == after.at("roots").value(Json::json_pointer("/other/id"), "") ||
            node->value("id", "") == after.at("roots").value(Json::json_pointer("/synced/id"), "");
        if (!old.count(id) && !root) {
            EXPECT_GT(std::stoll(id), largest) << id;
            EXPECT_TRUE(std::regex_match(node->value("guid", ""), kGuidV4)) << node->dump();
        }
    }
    EXPECT_EQ(guids.size(), now.size()) << "a GUID repeats";
}

} // namespace tellavin::test
