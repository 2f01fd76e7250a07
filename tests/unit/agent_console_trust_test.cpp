// Which prober the agent trusts as its console, and when it writes that down: each case is a
// room's sequence of probes on a clock of the test's own.
#include "agent/console_trust.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using std::chrono::seconds;

struct Step {
    int afterSeconds; // since the step before
    const char* peer;
    const char* local;
    ProbeVerdict verdict;
    const char* trusted; // the console trusted after the probe ("": none)
    bool writes;         // whether the state file is written after the probe
};

struct Case {
    const char* what;
    ConsoleTrust::Settings settings;
    std::optional<ConsoleState> fromFile;
    std::vector<Step> steps;
};

constexpr auto trusted = ProbeVerdict::trusted;
constexpr auto knownStillHere = ProbeVerdict::knownStillHere;
constexpr auto thisMachine = ProbeVerdict::thisMachine;
constexpr auto notPinned = ProbeVerdict::notPinned;
const ConsoleTrust::Settings kOpen{"", false};
const ConsoleTrust::Settings kLoopbackAlone{"", true};
const ConsoleTrust::Settings kPinned{"10.0.0.1", false};
const ConsoleState kFileState{"10.0.0.1", "10.0.0.23"};

TEST(ConsoleTrust, KeepsTheKnownConsoleIgnoresThisMachineAndWritesAtMostOnceAMinute) {
    const Case cases[] = {
        {"a newcomer while the known console still probes",
         kOpen,
         std::nullopt,
         {{0, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", true},
          {20, "10.0.0.66", "10.0.0.23", knownStillHere, "10.0.0.1", false},
          {20, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", false},
          {69, "10.0.0.66", "10.0.0.23", knownStillHere, "10.0.0.1", false}}},
        {"a newcomer after three silent rescans",
         kOpen,
         std::nullopt,
         {{0, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", true},
          {70, "10.0.0.66", "10.0.0.23", trusted, "10.0.0.66", true},
          {1, "10.0.0.1", "10.0.0.23", knownStillHere, "10.0.0.66", false}}},
        {"the file's console counts as seen at start",
         kOpen,
         kFileState,
         {{30, "10.0.0.66", "10.0.0.23", knownStillHere, "10.0.0.1", false},
          {40, "10.0.0.66", "10.0.0.23", trusted, "10.0.0.66", true}}},
        {"probes from this machine",
         kOpen,
         std::nullopt,
         {{0, "127.0.0.66", "10.0.0.23", thisMachine, "", false},
          {0, "127.0.0.1", "127.0.0.1", thisMachine, "", false},
          {0, "10.0.0.23", "10.0.0.23", thisMachine, "", false},
          {0, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", true}}},
        {"an agent on loopback alone trusts loopback",
         kLoopbackAlone,
         std::nullopt,
         {{0, "127.0.0.9", "127.0.0.7", trusted, "127.0.0.9", true}}},
        {"a console remembered from this machine is forgotten at start",
         kOpen,
         ConsoleState{"127.0.0.66", "127.0.0.1"},
         {{0, "10.0.0.66", "10.0.0.23", trusted, "10.0.0.66", false},
          {60, "10.0.0.66", "10.0.0.23", trusted, "10.0.0.66", true}}},
        {"pinned: only its console, however silent",
         kPinned,
         std::nullopt,
         {{0, "10.0.0.66", "10.0.0.23", notPinned, "", false},
          {0, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", true},
          {500, "10.0.0.66", "10.0.0.23", notPinned, "10.0.0.1", false}}},
        {"a change within the minute is written once the minute is up",
         kOpen,
         std::nullopt,
         {{0, "10.0.0.1", "10.0.0.23", trusted, "10.0.0.1", true},
          {30, "10.0.0.1", "10.0.0.24", trusted, "10.0.0.1", false},
          {29, "10.0.0.1", "10.0.0.24", trusted, "10.0.0.1", false},
          {1, "10.0.0.1", "10.0.0.24", trusted, "10.0.0.1", true},
          {1, "10.0.0.1", "10.0.0.24", trusted, "10.0.0.1", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrustClock::time_point now{};
        ConsoleTrust trust(c.settings, c.fromFile, [&now] { return now; });
        if (trust.WriteDue()) {
            trust.WriteAttempted(true); // what start-up forgets
        }
        for (const Step& step : c.steps) {
            SCOPED_TRACE(std::string(step.peer) + " after " + std::to_string(step.afterSeconds) +
                         " s");
            now += seconds(step.afterSeconds);
            EXPECT_EQ(trust.Probed(step.peer, step.local), step.verdict);
            EXPECT_EQ(trust.Trusted() ? trust.Trusted()->console : "", step.trusted);
            EXPECT_EQ(trust.WriteDue(), step.writes);
            if (trust.WriteDue()) {
                trust.WriteAttempted(true);
            }
        }
    }
}

TEST(ConsoleTrust, AFailedWriteIsTriedAgainAfterFiveSecondsAndAtStop) {
    TrustClock::time_point now{};
    ConsoleTrust trust(kOpen, std::nullopt, [&now] { return now; });
    trust.Probed("10.0.0.1", "10.0.0.23");
    ASSERT_TRUE(trust.WriteDue());
    trust.WriteAttempted(false);
    now += seconds(4);
    EXPECT_FALSE(trust.WriteDue());
    EXPECT_TRUE(trust.WriteDue(true));
    now += seconds(1);
    EXPECT_TRUE(trust.WriteDue());
    trust.WriteAttempted(true); // and then the minute again
    trust.Probed("10.0.0.1", "10.0.0.24");
    now += seconds(59);
    EXPECT_FALSE(trust.WriteDue());
}

} // namespace
