#include "platform/platform.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// The desktop's opener is a program found on the PATH; ShellOpen succeeds
// exactly when it ran and took the document.
TEST(ShellOpen, TrueOnlyWhenTheOpenerTookTheDocument) {
    test::TempDir dir;
    for (const auto& [folder, status] : {std::pair{"takes", 0}, std::pair{"refuses", 4}}) {
        auto opener = dir.path() / folder / "xdg-open";
        test::WriteFile(opener, "#!/bin/sh\nexit " + std::to_string(status) + "\n");
        fs::permissions(opener, fs::perms::owner_all);
    }
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    auto openWith = [&](const char* folder) {
        setenv("PATH", (dir.path() / folder).c_str(), 1);
        return SystemPlatform().ShellOpen("https://example.org/", 3);
    };
    EXPECT_TRUE(openWith("takes"));
    EXPECT_FALSE(openWith("refuses"));
    EXPECT_FALSE(openWith("nowhere"));
    setenv("PATH", oldPath.c_str(), 1);
}

} // namespace
} // namespace tellavin
