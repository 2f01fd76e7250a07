// The viewer's portable decisions: its command line, the encodings it asks for, what it says
// about the connection, the key mapping and where the picture goes.
#include "viewer/encoding_choice.h"
#include "viewer/key_mapping.h"
#include "viewer/view_geometry.h"
#include "viewer/viewer_options.h"
#include "viewer/viewer_status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ViewerOptions, ReadsTheConsolesLineInAnyOrderAndNotesWhatItIgnores) {
    struct Case {
        std::vector<std::string> words;
        ViewerOptions expected;
        std::size_t notes;
    };
    const Case cases[] = {
        {{"192.168.1.23", "/password", "fernway_417", "/encoding", "ultra2"},
         {"192.168.1.23", "fernway_417", "ultra2"},
         0},
        {{"/ENCODING", "zrle", "-Password", "p w", "10.0.0.9"}, {"10.0.0.9", "p w", "zrle"}, 0},
        {{"/password", "/encoding", "10.0.0.9"}, {"10.0.0.9", "/encoding", ""}, 0},
        {{"/quality", "10.0.0.9", "/fullscreen"}, {"10.0.0.9", "", ""}, 2},
        {{"10.0.0.9", "10.0.0.10", "/password"}, {"10.0.0.9", "", ""}, 2},
        {{"/password", "x"}, {"", "x", ""}, 0},
        {{}, {"", "", ""}, 0},
        {{"", "/", "-"}, {"/", "", ""}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        ViewerOptionsReading reading = ReadViewerOptions(c.words);
        EXPECT_EQ(reading.options.address, c.expected.address);
        EXPECT_EQ(reading.options.password, c.expected.password);
        EXPECT_EQ(reading.options.encoding, c.expected.encoding);
        EXPECT_EQ(reading.notes.size(), c.notes);
    }
    EXPECT_EQ(ViewerPassword("", "fernway_417"), "fernway_417");
    EXPECT_EQ(ViewerPassword("room", "fernway_417"), "room");
}

TEST(EncodingChoice, LosslessWordsGoFirstAndEverythingElseGetsTheDefault) {
    const std::pair<const char*, const char*> cases[] = {
        {"ultra2", "copyrect zrle hextile raw"},   {"", "copyrect zrle hextile raw"},
        {"tight", "copyrect zrle hextile raw"},    {"ultra", "copyrect zrle hextile raw"},
        {"zrlex", "copyrect zrle hextile raw"},    {"HEXTILE", "hextile copyrect zrle raw"},
        {"raw", "raw copyrect zrle hextile"},      {"zlib", "zlib copyrect zrle hextile raw"},
        {"copyrect", "copyrect zrle hextile raw"},
    };
    for (const auto& [word, list] : cases) {
        EXPECT_EQ(EncodingsForWord(word), list) << word;
    }
}

TEST(ViewerStatus, SaysEachPhaseAndReconnectsOnlyALostConnection) {
    using O = ConnectionOutcome;
    using P = ViewerPhase;
    using A = StatusAction;
    struct Step {
        char event; // s: Start, t: retry timer, else the outcome below
        O outcome;
        P phase;
        A action;
        const char* line;
    };
    const Step steps[] = {
        {'s', O::connected, P::connecting, A::connect, "korvidVi: connecting to 10.0.0.9:5900"},
        {'o', O::refused, P::refused, A::none, "korvidVi: refused by 10.0.0.9:5900"},
        {'o', O::lost, P::refused, A::none, "korvidVi: refused by 10.0.0.9:5900"},
        {'t', O::lost, P::refused, A::none, "korvidVi: refused by 10.0.0.9:5900"},
        {'s', O::connected, P::connecting, A::connect, "korvidVi: connecting to 10.0.0.9:5900"},
        {'o', O::connected, P::connected, A::none, "korvidVi: connected to 10.0.0.9:5900 (PC 7)"},
        {'o', O::lost, P::reconnecting, A::armRetryTimer,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 1 of 3)"},
        {'t', O::lost, P::reconnecting, A::connect,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 1 of 3)"},
        {'o', O::refused, P::reconnecting, A::armRetryTimer,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 2 of 3)"},
        {'o', O::connected, P::connected, A::none, "korvidVi: connected to 10.0.0.9:5900 (PC 7)"},
        {'o', O::lost, P::reconnecting, A::armRetryTimer,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 1 of 3)"},
        {'o', O::unreachable, P::reconnecting, A::armRetryTimer,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 2 of 3)"},
        {'o', O::lost, P::reconnecting, A::armRetryTimer,
         "korvidVi: lost 10.0.0.9:5900, reconnecting (try 3 of 3)"},
        {'o', O::refused, P::lost, A::none, "korvidVi: lost 10.0.0.9:5900"},
        {'s', O::connected, P::connecting, A::connect, "korvidVi: connecting to 10.0.0.9:5900"},
        {'o', O::wrongPassword, P::wrongPassword, A::none,
         "korvidVi: wrong password for 10.0.0.9:5900"},
        {'s', O::connected, P::connecting, A::connect, "korvidVi: connecting to 10.0.0.9:5900"},
        {'o', O::unreachable, P::unreachable, A::none, "korvidVi: cannot reach 10.0.0.9:5900"},
        {'s', O::connected, P::connecting, A::connect, "korvidVi: connecting to 10.0.0.9:5900"},
        {'o', O::lost, P::refused, A::none, "korvidVi: refused by 10.0.0.9:5900"},
    };
    ViewerStatus status("10.0.0.9", 5900);
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        A action = step.event == 's'   ? status.Start()
                   : step.event == 't' ? status.OnRetryTimer()
                                       : status.OnOutcome(step.outcome);
        EXPECT_EQ(status.Phase(), step.phase);
        EXPECT_EQ(action, step.action);
        EXPECT_EQ(status.LogLine("PC 7"), step.line);
        EXPECT_EQ(status.Text().empty(), step.phase == P::connected);
        EXPECT_EQ(status.Text().find("10.0.0.9") == std::string::npos, step.phase == P::connected);
        EXPECT_EQ(status.CanTryAgain(), step.phase != P::connecting && step.phase != P::connected);
    }
    ViewerStatus noAddress("", 5900);
    EXPECT_EQ(noAddress.Start(), A::none);
    EXPECT_EQ(noAddress.OnOutcome(O::refused), A::none);
    EXPECT_EQ(noAddress.Phase(), P::noAddress);
    EXPECT_NE(noAddress.Text().find("without an address"), std::string::npos);
    EXPECT_FALSE(noAddress.CanTryAgain());
}

TEST(KeyMapping, FixedKeysByTableAndLayoutKeysByTheirCharacter) {
    struct Case {
        unsigned vk;
        bool extended;
        unsigned scan;
        std::uint32_t keysym;
    };
    const Case cases[] = {
        {0x0D, false, 0x1C, 0xff0d}, {0x0D, true, 0x1C, 0xff8d},  {0x10, false, 0x2A, 0xffe1},
        {0x10, false, 0x36, 0xffe2}, {0x11, false, 0x1D, 0xffe3}, {0x11, true, 0x1D, 0xffe4},
        {0x12, false, 0x38, 0xffe9}, {0x12, true, 0x38, 0xffea},  {0x70, false, 0, 0xffbe},
        {0x87, false, 0, 0xffd5},    {0x88, false, 0, 0},         {'A', false, 0, 'a'},
        {'Z', false, 0, 'z'},        {'0', false, 0, '0'},        {'9', false, 0, '9'},
        {0x2E, true, 0, 0xffff},     {0x25, true, 0, 0xff51},     {0x60, false, 0, 0xffb0},
        {0x69, false, 0, 0xffb9},    {0x6F, true, 0, 0xffaf},     {0x5B, true, 0, 0xffeb},
        {0xBA, false, 0, 0},         {0xDE, false, 0, 0},         {0xFF, false, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeysymForVirtualKey(c.vk, c.extended, c.scan), c.keysym) << std::hex << c.vk;
    }
    const std::pair<unsigned, std::uint32_t> characters[] = {
        {';', ';'}, {'Q', 'q'}, {0xE4, 0xE4}, {0x1F, 0}, {0x7F, 0}, {0x9F, 0}, {0x20AC, 0}};
    for (const auto& [character, keysym] : characters) {
        EXPECT_EQ(KeysymForCharacter(character), keysym) << std::hex << character;
    }
}

TEST(ViewGeometry, FitsWithTheAspectKeptAndMapsPointsBackIntoTheFrame) {
    struct Case {
        ViewMode mode;
        int clientW, clientH, frameW, frameH, scrollX, scrollY;
        ViewRect shown;
    };
    const Case cases[] = {
        {ViewMode::fit, 800, 600, 1600, 1200, 0, 0, {0, 0, 800, 600}},
        {ViewMode::fit, 1000, 600, 1600, 1200, 0, 0, {100, 0, 800, 600}},
        {ViewMode::fit, 800, 1000, 1600, 1200, 0, 0, {0, 200, 800, 600}},
        {ViewMode::fit, 3200, 2400, 1600, 1200, 0, 0, {0, 0, 3200, 2400}},
        {ViewMode::fit, 1, 1000, 1600, 1200, 0, 0, {0, 499, 1, 1}},
        {ViewMode::fit, 800, 600, 0, 0, 0, 0, {0, 0, 0, 0}},
        {ViewMode::actualSize, 800, 600, 1600, 1200, 300, 9999, {-300, -600, 1600, 1200}},
        {ViewMode::actualSize, 800, 600, 1600, 400, -5, 50, {0, 100, 1600, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.clientW) + "x" + std::to_string(c.clientH));
        ViewRect shown =
            ShownRect(c.mode, c.clientW, c.clientH, c.frameW, c.frameH, c.scrollX, c.scrollY);
        EXPECT_EQ(shown.x, c.shown.x);
        EXPECT_EQ(shown.y, c.shown.y);
        EXPECT_EQ(shown.width, c.shown.width);
        EXPECT_EQ(shown.height, c.shown.height);
    }
    const ViewRect fitted{100, 0, 800, 600}; // a 1600x1200 frame in 1000x600
    const std::pair<ViewPoint, ViewPoint> points[] = {
        {{100, 0}, {0, 0}}, {{899, 599}, {1598, 1198}}, {{500, 300}, {800, 600}},
        {{0, -50}, {0, 0}}, {{999, 700}, {1599, 1199}},
    };
    for (const auto& [client, frame] : points) {
        ViewPoint mapped = ClientToFrame(fitted, 1600, 1200, client.x, client.y);
        EXPECT_EQ(mapped.x, frame.x) << client.x << "," << client.y;
        EXPECT_EQ(mapped.y, frame.y) << client.x << "," << client.y;
    }
    ViewRect repaint = FrameToClient(fitted, 1600, 1200, {801, 1, 3, 3});
    EXPECT_EQ(repaint.x, 499);
    EXPECT_EQ(repaint.y, -1);
    EXPECT_GE(repaint.x + repaint.width, 100 + 803 / 2 + 1);
}

} // namespace
