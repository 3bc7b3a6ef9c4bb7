#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// The items of a location drop-down and of the saved location lists: a
// store file's bare path, or a labelled one ("<" + profile name + "> " +
// path) for a store found in a browser profile.

// The labelled item of a store file: "<" + name + "> " + path.
std::string LabelledLocation(std::string_view name, std::string_view path);

// The path of an item: for a labelled item (one that begins with "<" and
// holds a ">") the text after the ">" that ends the label and the blank
// after it, else the whole text. The label ends at its last "> " (its last
// ">" when no blank follows any), so a bare path, or the path of a labelled
// item, may itself contain ">" where the file system allows it.
std::string LocationPath(std::string_view item);

// The label of a labelled item (the text between its "<" and the ">" that
// ends the label), empty for a bare path.
std::string LocationLabel(std::string_view item);

} // namespace tellavin
