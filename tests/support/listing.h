#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tellavin::test {

// Every file and directory below root, relative with "/" between names,
// sorted; directories (and links to them, which are not entered) end in
// "/". Reaches paths of any length, which the C runtime's own listing does
// not on Windows.
std::vector<std::string> Listing(const std::filesystem::path& root);

} // namespace tellavin::test
