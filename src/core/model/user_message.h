#pragma once

#include <string>
#include <vector>

namespace tellavin {

// The icon of a message box: exclamation for refusals and warnings,
// information for results, critical stop for a failed write.
enum class MessageIcon { Exclamation, Information, Critical };

// A message for the user, which core hands to the window (a message box)
// or the command line (printed) instead of showing it.
struct UserMessage {
    std::string title;
    std::vector<std::string> lines;
    MessageIcon icon = MessageIcon::Exclamation;
};

} // namespace tellavin
