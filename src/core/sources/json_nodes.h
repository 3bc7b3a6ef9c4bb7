#pragma once

#include "model/bookmark_sink.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// The browsers' JSON bookmark files are trees of objects ("nodes") whose
// entries sit in a "children" array. ReadJsonNodes reads such a document in
// one pass over its text, as a stream of tokens, and keeps of it only what
// a reader asks for: for each node the values of a few keys and its
// children. Everything else (identifiers, icons, sync blobs, nested
// objects under other keys) is checked as JSON and dropped on the way, so
// a document takes far less memory than its text, and no tree of every
// value is ever built.
//
// The document is read as RFC 8259 JSON, as strictly as a browser reads
// it: an optional UTF-8 byte order mark, then one value and blanks, and
// nothing more up to the end or to a NUL byte (zero bytes that a crash left
// at a file's end are no part of its document); strings
// of valid UTF-8 with valid escapes (a surrogate pair only whole); numbers
// of JSON's grammar that fit a double. A key given twice counts with its
// last value, as in a parsed tree.
//
// Nodes are: the document itself (which must be an object), every object
// in a node's "children" array, and every object that is the value of one
// of the asked keys. Nesting depth is not limited.

inline constexpr std::uint32_t kNoJsonNode = UINT32_MAX;
inline constexpr std::size_t kMaxJsonNodeKeys = 9;

enum class JsonValueKind : std::uint8_t { Missing, String, Number, Object, Other };

class JsonNodes {
public:
    struct Node {
        // The entries of the "children" array, as a list linked through
        // nextSibling; hasChildren tells that the key holds an array.
        std::uint32_t firstChild = kNoJsonNode;
        std::uint32_t lastChild = kNoJsonNode;
        std::uint32_t nextSibling = kNoJsonNode;
        bool hasChildren = false;
        std::array<JsonValueKind, kMaxJsonNodeKeys> kinds{};
        // Per asked key: where a string's decoded bytes or a number's text
        // lie in the kept text, or an object's node index.
        std::array<std::uint32_t, kMaxJsonNodeKeys> at{};
        std::array<std::uint32_t, kMaxJsonNodeKeys> length{};
    };

    const Node& operator[](std::uint32_t node) const {
        return nodeBlocks_[node >> kNodeBlockShift][node & (kNodesPerBlock - 1)];
    }
    std::size_t size() const { return nodeCount_; }

    JsonValueKind KindOf(std::uint32_t node, std::size_t key) const {
        return (*this)[node].kinds[key];
    }
    // The string or number text of the key's value; empty for any other.
    std::string_view Text(std::uint32_t node, std::size_t key) const;
    // The node that is the key's value, or kNoJsonNode.
    std::uint32_t Object(std::uint32_t node, std::size_t key) const;

private:
    friend class JsonNodeReader;
    // Nodes and kept text grow in blocks that stay where they are: growing
    // copies nothing, so the memory taken stays close to what is kept.
    static constexpr std::uint32_t kNodeBlockShift = 14;
    static constexpr std::uint32_t kNodesPerBlock = 1U << kNodeBlockShift;
    static constexpr std::size_t kTextBlockBytes = std::size_t{1} << 22;

    Node& At(std::uint32_t node) {
        return nodeBlocks_[node >> kNodeBlockShift][node & (kNodesPerBlock - 1)];
    }
    // A new node at the end; its index.
    std::uint32_t AddNode();
    // The text block a kept value is appended to, and where the value then
    // starts in the kept text as a whole.
    std::string& TextBlock(std::uint32_t& start);

    std::vector<std::unique_ptr<Node[]>> nodeBlocks_;
    std::uint32_t nodeCount_ = 0;
    std::vector<std::string> textBlocks_;
    std::vector<std::size_t> textStarts_; // of each block in the kept text
};

// The nodes of the document, with the values of keys (at most
// kMaxJsonNodeKeys; "children" is always read); nothing when the text is
// not a JSON document whose value is an object, or is 4 GiB or longer.
std::optional<JsonNodes> ReadJsonNodes(std::string_view text,
                                       std::span<const std::string_view> keys);

// Walks the children of a node depth first, in stored order, with an
// explicit stack. visit(node) pushes the entry into the sink and returns
// true when it began a folder whose children are to be walked; the walk
// ends each such folder after its last child.
template <typename Visit>
void WalkJsonChildren(const JsonNodes& nodes, std::uint32_t parent, BookmarkSink& sink,
                      Visit visit) {
    std::vector<std::uint32_t> next{nodes[parent].firstChild};
    while (!next.empty()) {
        std::uint32_t node = next.back();
        if (node == kNoJsonNode) {
            next.pop_back();
            if (!next.empty()) {
                sink.EndFolder();
            }
            continue;
        }
        next.back() = nodes[node].nextSibling;
        if (visit(node)) {
            next.push_back(nodes[node].firstChild);
        }
    }
}

// Visits a node and every node below it, depth first, in stored order,
// with an explicit stack.
template <typename Visit>
void VisitJsonSubtree(const JsonNodes& nodes, std::uint32_t top, Visit visit) {
    std::vector<std::uint32_t> next{top};
    while (!next.empty()) {
        std::uint32_t node = next.back();
        if (node == kNoJsonNode) {
            next.pop_back();
            continue;
        }
        next.back() = node == top ? kNoJsonNode : nodes[node].nextSibling;
        visit(node);
        next.push_back(nodes[node].firstChild);
    }
}

} // namespace tellavin
