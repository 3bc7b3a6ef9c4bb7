#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace tellavin::test {

// A profile fixture of tests/data/browsers/chromium copied to
// userData/Default, the profile folder returned; "empty" makes the folder
// alone.
std::string CopyChromiumProfile(const std::string& fixture, const std::filesystem::path& userData);

// A Chromium bookmarks file read back as its root's text and the whole tree
// in stored order with folder dates and what links carry (OrderedTreeText
// with details), or the reader's reason.
std::string ChromiumTreeText(const std::string& file);

// Checks what an export into a bookmarks file must keep: every node of
// before except the root that received the export is the same JSON value in
// after, that root keeps its members and its children come first; the new
// nodes' ids lie above every id of before and repeat none, their GUIDs are
// version-4 ones and repeat none; the stored checksum is the file's, and
// the file is laid out as ChromiumJsonText lays it out.
void ExpectExportKept(const nlohmann::json& before, const std::string& afterText,
                      const std::string& root);

} // namespace tellavin::test
