#include "controls/picker_geometry.h"

#include <gtest/gtest.h>

namespace {

// The cells' table as the process started: copied while the test program starts, before any
// dialog exists.
const std::array<ClientPoint, kCustomColourCount> kCustomCellsAtStart = s_customCells;

TEST(PickerGeometry, MappingsBetweenPositionsAndColourValues) {
    const struct {
        const char* mapping;
        int (*map)(int);
        int argument;
        int expected;
    } cases[] = {
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 0, 0},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 79, 99},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 95, 119},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 174, 218},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 190, 239},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, -5, 0},
        {"HueFromCrossX", [](int v) { return int{HueFromCrossX(v)}; }, 1000, 239},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 0, 240},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 19, 216},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 95, 120},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 189, 1},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 190, 0},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, -1, 240},
        {"SatFromCrossY", [](int v) { return int{SatFromCrossY(v)}; }, 191, 0},
        {"CrossXFromHue", [](int v) { return CrossXFromHue(static_cast<std::uint8_t>(v)); }, 0, 0},
        {"CrossXFromHue", [](int v) { return CrossXFromHue(static_cast<std::uint8_t>(v)); }, 100,
         79},
        {"CrossXFromHue", [](int v) { return CrossXFromHue(static_cast<std::uint8_t>(v)); }, 220,
         174},
        {"CrossXFromHue", [](int v) { return CrossXFromHue(static_cast<std::uint8_t>(v)); }, 239,
         190},
        {"CrossXFromHue", [](int v) { return CrossXFromHue(static_cast<std::uint8_t>(v)); }, 255,
         190},
        {"CrossYFromSat", [](int v) { return CrossYFromSat(static_cast<std::uint8_t>(v)); }, 24,
         171},
        {"CrossYFromSat", [](int v) { return CrossYFromSat(static_cast<std::uint8_t>(v)); }, 240,
         0},
        {"CrossYFromSat", [](int v) { return CrossYFromSat(static_cast<std::uint8_t>(v)); }, 0,
         190},
        {"CrossYFromSat", [](int v) { return CrossYFromSat(static_cast<std::uint8_t>(v)); }, 120,
         95},
        {"CrossYFromSat", [](int v) { return CrossYFromSat(static_cast<std::uint8_t>(v)); }, 255,
         0},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 13, 240},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 14, 239},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 108, 120},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 202, 2},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 203, 0},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 5, 240},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, 250, 0},
        {"LumFromBarY", [](int v) { return int{LumFromBarY(v)}; }, -100000, 240},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 0,
         204},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 1,
         203},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 120,
         109},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 239,
         14},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 240,
         14},
        {"MarkerYFromLum", [](int v) { return MarkerYFromLum(static_cast<std::uint8_t>(v)); }, 255,
         14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mapping << "(" << c.argument << ")");
        EXPECT_EQ(c.map(c.argument), c.expected);
    }
}

TEST(PickerGeometry, EveryCrossHairPositionMapsIntoRange) {
    for (int v = -3; v <= 193; ++v) {
        SCOPED_TRACE(v);
        EXPECT_LE(HueFromCrossX(v), 239);
        EXPECT_LE(SatFromCrossY(v), 240);
    }
    for (int value = 0; value < 256; ++value) {
        SCOPED_TRACE(value);
        const auto byte = static_cast<std::uint8_t>(value);
        EXPECT_GE(CrossXFromHue(byte), 0);
        EXPECT_LE(CrossXFromHue(byte), 190);
        EXPECT_GE(CrossYFromSat(byte), 0);
        EXPECT_LE(CrossYFromSat(byte), 190);
        // The arrow (tip - 5 to tip + 4) stays inside its cleared column, rows 5 to 208.
        EXPECT_GE(MarkerYFromLum(byte) - 5, 5);
        EXPECT_LE(MarkerYFromLum(byte) + 4, 208);
    }
}

TEST(PickerGeometry, CrossHairFromAClientPointIsHeldToTheField) {
    const struct {
        ClientPoint client;
        ClientPoint cross;
    } cases[] = {
        {{300, 300}, {190, 190}}, {{0, 0}, {0, 0}},         {{14, 13}, {0, 0}},
        {{109, 108}, {95, 95}},   {{204, 203}, {190, 190}}, {{500, 500}, {190, 190}},
        {{-40, 100}, {0, 87}},    {{100, 2}, {86, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.x << "," << c.client.y);
        EXPECT_EQ(CrossFromClientPoint(c.client), c.cross);
    }
}

TEST(PickerGeometry, HitTestCustomColorFindsTheCellOrNone) {
    InitCustomCells();
    const struct {
        ClientPoint point;
        int cell;
    } cases[] = {
        {{11, 216}, 0},   {{26, 233}, 0},   {{27, 216}, -1},  {{35, 216}, 1},
        {{34, 216}, -1},  {{11, 242}, -1},  {{11, 243}, 10},  {{227, 260}, 19},
        {{242, 260}, 19}, {{243, 260}, -1}, {{227, 261}, -1}, {{11, 234}, -1},
        {{10, 216}, -1},  {{11, 215}, -1},  {{122, 250}, 14}, {{0, 0}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        EXPECT_EQ(HitTestCustomColor(c.point), c.cell);
    }
}

TEST(PickerGeometry, CustomCellOriginsAndPaintedPlaces) {
    InitCustomCells();
    for (int i = 0; i < kCustomColourCount; ++i) {
        SCOPED_TRACE(i);
        const int left = 11 + 24 * (i % 10);
        EXPECT_EQ(s_customCells[i], (ClientPoint{left, i < 10 ? 216 : 243}));
        const int top = i < 10 ? 215 : 240;
        const SwatchLayout cell = CustomCellLayout(i);
        EXPECT_EQ(cell.fill, (ClientRect{left, top + 1, left + 14, top + 14}));
        EXPECT_EQ(cell.innerFrame, (ClientRect{left - 1, top, left + 15, top + 15}));
        EXPECT_EQ(cell.outerFrame, (ClientRect{left - 2, top - 1, left + 16, top + 16}));
        EXPECT_EQ(HitTestCustomColor({left, s_customCells[i].y}), i);
        EXPECT_EQ(HitTestCustomColor({left + 15, s_customCells[i].y + 17}), i);
    }
}

TEST(PickerGeometry, CustomCellsAreFilledBeforeAnyDialogInitialisesThem) {
    // As the process started, before any test or dialog could call InitCustomCells.
    for (int i = 0; i < kCustomColourCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kCustomCellsAtStart[i], (ClientPoint{11 + 24 * (i % 10), i < 10 ? 216 : 243}));
    }
    // Overwritten, then put back: the table is the same whatever a dialog did before.
    s_customCells.fill({0, 0});
    EXPECT_EQ(HitTestCustomColor({11, 216}), -1);
    InitCustomCells();
    EXPECT_EQ(s_customCells, kCustomCellsAtStart);
    EXPECT_EQ(HitTestCustomColor({11, 216}), 0);
    EXPECT_EQ(HitTestCustomColor({5, 5}), -1);
}

TEST(PickerGeometry, LeftPressZonesInTheDialogsOrder) {
    InitCustomCells();
    const struct {
        ClientPoint point;
        PickerPart part;
        int cell;
    } cases[] = {
        {{14, 13}, PickerPart::Field, -1},          {{204, 203}, PickerPart::Field, -1},
        {{13, 100}, PickerPart::None, -1},          {{205, 100}, PickerPart::None, -1},
        {{100, 204}, PickerPart::None, -1},         {{218, 13}, PickerPart::LumBar, -1},
        {{238, 203}, PickerPart::LumBar, -1},       {{239, 100}, PickerPart::None, -1},
        {{228, 12}, PickerPart::None, -1},          {{272, 30}, PickerPart::CurrentSwatch, -1},
        {{316, 49}, PickerPart::CurrentSwatch, -1}, {{317, 40}, PickerPart::None, -1},
        {{300, 50}, PickerPart::None, -1},          {{359, 30}, PickerPart::NewSwatch, -1},
        {{403, 49}, PickerPart::NewSwatch, -1},     {{358, 40}, PickerPart::None, -1},
        {{11, 216}, PickerPart::CustomCell, 0},     {{227, 260}, PickerPart::CustomCell, 19},
        {{27, 216}, PickerPart::None, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        const PickerHit hit = HitTestPicker(c.point);
        EXPECT_EQ(hit.part, c.part);
        EXPECT_EQ(hit.cell, c.cell);
    }
}

TEST(PickerGeometry, DropZonesIncludeBothEnds) {
    const struct {
        const char* zone;
        HitZone hit;
        ClientPoint inside[2];
        ClientPoint outside[4];
    } cases[] = {
        {"custom strip",
         kCustomStripZone,
         {{11, 216}, {242, 260}},
         {{10, 216}, {243, 260}, {11, 215}, {242, 261}}},
        {"new swatch",
         kNewSwatch.zone,
         {{359, 30}, {403, 49}},
         {{358, 30}, {404, 49}, {359, 29}, {403, 50}}},
        {"current swatch",
         kCurrentSwatch.zone,
         {{272, 30}, {316, 49}},
         {{271, 30}, {317, 49}, {272, 29}, {316, 50}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        for (ClientPoint p : c.inside) {
            EXPECT_TRUE(c.hit.Holds(p)) << p.x << "," << p.y;
        }
        for (ClientPoint p : c.outside) {
            EXPECT_FALSE(c.hit.Holds(p)) << p.x << "," << p.y;
        }
    }
}

} // namespace
