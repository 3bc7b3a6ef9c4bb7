// The command line's --folder and --match: what tree shows, what convert
// writes, and the refusals.
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

constexpr const char* kSource = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
    <DT><A HREF="http://home.example/">Home wiki</A>
    <DT><H3>News</H3>
    <DL><p>
        <DT><A HREF="https://www.lemonde.fr/">Le Monde</A>
        <DT><A HREF="https://wiki.news.example/">Local news</A>
        <DT><H3>Tech</H3>
        <DL><p>
            <DT><A HREF="https://en.wikipedia.org/">Encyclopédie</A>
            <DT><A HREF="https://slashdot.org/">Slashdot</A>
            <DT><H3>Wikis</H3>
            <DL><p>
                <DT><A HREF="https://fandom.example/">Fandom</A>
            </DL><p>
        </DL><p>
    </DL><p>
    <DT><H3>Café</H3>
    <DL><p>
        <DT><A HREF="https://cafe.example/">Crème WIKI</A>
    </DL><p>
</DL><p>
)";

class CliChoice : public ::testing::Test {
protected:
    CliChoice() { test::WriteFile(dir_.path() / "source.html", kSource); }

    std::string Source() const { return "'" + (dir_ / "source.html") + "'"; }
    std::string Target() const { return "'netscape:" + (dir_ / "chosen.html") + "'"; }

    // The exit status, standard output and standard error of one run.
    static std::string RunText(const test::CliRun& run) {
        return std::to_string(run.status) + "\n" + run.out + "--\n" + run.err;
    }

    test::TempDir dir_;
};

TEST_F(CliChoice, TreeShowsWhatTheFoldersAndTheMatchChoose) {
    const auto source = dir_ / "source.html";
    const std::pair<std::string, std::string> cases[] = {
        {"--match WIKI", "0\nBookmarks/\n  Home wiki  <http://home.example/>\n  Café/\n"
                         "    Crème WIKI  <https://cafe.example/>\n  News/\n"
                         "    Local news  <https://wiki.news.example/>\n    Tech/\n"
                         "      Encyclopédie  <https://en.wikipedia.org/>\n      Wikis/\n"
                         "        Fandom  <https://fandom.example/>\n--\n"},
        {"--folder News/Tech",
         "0\nBookmarks/\n  Tech/\n    Encyclopédie  <https://en.wikipedia.org/>\n"
         "    Slashdot  <https://slashdot.org/>\n    Wikis/\n"
         "      Fandom  <https://fandom.example/>\n--\n"},
        {"--folder Café --folder /News/Tech/Wikis/ --match creme",
         "0\nBookmarks/\n  Café/\n    Crème WIKI  <https://cafe.example/>\n--\n"},
        {"--folder News/Sport",
         "2\n--\ntellavin-cli: " + source + ": holds no folder \"News/Sport\"\n"},
        {"--folder News --match gopher",
         "1\n--\ntellavin-cli: " + source + ": no folder or link holds \"gopher\"\n"},
    };
    for (const auto& [options, expected] : cases) {
        SCOPED_TRACE(options);
        EXPECT_EQ(RunText(test::RunCliHere("tree " + Source() + " " + options)), expected);
    }
}

TEST_F(CliChoice, ConvertWritesOnlyTheMatchesInsideTheFolder) {
    auto run = test::RunCliHere("convert " + Source() + " " + Target() +
                                " --folder News/Tech --match wiki --profile Ann");
    EXPECT_EQ(RunText(run), "0\n2 Folders & 2 Links Exported Successfully.\n--\n");
    EXPECT_EQ(test::ReadFile(dir_.path() / "chosen.html"),
              "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
              "<!-- This is an automatically generated file (by TL).\r\n"
              "It will be read and overwritten.\r\n"
              "Do Not Edit! -->\r\n"
              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
              "<TITLE>Bookmarks for Ann</TITLE>\r\n"
              "<H1>Bookmarks for Ann</H1>\r\n"
              "\r\n"
              "<DL><p>\r\n"
              "<DT><H3 FOLDED ADD_DATE=\"\">Tech</H3>\r\n"
              "<DL><p>\r\n"
              "    <DT><H3 FOLDED ADD_DATE=\"\">Wikis</H3>\r\n"
              "    <DL><p>\r\n"
              "        <DT><A HREF=\"https://fandom.example/\">Fandom</A>\r\n"
              "    </DL><p>\r\n"
              "    <DT><A HREF=\"https://en.wikipedia.org/\">Encyclopédie</A>\r\n"
              "</DL><p>\r\n"
              "</DL><p>\r\n");
}

TEST_F(CliChoice, AFolderTheSourceDoesNotHoldIsRefusedAndNothingIsWritten) {
    const auto menu = "'" + (dir_ / "menu.html") + "'";
    for (const auto& command :
         {"convert " + Source() + " " + Target(), "menu " + Source() + " " + menu}) {
        SCOPED_TRACE(command);
        auto run = test::RunCliHere(command + " --folder Tech --match wiki");
        EXPECT_EQ(RunText(run), "2\n--\ntellavin-cli: " + (dir_ / "source.html") +
                                    ": holds no folder \"Tech\"\n");
    }
    std::string files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        files += entry.path().filename().string() + " ";
    }
    EXPECT_EQ(files, "source.html ");
}

} // namespace
} // namespace tellavin
