#include "model/conversion_path.h"
#include "model/progress.h"
#include "model/session_state.h"
#include "platform/platform.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace tellavin {
namespace {

TEST(ConversionPath, FoundByItsSourceAndTarget) {
    EXPECT_EQ(ConversionPathFor(StoreKind::Opera, StoreKind::Netscape), 10);
    EXPECT_FALSE(ConversionPathFor(StoreKind::Opera, StoreKind::Opera));
}

TEST(SessionState, ResetKeepsDestinationMenuAndProfile) {
    SessionState state{7, "/fav", "/src.html", "/dest.adr", "/menu.html", "Ann", 12, 34};
    ResetSharedState(state);
    EXPECT_EQ(state.code, 0);
    EXPECT_EQ(state.favoritesFolder, "");
    EXPECT_EQ(state.sourceFile, "");
    EXPECT_EQ(state.nSourceFolders, 0);
    EXPECT_EQ(state.nSourceLinks, 0);
    EXPECT_EQ(state.destinationFile, "/dest.adr");
    EXPECT_EQ(state.menuFile, "/menu.html");
    EXPECT_EQ(state.profileName, "Ann");
}

class RecordingProgress final : public ProgressSink {
public:
    std::vector<std::string> events;
    void SetStatusText(const std::string& text) override { events.push_back("text:" + text); }
    void SetRange(std::int32_t lo, std::int32_t hi) override {
        events.push_back("range:" + std::to_string(lo) + "-" + std::to_string(hi));
    }
    void SetValue(std::int32_t value) override {
        events.push_back("value:" + std::to_string(value));
    }
    void SetVisible(bool visible) override { events.push_back(visible ? "show" : "hide"); }
};

TEST(Progress, StartAndEndWithAndWithoutCountedFolders) {
    RecordingProgress none;
    ProgressStart(none, 0);
    ProgressEnd(none, 0);
    EXPECT_EQ(none.events, (std::vector<std::string>{"text:", "range:0-1", "value:0", "show",
                                                     "value:1", "hide"}));
    RecordingProgress some;
    ProgressStart(some, 25);
    ProgressEnd(some, 25);
    EXPECT_EQ(some.events[1], "range:0-25");
    EXPECT_EQ(some.events[4], "value:25");
}

TEST(PathHelpers, TrailingSeparatorAndNulCut) {
    std::string sep(1, PathSeparator());
    EXPECT_EQ(EnsureTrailingSeparator(sep), sep);
    EXPECT_EQ(EnsureTrailingSeparator(sep + "x"), sep + "x" + sep);
    EXPECT_EQ(EnsureTrailingSeparator(""), sep);
    EXPECT_EQ(StripAtNull(std::string("alice\0\0\0", 8)), "alice");
    EXPECT_EQ(StripAtNull("bob"), "bob");
}

// "~" starts a path in the home folder only when it stands alone or before
// a separator; without a home folder every path stays as typed.
TEST(PathHelpers, HomeExpansionOfALeadingTilde) {
    const std::string sep(1, PathSeparator());
    struct Case {
        std::string typed;
        std::optional<std::string> home;
        std::string expanded;
    };
    const Case cases[] = {
        {"~", "/home/ann", "/home/ann"},
        {"~" + sep + "b.html", "/home/ann", "/home/ann" + sep + "b.html"},
        {"~bob" + sep + "b.html", "/home/ann", "~bob" + sep + "b.html"},
        {"a" + sep + "~" + sep + "b.html", "/home/ann", "a" + sep + "~" + sep + "b.html"},
        {"~" + sep + "b.html", std::nullopt, "~" + sep + "b.html"},
        {"~" + sep + "b.html", "", "~" + sep + "b.html"},
        {"", "/home/ann", ""},
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        if (c.home) {
            platform.folders[SpecialFolder::Home] = *c.home;
        }
        EXPECT_EQ(WithHomeExpanded(c.typed, platform), c.expanded) << c.typed;
    }
}

} // namespace
} // namespace tellavin
