// The XBEL writer's whole file for each choice it takes, and its failure.
#include "model/file_tree_builder.h"
#include "sources/xbel_reader.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "targets/xbel_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE xbel PUBLIC \"+//IDN python.org//DTD XML Bookmark Exchange Language 1.0//EN//XML\" "
    "\"http://pyxml.sourceforge.net/topics/dtds/xbel.dtd\">\n"
    "<xbel version=\"1.0\">\n";

BookmarkTree Sample() {
    return test::TreeFromEvents([](BookmarkSink& s) {
        s.BeginFolder("Bar");
        s.MarkToolbarFolder();
        s.AddLink("Zed", "http://z/");
        s.AddSeparator();
        s.AddLink("R&D <\"lab\"> 'x'", "http://x/?a=1&b=\"2\"");
        s.SetLinkDates(1577934245, 0);
        s.EndFolder();
        s.AddLink("Tab\tline\r\nbreak\x01", "http://t/");
        s.SetLinkDates(0, 253402300799);
    });
}

struct WriterCase {
    const char* name;
    WriteOptions options;
    std::string body; // between the head and "</xbel>"
    std::string losses;
};

WriteOptions Options(bool keepOrder, LinksPlacement links, std::optional<std::string> newFolder) {
    WriteOptions options;
    options.keepOrder = keepOrder;
    options.links = links;
    options.newFolder = std::move(newFolder);
    return options;
}

const std::string kTabLink = "  <bookmark href=\"http://t/\" modified=\"9999-12-31T23:59:59Z\">\n"
                             "    <title>Tab&#9;line&#13;&#10;break</title>\n"
                             "  </bookmark>\n";

TEST(XbelWriter, WritesTheWholeFileForEachChoice) {
    const WriterCase cases[] = {
        {"source order with separators", Options(true, LinksPlacement::AfterFolders, {}),
         "  <folder>\n"
         "    <title>Bar</title>\n"
         "    <bookmark href=\"http://z/\">\n"
         "      <title>Zed</title>\n"
         "    </bookmark>\n"
         "    <separator/>\n"
         "    <bookmark href=\"http://x/?a=1&amp;b=&quot;2&quot;\" "
         "added=\"2020-01-02T03:04:05Z\">\n"
         "      <title>R&amp;D &lt;&quot;lab&quot;&gt; &apos;x&apos;</title>\n"
         "    </bookmark>\n"
         "  </folder>\n" +
             kTabLink,
         "Toolbar folders written as ordinary folders: 1 (Bar)\n"},
        {"links first, sorted, in a new folder",
         Options(false, LinksPlacement::BeforeFolders, "New"),
         "  <folder>\n"
         "    <title>New</title>\n" +
             std::string("    <bookmark href=\"http://t/\" modified=\"9999-12-31T23:59:59Z\">\n"
                         "      <title>Tab&#9;line&#13;&#10;break</title>\n"
                         "    </bookmark>\n") +
             "    <folder>\n"
             "      <title>Bar</title>\n"
             "      <bookmark href=\"http://x/?a=1&amp;b=&quot;2&quot;\" "
             "added=\"2020-01-02T03:04:05Z\">\n"
             "        <title>R&amp;D &lt;&quot;lab&quot;&gt; &apos;x&apos;</title>\n"
             "      </bookmark>\n"
             "      <bookmark href=\"http://z/\">\n"
             "        <title>Zed</title>\n"
             "      </bookmark>\n"
             "    </folder>\n"
             "  </folder>\n",
         "Toolbar folders written as ordinary folders: 1 (Bar)\nSeparators dropped: 1 (Bar)\n"},
        {"folders only", Options(false, LinksPlacement::None, {}),
         "  <folder>\n"
         "    <title>Bar</title>\n"
         "  </folder>\n",
         "Toolbar folders written as ordinary folders: 1 (Bar)\nSeparators dropped: 1 (Bar)\n"},
    };
    test::TempDir dir;
    NullProgress progress;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto tree = Sample();
        auto result = WriteXbelFile(tree, dir / "out.xbel", c.options, progress);
        ASSERT_TRUE(result.Complete()) << test::MessageText(result.message);
        std::string losses;
        for (const auto& line : result.losses.Lines()) {
            losses += line + "\n";
        }
        EXPECT_EQ(test::ReadFile(dir.path() / "out.xbel") + losses,
                  kHead + c.body + "</xbel>\n" + c.losses);
    }
}

TEST(XbelWriter, AFailedWriteNamesTheFileAndKeepsTheOldOne) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "target.xbel");
    NullProgress progress;
    auto tree = Sample();
    auto result = WriteXbelFile(tree, dir / "target.xbel", {}, progress);
    EXPECT_FALSE(result.ok);
    auto text = test::MessageText(result.message);
    EXPECT_EQ(text.substr(0, text.find('\n')), kXbelWriteErrorText);
    EXPECT_NE(text.find("target.xbel"), std::string::npos) << text;
    EXPECT_TRUE(fs::is_directory(dir.path() / "target.xbel"));
}

// XML cannot hold most control characters at all: in an address they are
// percent-encoded, so that no link loses its address (one of nothing but
// control characters would read back as none), while names drop them.
TEST(XbelWriter, ControlCharactersInAnAddressArePercentEncoded) {
    test::TempDir dir;
    NullProgress progress;
    auto tree = test::TreeFromEvents([](BookmarkSink& s) {
        s.AddLink("only\x01"
                  "controls",
                  "\x01\x1F");
        s.AddLink("inside", "http://a/\x7F\x02"
                            "b");
    });
    ASSERT_TRUE(WriteXbelFile(tree, dir / "out.xbel", {}, progress).Complete());
    BookmarkTree back;
    FileTreeBuilder builder(back, StoreKind::Netscape);
    ASSERT_EQ(LoadXbelFile(dir / "out.xbel", builder), "");
    builder.Finish();
    EXPECT_EQ(test::OrderedTreeText(back), "root[ inside=http://a/\x7F%02b onlycontrols=%01%1F ]");
}

} // namespace
} // namespace tellavin
