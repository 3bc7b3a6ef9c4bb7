#include "support/firefox_esr.h"

#include <cstdlib>
#include <string>

namespace tellavin::test {

namespace fs = std::filesystem;

void WriteFirefoxPrefs(const fs::path& profile, bool import) {
    WriteFile(profile / "user.js",
              std::string("user_pref(\"browser.places.importBookmarksHTML\", ") +
                  (import ? "true" : "false") +
                  ");\n"
                  "user_pref(\"browser.bookmarks.autoExportHTML\", true);\n"
                  "user_pref(\"browser.bookmarks.file\", \"" +
                  (profile / "bookmarks.html").string() +
                  "\");\n"
                  "user_pref(\"dom.allow_scripts_to_close_windows\", true);\n"
                  "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                  "user_pref(\"app.update.disabledForTesting\", true);\n"
                  "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n");
}

::testing::AssertionResult RunFirefoxEsr(const TempDir& dir, const fs::path& profile) {
    auto page = dir.path() / "close.html";
    WriteFile(page, "<script>setTimeout(function () { window.close(); }, 6000);</script>\n");
    auto command = "HOME='" + dir.path().string() + "' timeout 150 " + kFirefoxEsr +
                   " --headless --no-remote --profile '" + profile.string() + "' 'file://" +
                   page.string() + "' >'" + (dir / "firefox.log") + "' 2>&1";
    if (std::system(command.c_str()) != 0) {
        return ::testing::AssertionFailure() << ReadFile(dir.path() / "firefox.log");
    }
    return ::testing::AssertionSuccess();
}

} // namespace tellavin::test
