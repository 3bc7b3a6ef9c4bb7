// XBEL files of our own, each read as one whole tree with what reading
// left out, and the dates XBEL writes.
#include "sources/source_loader.h"
#include "sources/xbel_reader.h"
#include "support/canonical_tree.h"
#include "support/loaded_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tellavin {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(TELLAVIN_TEST_DATA) + "/xbel/" + name;
}

struct FixtureCase {
    const char* file;
    std::string expected;
};

TEST(XbelReader, EachFixtureReadsAsOneWholeTree) {
    const FixtureCase cases[] = {
        // Every element: the alias copies the bookmark it names, an alias of
        // a folder and an unknown element are skipped, a bookmark without
        // href has no usable address, and an impossible date is none.
        {"every-element.xbel",
         "My links root[ Top & <more>=http://top.example/?a=1&b=2{1577934245/1623046150}"
         "<d:A description> --- Work{1557014400/0}<d:Folder notes>[ W <raw> and "
         "text=http://w.example/ Deep[ Top & <more>=http://top.example/?a=1&b=2"
         "{1577934245/1623046150}<d:A description> ] ] Empty[ ] "
         "=http://untitled.example/{0/946598400} ]\n"
         "Links without a usable address skipped: 1 (No address)\n"
         "Entries of an unknown kind or place skipped: 3 (My links, alias, unknown-thing)\n"
         "Aliases read as copies of their link: 1 (Top & <more>)"},
        // Neither the external entities nor the internal one are expanded:
        // the references stay as written and nothing is fetched.
        {"external-entity.xbel", "Bookmarks root[ &secret; &inner; &=http://a.example/&remote; ]"},
        // KDE's namespaces, no version, a bare document type, and each
        // bookmark's metadata skipped.
        {"kde-metadata-namespaces.xbel",
         "Bookmarks root[ One=http://one.example/ Two=http://two.example/ ]\n"
         "Entries of an unknown kind or place skipped: 2 (One, Two)"},
        // Floccus: a comment opened with three dashes and ids out of order.
        {"floccus-comment-ids.xbel",
         "Bookmarks root[ Tools · Linux[ Search – fast=http://search.example/?q=a&lang=en "
         "Inner[ Inner link=http://inner.example/ ] ] Last=http://last.example/ ]"},
        {"unclosed-folder.xbel",
         "unreadable: not an XBEL file: Start-end tags mismatch at byte 72"},
        {"not-xbel-top.xml", "unreadable: not an XBEL file: its top element is not xbel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(test::LoadedStoreText({StoreKind::Xbel, Fixture(c.file)}), c.expected);
    }
}

TEST(XbelReader, TitlesInOtherEncodingsBecomeUtf8AndANulEndsAText) {
    test::TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {"<xbel><bookmark href=\"http://a/\"><title>Caf\xE9</title></bookmark></xbel>",
         "Bookmarks root[ Café=http://a/ ]"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><xbel><folder><title>\xC4pfel</title>"
         "</folder></xbel>",
         "Bookmarks root[ Äpfel[ ] ]"},
        {"<xbel><bookmark href=\"http://a/&#0;b\"><title>x&#0;y</title></bookmark></xbel>",
         "Bookmarks root[ x=http://a/ ]"},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        test::WriteFile(dir.path() / "f.xbel", bytes);
        EXPECT_EQ(test::LoadedStoreText({StoreKind::Xbel, dir / "f.xbel"}), expected);
    }
}

TEST(XbelReader, DatesInEveryFormXbelWritersUse) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"2020-01-02", 1577923200},
        {"2020-01-02T03:04:05Z", 1577934245},
        {"2020-01-02T03:04:05", 1577934245},
        {"2020-01-02T03:04:05.123456Z", 1577934245},
        {"2020-01-02T03:04:05+01:30", 1577928845},
        {"2020-01-02T03:04:05-0100", 1577937845},
        {"2024-02-29T00:00:00Z", 1709164800},
        {"1969-12-31T23:59:59Z", -1},
        {"2023-02-29", std::nullopt},
        {"2020-13-01", std::nullopt},
        {"2020-01-02T24:00:00Z", std::nullopt},
        {"2020-01-02 03:04:05", std::nullopt},
        {"2020-01-02T03:04:05.Z", std::nullopt},
        {"2020-01-02T03:04:05+1", std::nullopt},
        {"1577934245", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(detail::XbelDateSeconds(text), seconds) << text;
    }
}

// Every file of the shared corpus reads with the counts its listing gives,
// and what reading left out.
TEST(XbelCorpus, EveryFileReadsWithItsCounts) {
    if (test::CorpusDir().empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    const std::pair<const char*, std::string> cases[] = {
        {"konqueror-kde4-rekonq-default.xml", "0 folders, 6 links\n"
                                              "Entries of an unknown kind or place skipped: 6 (Qt "
                                              "site, WebKit.org, rekonq site, ...)\n"},
        {"floccus-pyxml-doctype-nested.xbel", "25 folders, 134 links\n"},
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file);
        StoreLocation source{StoreKind::Xbel, (test::CorpusDir() / "xbel" / file).string()};
        BookmarkTree tree;
        ASSERT_TRUE(LoadSourceTree(source, tree));
        auto text = test::ExportedCountText(tree);
        for (const auto& line : tree.ReadLosses.Lines()) {
            text += line + "\n";
        }
        EXPECT_EQ(text, expected);
    }
}

} // namespace
} // namespace tellavin
