#pragma once

#include "model/progress.h"
#include "model/user_message.h"

#include <ostream>
#include <string>

namespace tellavin {

// How a test failure shows a message: its title and lines on one line.
inline std::ostream& operator<<(std::ostream& out, const UserMessage& message) {
    out << message.title;
    for (const auto& line : message.lines) {
        out << " | " << line;
    }
    return out;
}

namespace test {

// A message's lines joined by line feeds, for tests that look for a path
// or a reason in it.
inline std::string MessageText(const UserMessage& message) {
    std::string text;
    for (const auto& line : message.lines) {
        text += text.empty() ? line : "\n" + line;
    }
    return text;
}

// A sink for writers whose progress a test does not look at.
inline ProgressSink& NoProgress() {
    static NullProgress progress;
    return progress;
}

} // namespace test
} // namespace tellavin
