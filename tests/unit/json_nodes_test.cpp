// The streaming JSON reader behind the browsers' JSON bookmark files: it
// takes exactly the documents a JSON parser takes (nlohmann-json, which the
// browsers' files were read with before, is the judge), and keeps of each
// node the asked values and its children.
#include "sources/json_nodes.h"

#include <array>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace tellavin {
namespace {

constexpr std::array<std::string_view, 3> kKeys{"name", "url", "roots"};

// Whether a JSON parser takes the text as a document holding an object.
bool ParserTakesAnObject(const std::string& text) {
    auto document = nlohmann::json::parse(text, nullptr, false);
    return !document.is_discarded() && document.is_object();
}

TEST(JsonNodes, DocumentsAreTakenExactlyWhenAJsonParserTakesThem) {
    const std::string texts[] = {
        "{}",
        " \r\n{\"a\":1}\t",
        "\xEF\xBB\xBF{}",
        "\xEF\xBB{}",
        "{",
        "{}x",
        "{} {}",
        "[]",
        "\"text\"",
        "{\"a\":}",
        "{\"a\" 1}",
        "{\"a\":1,}",
        "{,}",
        "{\"a\":[1,]}",
        "{\"a\":[,1]}",
        "{\"a\":1 2}",
        "{'a':1}",
        std::string("{}\0", 3),
        std::string("{} \0\0x}", 6),
        std::string("{\0}", 3),
        "{\"a\":01}",
        "{\"a\":-}",
        "{\"a\":1.}",
        "{\"a\":.5}",
        "{\"a\":1e}",
        "{\"a\":1e+5}",
        "{\"a\":-0.5E-3}",
        "{\"a\":1e400}",
        "{\"a\":-1e400}",
        "{\"a\":1e-400}",
        "{\"a\":0.0000001e308}",
        "{\"a\":123456789012345678901234567890}",
        "{\"a\":1" + std::string(400, '0') + "}",
        "{\"a\":0." + std::string(400, '0') + "1}",
        "{\"a\":tru}",
        "{\"a\":nul}",
        "{\"a\":true,\"b\":false,\"c\":null}",
        "{\"a\":\"\\x\"}",
        "{\"a\":\"\\u12\"}",
        "{\"a\":\"\\u00e9\\/\\b\\f\\n\\r\\t\\\"\\\\\"}",
        "{\"a\":\"\\uD83D\\uDE00\"}",
        "{\"a\":\"\\uD83D\"}",
        "{\"a\":\"\\uDE00\"}",
        "{\"a\":\"\\uD83Dx\"}",
        "{\"a\":\"\\uD83D\\u0041\"}",
        "{\"a\":\"tab\there\"}",
        "{\"a\":\"\x7F\"}",
        "{\"a\":\"\xC3\xA9\"}",
        "{\"a\":\"\xC3\"}",
        "{\"a\":\"\xC0\x80\"}",
        "{\"a\":\"\xED\xA0\x80\"}",
        "{\"a\":\"\xF4\x90\x80\x80\"}",
        "{\"a\":\"\xF0\x9F\x98\x80\"}",
        "{\"a\":\"\xE0\x80\xAF\"}",
        "{\"a\":\"\xFF\"}",
        "{\"a\":\"\x80\"}",
        "{\"\xC3\xA9\":1}",
        "{\"a\" : [ { } , [ ] , { \"b\" : [ ] } ] }",
        "{\"a\":\"x\"\"y\"}",
        "{\"children\":[{\"name\":\"x\"},1,[{}],\"y\"]}",
        "{\"children\":[{\"name\":}]}",
        "{\"roots\":{\"children\":[}}",
        "{\"name\":\"unterminated}",
    };
    for (const auto& text : texts) {
        EXPECT_EQ(ReadJsonNodes(text, kKeys).has_value(), ParserTakesAnObject(text)) << text;
    }
}

// A node as "{key=value ... children[node ...]}": strings quoted, numbers
// as written, another value as "?".
std::string NodeText(const JsonNodes& nodes, std::uint32_t node) {
    std::string text = "{";
    for (std::size_t key = 0; key < kKeys.size(); ++key) {
        switch (nodes.KindOf(node, key)) {
        case JsonValueKind::Missing:
            continue;
        case JsonValueKind::String:
            text += std::string(kKeys[key]) + "=\"" + std::string(nodes.Text(node, key)) + "\" ";
            break;
        case JsonValueKind::Number:
            text += std::string(kKeys[key]) + "=" + std::string(nodes.Text(node, key)) + " ";
            break;
        case JsonValueKind::Object:
            text += std::string(kKeys[key]) + "=" + NodeText(nodes, nodes.Object(node, key)) + " ";
            break;
        case JsonValueKind::Other:
            text += std::string(kKeys[key]) + "=? ";
            break;
        }
    }
    if (nodes[node].hasChildren) {
        text += "children[";
        for (auto child = nodes[node].firstChild; child != kNoJsonNode;
             child = nodes[child].nextSibling) {
            text += NodeText(nodes, child);
        }
        text += "]";
    }
    return text + "}";
}

TEST(JsonNodes, EachNodeKeepsTheLastValueOfEachAskedKeyAndItsChildren) {
    const std::pair<std::string, std::string> cases[] = {
        // Escapes decoded; numbers as written; other values marked.
        {R"({"name":"a\u00e9\n\"b\"","url":-1.5e3,"roots":[1]})",
         "{name=\"a\xC3\xA9\n\"b\"\" url=-1.5e3 roots=? }"},
        // The last of a key given twice counts, "children" included.
        {R"({"name":"first","name":"last","children":[{}],"children":[{"url":"u"}]})",
         "{name=\"last\" children[{url=\"u\" }]}"},
        {R"({"children":[{"name":"gone"}],"children":null})", "{}"},
        {R"({"children":[{"name":"a"}],"children":{"name":"b"}})", "{}"},
        // Only objects in a children array are nodes; values under other
        // keys, nested objects included, are dropped.
        {R"({"children":[1,"x",[{"name":"in an array"}],{"name":"node","meta":{"name":"no"}}]})",
         "{children[{name=\"node\" }]}"},
        // An object under an asked key is a node of its own.
        {R"({"roots":{"name":"bar","children":[{"name":"a"},{"children":[]}]},"version":1})",
         "{roots={name=\"bar\" children[{name=\"a\" }{children[]}]} }"},
        {"\xEF\xBB\xBF {\"name\" : \"\\uD83D\\uDE00\" }", "{name=\"\xF0\x9F\x98\x80\" }"},
    };
    for (const auto& [text, expected] : cases) {
        auto nodes = ReadJsonNodes(text, kKeys);
        ASSERT_TRUE(nodes) << text;
        EXPECT_EQ(NodeText(*nodes, 0), expected) << text;
    }
}

} // namespace
} // namespace tellavin
