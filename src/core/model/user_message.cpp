#include "model/user_message.h"

namespace tellavin {

std::string UserMessage::Text() const {
    std::string text;
    for (const auto& line : lines) {
        if (&line != &lines.front()) {
            text += "\r\n";
        }
        text += line;
    }
    return text;
}

} // namespace tellavin
