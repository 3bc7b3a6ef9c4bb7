#include "sources/json_nodes.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace tellavin {

std::string_view JsonNodes::Text(std::uint32_t node, std::size_t key) const {
    const auto& entry = (*this)[node];
    auto kind = entry.kinds[key];
    if (kind != JsonValueKind::String && kind != JsonValueKind::Number) {
        return {};
    }
    auto block = static_cast<std::size_t>(
        std::upper_bound(textStarts_.begin(), textStarts_.end(), entry.at[key]) -
        textStarts_.begin() - 1);
    return std::string_view(textBlocks_[block])
        .substr(entry.at[key] - textStarts_[block], entry.length[key]);
}

std::uint32_t JsonNodes::Object(std::uint32_t node, std::size_t key) const {
    const auto& entry = (*this)[node];
    return entry.kinds[key] == JsonValueKind::Object ? entry.at[key] : kNoJsonNode;
}

std::uint32_t JsonNodes::AddNode() {
    if ((nodeCount_ & (kNodesPerBlock - 1)) == 0) {
        nodeBlocks_.push_back(std::make_unique<Node[]>(kNodesPerBlock));
    }
    return nodeCount_++;
}

std::string& JsonNodes::TextBlock(std::uint32_t& start) {
    if (textBlocks_.empty() || textBlocks_.back().size() >= kTextBlockBytes) {
        textStarts_.push_back(textBlocks_.empty() ? 0
                                                  : textStarts_.back() + textBlocks_.back().size());
        textBlocks_.emplace_back().reserve(kTextBlockBytes);
    }
    start = static_cast<std::uint32_t>(textStarts_.back() + textBlocks_.back().size());
    return textBlocks_.back();
}

// One pass over the text. The open containers are kept on a stack; each
// says what its values become: a node's values are kept when their key is
// asked for, a node's "children" array makes nodes of its objects, and
// everything inside any other container is only checked.
class JsonNodeReader {
public:
    JsonNodeReader(std::string_view text, std::span<const std::string_view> keys)
        : text_(text), keys_(keys) {}

    std::optional<JsonNodes> Read() {
        if (text_.size() >= std::numeric_limits<std::uint32_t>::max() ||
            keys_.size() > kMaxJsonNodeKeys) {
            return std::nullopt;
        }
        if (text_.starts_with("\xEF\xBB\xBF")) {
            at_ = 3;
        }
        SkipBlanks();
        if (!Eat('{')) {
            return std::nullopt;
        }
        open_.push_back({Container::Node, result_.AddNode()});
        if (!FirstItem()) {
            return std::nullopt;
        }
        while (!open_.empty()) {
            SkipBlanks();
            if (Eat(',')) {
                if (!Item()) {
                    return std::nullopt;
                }
            } else if (Eat(IsObject(open_.back().container) ? '}' : ']')) {
                open_.pop_back();
            } else {
                return std::nullopt;
            }
        }
        SkipBlanks();
        if (at_ != text_.size() && text_[at_] != '\0') {
            return std::nullopt;
        }
        return std::move(result_);
    }

private:
    enum class Container { Node, Children, OtherObject, OtherArray };
    // What a value is read as: the value of asked key `key` of `node`, the
    // node's "children", an entry of its children, or nothing kept.
    enum class Slot { Key, Children, Entry, Ignored };
    static constexpr std::size_t kChildrenKey = kMaxJsonNodeKeys;
    static constexpr std::size_t kOtherKey = kMaxJsonNodeKeys + 1;

    struct Open {
        Container container;
        std::uint32_t node;
    };

    static bool IsObject(Container container) {
        return container == Container::Node || container == Container::OtherObject;
    }

    bool AtEnd() const { return at_ >= text_.size(); }

    bool Eat(char c) {
        if (!AtEnd() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    // Which bytes are blanks between tokens, and which stand for themselves
    // in a string (printable ASCII but the quote and the backslash): files
    // are mostly made of both, so each is told by one look-up.
    static constexpr std::array<bool, 256> kBlank = [] {
        std::array<bool, 256> blank{};
        for (unsigned char c : {' ', '\t', '\n', '\r'}) {
            blank[c] = true;
        }
        return blank;
    }();
    static constexpr std::array<bool, 256> kPlain = [] {
        std::array<bool, 256> plain{};
        for (int c = 0x20; c < 0x80; ++c) {
            plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
        }
        return plain;
    }();

    void SkipBlanks() {
        while (!AtEnd() && kBlank[static_cast<unsigned char>(text_[at_])]) {
            ++at_;
        }
    }

    // The innermost container's first item, or its end.
    bool FirstItem() {
        SkipBlanks();
        if (Eat(IsObject(open_.back().container) ? '}' : ']')) {
            open_.pop_back();
            return true;
        }
        return Item();
    }

    // One item of the innermost container: a key and its value in an
    // object, a value in an array. A container value is opened, and its
    // first item read in the same loop.
    bool Item() {
        while (true) {
            auto [container, node] = open_.back();
            Slot slot = Slot::Ignored;
            std::size_t key = 0;
            if (IsObject(container)) {
                SkipBlanks();
                std::string_view name;
                if (!Key(name)) {
                    return false;
                }
                SkipBlanks();
                if (!Eat(':')) {
                    return false;
                }
                if (container == Container::Node) {
                    key = KeyIndex(name);
                    slot = key == kChildrenKey ? Slot::Children
                           : key == kOtherKey  ? Slot::Ignored
                                               : Slot::Key;
                }
            } else if (container == Container::Children) {
                slot = Slot::Entry;
            }
            SkipBlanks();
            if (AtEnd()) {
                return false;
            }
            if (slot == Slot::Children) {
                auto& parent = result_.At(node);
                parent.firstChild = parent.lastChild = kNoJsonNode;
                parent.hasChildren = text_[at_] == '[';
            }
            char c = text_[at_];
            if (c == '{' || c == '[') {
                ++at_;
                open_.push_back(Opened(c == '{', slot, node, key));
                SkipBlanks();
                if (Eat(c == '{' ? '}' : ']')) {
                    open_.pop_back();
                    return true;
                }
                continue;
            }
            return Scalar(slot, node, key);
        }
    }

    std::size_t KeyIndex(std::string_view key) const {
        if (key == "children") {
            return kChildrenKey;
        }
        for (std::size_t n = 0; n < keys_.size(); ++n) {
            if (keys_[n] == key) {
                return n;
            }
        }
        return kOtherKey;
    }

    // The container a value opens, with the node it makes, if any.
    Open Opened(bool object, Slot slot, std::uint32_t node, std::size_t key) {
        bool makesNode = object && (slot == Slot::Entry || slot == Slot::Key);
        if (!makesNode) {
            if (slot == Slot::Key) {
                result_.At(node).kinds[key] = JsonValueKind::Other;
            }
            if (object) {
                return {Container::OtherObject, node};
            }
            return {slot == Slot::Children ? Container::Children : Container::OtherArray, node};
        }
        auto made = result_.AddNode();
        auto& parent = result_.At(node);
        if (slot == Slot::Key) {
            parent.kinds[key] = JsonValueKind::Object;
            parent.at[key] = made;
        } else if (parent.lastChild == kNoJsonNode) {
            parent.firstChild = parent.lastChild = made;
        } else {
            result_.At(parent.lastChild).nextSibling = made;
            parent.lastChild = made;
        }
        return {Container::Node, made};
    }

    bool Scalar(Slot slot, std::uint32_t node, std::size_t key) {
        bool kept = slot == Slot::Key;
        std::uint32_t start = 0;
        std::string* block = kept ? &result_.TextBlock(start) : nullptr;
        auto blockSize = kept ? block->size() : 0;
        auto kind = JsonValueKind::Other;
        char c = text_[at_];
        if (c == '"') {
            kind = JsonValueKind::String;
            if (!String(block)) {
                return false;
            }
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            kind = JsonValueKind::Number;
            auto from = at_;
            if (!Number()) {
                return false;
            }
            if (kept) {
                block->append(text_.substr(from, at_ - from));
            }
        } else if (!Literal("true") && !Literal("false") && !Literal("null")) {
            return false;
        }
        if (kept) {
            auto& entry = result_.At(node);
            entry.kinds[key] = kind;
            entry.at[key] = start;
            entry.length[key] = static_cast<std::uint32_t>(block->size() - blockSize);
        }
        return true;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    bool Digits() {
        auto from = at_;
        while (!AtEnd() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ > from;
    }

    // A number of JSON's grammar; one whose value a double cannot hold
    // (1e400) is refused, as a browser's parser refuses it.
    bool Number() {
        auto from = at_;
        Eat('-');
        if (Eat('0')) {
            if (!AtEnd() && text_[at_] >= '0' && text_[at_] <= '9') {
                return false;
            }
        } else if (!Digits()) {
            return false;
        }
        bool integer = true;
        if (Eat('.')) {
            integer = false;
            if (!Digits()) {
                return false;
            }
        }
        if (Eat('e') || Eat('E')) {
            integer = false;
            if (!Eat('+')) {
                Eat('-');
            }
            if (!Digits()) {
                return false;
            }
        }
        auto number = text_.substr(from, at_ - from);
        if (integer && number.size() <= 18) {
            return true;
        }
        return FitsADouble(number);
    }

    // Whether the number's magnitude is below a double's largest: a number
    // too small for one becomes 0 and is taken.
    static bool FitsADouble(std::string_view number) {
        double value = 0;
        auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc::result_out_of_range) {
            return true;
        }
        // Out of range either way: the decimal exponent of the first
        // significant digit tells which.
        auto digits = number.substr(number.starts_with('-') ? 1 : 0);
        auto exponentAt = digits.find_first_of("eE");
        long long exponent = 0;
        if (exponentAt != std::string_view::npos) {
            auto text = digits.substr(exponentAt + 1);
            if (text.starts_with('+')) {
                text.remove_prefix(1);
            }
            std::from_chars(text.data(), text.data() + text.size(), exponent);
            if (text.size() > 18) {
                exponent = text.starts_with('-') ? -(1LL << 62) : (1LL << 62);
            }
            digits = digits.substr(0, exponentAt);
        }
        auto point = digits.find('.');
        auto whole = digits.substr(0, point);
        auto firstWhole = whole.find_first_not_of('0');
        if (firstWhole != std::string_view::npos) {
            return exponent + static_cast<long long>(whole.size() - firstWhole) - 1 < 0;
        }
        return true;
    }

    // Four hexadecimal digits after "\u".
    bool Hex4(std::uint32_t& value) {
        if (text_.size() - at_ < 4) {
            return false;
        }
        value = 0;
        for (int n = 0; n < 4; ++n) {
            char c = text_[at_++];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) {
                return false;
            }
            value = value << 4 | static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    static void AppendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // The escape after a backslash, appended decoded to out when given.
    bool Escape(std::string* out) {
        if (AtEnd()) {
            return false;
        }
        char c = text_[at_++];
        char plain = 0;
        switch (c) {
        case '"':
        case '\\':
        case '/':
            plain = c;
            break;
        case 'b':
            plain = '\b';
            break;
        case 'f':
            plain = '\f';
            break;
        case 'n':
            plain = '\n';
            break;
        case 'r':
            plain = '\r';
            break;
        case 't':
            plain = '\t';
            break;
        case 'u':
            break;
        default:
            return false;
        }
        if (plain != 0) {
            if (out != nullptr) {
                *out += plain;
            }
            return true;
        }
        std::uint32_t code = 0;
        if (!Hex4(code) || (code >= 0xDC00 && code <= 0xDFFF)) {
            return false;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        if (out != nullptr) {
            AppendUtf8(*out, code);
        }
        return true;
    }

    // One UTF-8 sequence of two to four bytes, its lead byte at at_, as RFC
    // 3629 allows them: no overlong forms, no surrogates, nothing above
    // U+10FFFF.
    bool Utf8Sequence() {
        auto byte = [&](std::size_t n) { return static_cast<unsigned char>(text_[at_ + n]); };
        unsigned char lead = byte(0);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text_.size() - at_ < length || byte(1) < low || byte(1) > high) {
            return false;
        }
        for (std::size_t n = 2; n < length; ++n) {
            if (byte(n) < 0x80 || byte(n) > 0xBF) {
                return false;
            }
        }
        at_ += length;
        return true;
    }

    // A key: the string as it stands in the text, or decoded when it holds
    // escapes.
    bool Key(std::string_view& name) {
        auto from = at_;
        if (!String(nullptr)) {
            return false;
        }
        name = text_.substr(from + 1, at_ - from - 2);
        if (name.find('\\') != std::string_view::npos) {
            key_.clear();
            at_ = from;
            String(&key_);
            name = key_;
        }
        return true;
    }

    // A string from its opening quote, appended decoded to out when given.
    bool String(std::string* out) {
        if (!Eat('"')) {
            return false;
        }
        auto from = at_;
        while (!AtEnd()) {
            auto c = static_cast<unsigned char>(text_[at_]);
            if (kPlain[c]) {
                ++at_;
            } else if (c == '"' || c == '\\') {
                if (out != nullptr) {
                    out->append(text_.substr(from, at_ - from));
                }
                ++at_;
                if (c == '"') {
                    return true;
                }
                if (!Escape(out)) {
                    return false;
                }
                from = at_;
            } else if (c < 0x20) {
                return false;
            } else if (!Utf8Sequence()) {
                return false;
            }
        }
        return false;
    }

    std::string_view text_;
    std::span<const std::string_view> keys_;
    std::size_t at_ = 0;
    std::vector<Open> open_;
    std::string key_;
    JsonNodes result_;
};

std::optional<JsonNodes> ReadJsonNodes(std::string_view text,
                                       std::span<const std::string_view> keys) {
    return JsonNodeReader(text, keys).Read();
}

} // namespace tellavin
