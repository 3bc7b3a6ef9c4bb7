#include "targets/chromium_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <utf8.h>

namespace tellavin {

namespace {

#if defined(_WIN32)
constexpr std::string_view kLineEnd = "\r\n";
#else
constexpr std::string_view kLineEnd = "\n";
#endif

void AppendEscaped(std::string& out, const std::string& text) {
    auto valid = utf8::replace_invalid(text);
    out += '"';
    for (auto at = valid.begin(); at != valid.end();) {
        auto start = at;
        auto point = utf8::unchecked::next(at);
        switch (point) {
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '<':
            out += "\\u003C";
            break;
        case 0x2028:
            out += "\\u2028";
            break;
        case 0x2029:
            out += "\\u2029";
            break;
        default:
            if (point < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(point));
                out += escape;
            } else {
                out.append(start, at);
            }
        }
    }
    out += '"';
}

void Indent(std::string& out, std::size_t depth) {
    out.append(3 * depth, ' ');
}

// Arrays and objects nest as deep as the document does: the browser's own
// reader refuses documents nested beyond a few hundred levels, and so does
// the parser that made the value, so recursion stays shallow.
void AppendValue(std::string& out, const nlohmann::json& value, std::size_t depth) {
    switch (value.type()) {
    case nlohmann::json::value_t::object: {
        out += '{';
        out += kLineEnd;
        bool first = true;
        for (const auto& [name, member] : value.items()) {
            if (!first) {
                out += ',';
                out += kLineEnd;
            }
            first = false;
            Indent(out, depth + 1);
            AppendEscaped(out, name);
            out += ": ";
            AppendValue(out, member, depth + 1);
        }
        if (!first) {
            out += kLineEnd;
        }
        Indent(out, depth);
        out += '}';
        break;
    }
    case nlohmann::json::value_t::array: {
        out += "[ ";
        bool first = true;
        for (const auto& element : value) {
            if (!first) {
                out += ", ";
            }
            first = false;
            AppendValue(out, element, depth);
        }
        out += " ]";
        break;
    }
    case nlohmann::json::value_t::string:
        AppendEscaped(out, value.get_ref<const std::string&>());
        break;
    default:
        out += value.dump();
    }
}

} // namespace

std::string ChromiumJsonText(const nlohmann::json& document) {
    std::string out;
    AppendValue(out, document, 0);
    out += kLineEnd;
    return out;
}

} // namespace tellavin
