#pragma once

#include "platform/file_name_rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tellavin {

// A name as Windows compares file names: letter case does not count. Names
// that are not valid UTF-8 compare by their bytes, ASCII letters lowered,
// so no two distinct byte sequences fold together.
std::string CaseFoldedName(const std::string& name);

// The stem (the file name before ".URL") a link takes, and whether it got
// a number because an earlier link of the directory took the name.
struct TakenStem {
    std::string stem;
    bool numbered = false;
};

// The link file names one export has given in one directory, so that two
// links whose names come out equal (in any letter case) do not overwrite
// each other.
class LinkStems {
public:
    // The stem for a link named name in the directory folderPath: the name
    // fitted to the rules, numbered "(2)", "(3)"... when an earlier link
    // took it. Nothing when no stem fits.
    std::optional<TakenStem> Take(const std::string& name, FileNameRules rules,
                                  std::string_view folderPath);

private:
    std::unordered_set<std::string> taken_;
    // For each stem taken, the number its next duplicate tries first, so
    // that thousands of names that fit to one stem are numbered in one pass.
    std::unordered_map<std::string, std::int32_t> nextNumber_;
};

} // namespace tellavin
