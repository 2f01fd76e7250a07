// The screen server's decisions: who may watch, what changed on the screen, the command line.
#include "screen/change_finder.h"
#include "screen/poll_pace.h"
#include "screen/screen_options.h"
#include "screen/watch_trust.h"

#include <gtest/gtest.h>

namespace {

TEST(PollWait, AStillScreenIsReadLessOftenUpToEightTimesTheInterval) {
    using std::chrono::milliseconds;
    const std::pair<int, int> cases[] = {{-1, 50},  {0, 50},   {9, 50},   {10, 100},
                                         {19, 100}, {20, 200}, {30, 400}, {1000000, 400}};
    for (auto [quietReads, expected] : cases) {
        SCOPED_TRACE(quietReads);
        EXPECT_EQ(PollWait(milliseconds(50), quietReads), milliseconds(expected));
    }
}

struct TrustCase {
    std::string pinned;
    std::optional<std::string> remembered;
    std::string peer;
    bool allowed;
    std::string trusted;
};

TEST(WatchTrust, OnlyThePinnedElseTheRememberedConsoleMayWatch) {
    const TrustCase cases[] = {
        {"", std::nullopt, "10.0.0.1", false, ""},
        {"", "10.0.0.1", "10.0.0.1", true, "10.0.0.1"},
        {"", "10.0.0.1", "10.0.0.2", false, "10.0.0.1"},
        {"", "10.0.0.1", "10.0.0.10", false, "10.0.0.1"},
        {"", "10.0.0.1", "10.0.0.1 ", false, "10.0.0.1"},
        {"", "10.0.0.1", "", false, "10.0.0.1"},
        {"", "10.0.0.1", "::ffff:10.0.0.1", true, "10.0.0.1"},
        {"", "10.0.0.1", "::FFFF:10.0.0.1", true, "10.0.0.1"},
        {"", "10.0.0.1", "::ffff:", false, "10.0.0.1"},
        {"", "10.0.0.1", "fe80::1", false, "10.0.0.1"},
        {"10.0.0.9", "10.0.0.1", "10.0.0.1", false, "10.0.0.9"},
        {"10.0.0.9", "10.0.0.1", "10.0.0.9", true, "10.0.0.9"},
        {"10.0.0.9", std::nullopt, "10.0.0.9", true, "10.0.0.9"},
        {"not an address", "10.0.0.1", "10.0.0.1", false, ""},
    };
    for (const TrustCase& c : cases) {
        SCOPED_TRACE("pinned '" + c.pinned + "', remembered '" + c.remembered.value_or("-") +
                     "', peer '" + c.peer + "'");
        WatchTrust trust(c.pinned, [&]() -> std::optional<ConsoleState> {
            if (!c.remembered) {
                return std::nullopt;
            }
            return ConsoleState{*c.remembered, "10.0.0.50"};
        });
        WatchDecision decision = trust.Decide(c.peer);
        EXPECT_EQ(decision.allowed, c.allowed);
        EXPECT_EQ(decision.trusted, c.trusted);
    }
}

TEST(WatchTrust, TheRememberedConsoleIsReadAgainForEveryConnection) {
    std::optional<ConsoleState> inFile;
    WatchTrust trust("", [&] { return inFile; });
    EXPECT_FALSE(trust.Decide("10.0.0.1").allowed);
    inFile = ConsoleState{"10.0.0.1", "10.0.0.50"};
    EXPECT_TRUE(trust.Decide("10.0.0.1").allowed);
    inFile = ConsoleState{"10.0.0.2", "10.0.0.50"};
    EXPECT_FALSE(trust.Decide("10.0.0.1").allowed);
}

struct ChangeCase {
    const char* what;
    std::vector<std::pair<int, int>> changedPixels;
    std::vector<ChangedRect> rects;
};

// A frame with the given pixels changed.
std::vector<std::uint32_t> Changed(std::vector<std::uint32_t> frame, int width,
                                   const std::vector<std::pair<int, int>>& pixels) {
    for (auto [x, y] : pixels) {
        frame[y * width + x] ^= 1;
    }
    return frame;
}

TEST(ChangeFinder, GivesTheChangedTilesRunsMerged) {
    constexpr int kWidth = 70; // tiles at x 0, 32 and 64 (6 wide); rows at y 0 and 32 (8 high)
    constexpr int kHeight = 40;
    const ChangeCase cases[] = {
        {"nothing changed", {}, {}},
        {"the first pixel", {{0, 0}}, {{0, 0, 32, 32}}},
        {"the last pixel, in the cut corner tile", {{69, 39}}, {{64, 32, 6, 8}}},
        {"a tile's last pixel", {{31, 31}}, {{0, 0, 32, 32}}},
        {"two neighbours in a row", {{1, 1}, {33, 1}}, {{0, 0, 64, 32}}},
        {"a gap between", {{1, 1}, {65, 1}}, {{0, 0, 32, 32}, {64, 0, 6, 32}}},
        {"two rows of tiles", {{5, 35}, {40, 2}}, {{32, 0, 32, 32}, {0, 32, 32, 8}}},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint32_t> before(kWidth * kHeight, 0x123456);
        std::vector<std::uint32_t> after = Changed(before, kWidth, c.changedPixels);
        EXPECT_EQ(FindChangedRects(before.data(), after.data(), kWidth, kHeight), c.rects);
    }
    std::uint32_t pixel = 0;
    EXPECT_TRUE(FindChangedRects(&pixel, &pixel, 0, 0).empty());
}

TEST(ChangeFinder, ReadsWholeOnlyAroundTheSampleRowsThatChanged) {
    constexpr int kWidth = 70;   // tiles at x 0, 32 and 64 (6 wide)
    constexpr int kHeight = 100; // bands at y 0, 32, 64 and 96 (4 high)
    constexpr int kSampleRow = 2;
    const ChangeCase cases[] = {
        {"nothing changed", {}, {}},
        {"a change off the sample rows is left to a later look", {{3, 3}}, {}},
        {"the first band: it and the one below", {{3, 2}}, {{0, 0, 32, 32}, {0, 32, 32, 32}}},
        {"a middle band: the bands above and below too",
         {{40, 34}},
         {{32, 0, 32, 32}, {32, 32, 32, 32}, {32, 64, 32, 32}}},
        {"the first to the last changed column",
         {{1, 2}, {69, 2}},
         {{0, 0, 70, 32}, {0, 32, 70, 32}}},
        {"the short last band", {{69, 98}}, {{64, 64, 6, 32}, {64, 96, 6, 4}}},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint32_t> before(kWidth * kHeight, 0x123456);
        std::vector<std::uint32_t> after = Changed(before, kWidth, c.changedPixels);
        EXPECT_EQ(
            AreasAroundChangedSamples(before.data(), after.data(), kWidth, kHeight, kSampleRow),
            c.rects);
    }
    const std::pair<int, int> rows[] = {{0, 0}, {1, 16},  {2, 8}, {3, 24},
                                        {4, 4}, {31, 31}, {32, 0}};
    for (auto [look, row] : rows) {
        EXPECT_EQ(SampleRowInBand(look), row) << "look " << look;
    }
}

struct OptionsCase {
    std::vector<std::string> words;
    std::uint16_t port;
    bool help;
    bool error;
};

TEST(ScreenOptions, TakesAPortAndRefusesAnythingElse) {
    const OptionsCase cases[] = {
        {{}, 5900, false, false},
        {{"--port", "5901"}, 5901, false, false},
        {{"--port", "65535"}, 65535, false, false},
        {{"--help"}, 5900, true, false},
        {{"/?"}, 5900, true, false},
        {{"--port"}, 5900, false, true},
        {{"--port", "0"}, 5900, false, true},
        {{"--port", "65536"}, 5900, false, true},
        {{"--port", "59o1"}, 5900, false, true},
        {{"--port", "-1"}, 5900, false, true},
        {{"5901"}, 5900, false, true},
        {{"--bind", "10.0.0.1"}, 5900, false, true},
    };
    for (const OptionsCase& c : cases) {
        std::string joined;
        for (const std::string& word : c.words) {
            joined += word + " ";
        }
        SCOPED_TRACE(joined);
        std::string error;
        ScreenOptions options = ParseScreenOptions(c.words, error);
        EXPECT_EQ(!error.empty(), c.error) << error;
        if (!c.error) {
            EXPECT_EQ(options.port, c.port);
            EXPECT_EQ(options.help, c.help);
        }
    }
}

} // namespace
