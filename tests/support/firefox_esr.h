#pragma once

#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin::test {

// Debian's Firefox ESR, which the tests that start it skip without.
inline constexpr const char* kFirefoxEsr = "/usr/bin/firefox-esr";

// Prefs that make Firefox export its database as the profile's
// bookmarks.html at shutdown and, when import is set, import that file at
// start-up.
void WriteFirefoxPrefs(const std::filesystem::path& profile, bool import);

// Runs Firefox headless on the profile, with a page that closes its only
// window so that it quits on its own, at most 150 seconds; false with its
// output when it failed.
::testing::AssertionResult RunFirefoxEsr(const TempDir& dir, const std::filesystem::path& profile);

} // namespace tellavin::test
