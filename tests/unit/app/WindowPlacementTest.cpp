#include "app/WindowPlacement.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace nelo;

namespace fs = std::filesystem;

namespace {

struct RectRow {
    const char* name;
    PlacementRect rc;
    const char* text;
};

// Each row is written as text and read back as the same rectangle.
const RectRow kRoundTrips[] = {
    {"default", {10, 10, 500, 400}, "0010 0010 0500 0400"},
    {"partly off screen at the top left", {-8, -8, 1032, 776}, "-008 -008 1032 0776"},
    {"lowest four-character value", {-999, -999, 0, 0 + 1}, "-999 -999 0000 0001"},
    {"wider than four characters", {-1280, 12345, -100, 20000}, "-1280 12345 -100 20000"},
    {"far right monitor", {10000, 0, 11920, 1080}, "10000 0000 11920 1080"},
};

TEST(WindowPlacementTest, RectanglesAreWrittenAndReadBack) {
    for (const RectRow& row : kRoundTrips) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatPlacementRect(row.rc), row.text);
        EXPECT_EQ(ParsePlacementRect(row.text), row.rc);
    }
}

TEST(WindowPlacementTest, UnreadableValuesGiveTheDefaultRectangle) {
    const char* kBad[] = {
        "",
        "garbage",
        "0010 0010 0500",
        "0010 0010 0500 0400 0010",
        "0010 0010 0500 04x0",
        "0010 0010 0500 +400",
        "0010 -- 0500 0400",
        "99999999999 0010 0500 0400",
        "0500 0010 0010 0400",  // right left of left
        "0010 0400 0500 0400",  // no height
    };
    for (const char* text : kBad) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParsePlacementRect(text), DefaultPlacementRect());
    }
    EXPECT_EQ(DefaultPlacementRect(), (PlacementRect{10, 10, 500, 400}));
    // Extra blanks between or around the fields do not matter.
    EXPECT_EQ(ParsePlacementRect(" 0010  0020 0500 0400 "), (PlacementRect{10, 20, 500, 400}));
}

TEST(WindowPlacementTest, ShowStatesGiveTheSavedFlagsAndComeBack) {
    const PlacementRect rc{100, 50, 700, 550};
    struct Row {
        const char* name;
        ShowState closed;
        bool restoreToMax;
        bool minimizedState, maximized;
        FirstShow next;
    } kRows[] = {
        {"normal", ShowState::Normal, false, false, false, {ShowState::Normal, true, false}},
        {"maximised", ShowState::Maximized, false, false, true, {ShowState::Maximized, true, true}},
        {"minimised", ShowState::Minimized, false, true, false, {ShowState::Minimized, false, false}},
        {"minimised from maximised", ShowState::Minimized, true, true, true, {ShowState::Minimized, false, true}},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        SavedPlacement saved = PlacementToSave(rc, row.closed, row.restoreToMax);
        EXPECT_EQ(saved.rcNormal, rc);
        EXPECT_EQ(saved.minimizedState, row.minimizedState);
        EXPECT_EQ(saved.maximized, row.maximized);
        EXPECT_EQ(ChooseFirstShow(saved), row.next);
    }
}

TEST(WindowPlacementTest, AFrameComesBackWithItsTitleBarOnAScreen) {
    const PlacementRect primary{0, 0, 1920, 1040};
    const PlacementRect right{1920, 0, 3840, 1040};
    struct Row {
        const char* name;
        PlacementRect saved;
        std::vector<PlacementRect> screens;
        PlacementRect expected;
    } kRows[] = {
        {"on the primary", {10, 10, 500, 400}, {primary}, {10, 10, 500, 400}},
        {"on the second monitor", {2000, 100, 2600, 600}, {primary, right}, {2000, 100, 2600, 600}},
        {"across both monitors", {1700, 100, 2300, 600}, {primary, right}, {1700, 100, 2300, 600}},
        {"left and bottom off, the title bar on", {-300, 700, 500, 1200}, {primary}, {-300, 700, 500, 1200}},
        {"title bar above the top", {-8, -8, 1000, 700}, {primary}, {0, 0, 1008, 708}},
        {"only the top edge shows at the bottom", {100, 1030, 600, 1500}, {primary}, {710, 285, 1210, 755}},
        {"mostly off to the left, enough title bar on", {-500, 100, 100, 600}, {primary}, {-500, 100, 100, 600}},
        {"second monitor unplugged", {2000, 100, 2600, 600}, {primary}, {660, 270, 1260, 770}},
        {"only a sliver shows", {1900, 100, 2500, 600}, {primary}, {660, 270, 1260, 770}},
        {"far away", {-30000, -30000, -29510, -29610}, {primary}, {715, 325, 1205, 715}},
        {"larger than the primary", {5000, 5000, 9000, 8000}, {primary}, {0, 0, 1920, 1040}},
        {"taller than its screen, top off", {100, -200, 700, 1400}, {primary}, {100, 0, 700, 1040}},
        {"primary not at the origin", {-5000, 0, -4500, 400}, {{100, 50, 1380, 1024}}, {490, 337, 990, 737}},
        {"under a panel at the top", {10, 10, 500, 400}, {{0, 32, 1920, 1080}}, {10, 32, 500, 422}},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const PlacementRect fitted = FitToScreens(row.saved, row.screens, row.screens.front());
        EXPECT_EQ(fitted, row.expected);
    }
}

TEST(WindowPlacementTest, ProfileKeepsPlacementAndBars) {
    const fs::path dir = fs::temp_directory_path() / ("nelo-placement-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string path = (dir / "Nelo.conf").string();
    {
        Profile fresh(path);
        EXPECT_EQ(ReadPlacement(fresh), (SavedPlacement{{10, 10, 500, 400}, false, false}));
        EXPECT_EQ(ReadBarVisibility(fresh), (BarVisibility{true, true}));
        EXPECT_TRUE(WritePlacement(fresh, {{-8, -8, 1032, 776}, true, true}));
        EXPECT_TRUE(WriteBarVisibility(fresh, {false, true}));
        EXPECT_EQ(fresh.GetProfileString("Window size", "Rect"), "-008 -008 1032 0776");
        EXPECT_EQ(fresh.GetProfileInt("Window size", "icon", 0), 1);
        EXPECT_EQ(fresh.GetProfileInt("Window size", "max", 0), 1);
    }
    Profile again(path);
    EXPECT_EQ(ReadPlacement(again), (SavedPlacement{{-8, -8, 1032, 776}, true, true}));
    EXPECT_EQ(ReadBarVisibility(again), (BarVisibility{false, true}));
    fs::remove_all(dir);
}

}  // namespace
