#include "discovery/node_list_refresh.h"
#include "discovery/rescan_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records every operation, and checks that the registry's lock is free while the list is
// being changed (a window message sent under the lock could deadlock the console).
class RecordingList : public NodeListView {
public:
    RecordingList(const char* label, const NodeRegistry* registry)
        : label_(label), registry_(registry) {}
    void DeleteAllItems() override { Note("delete-all"); }
    void Hide() override { Note("hide"); }
    void Show() override { Note("show"); }
    void InsertItem(int position, const char* text) override {
        Note("insert " + std::to_string(position) + " '" + text + "'");
    }
    std::vector<std::string>* log = nullptr;

private:
    void Note(const std::string& what) {
        // Count() takes the lock: this would deadlock if the refresh held it.
        if (registry_ != nullptr) {
            registry_->Count();
        }
        log->push_back(label_ + " " + what);
    }
    std::string label_;
    const NodeRegistry* registry_;
};

NodeRecord Record(std::int32_t index, const char* address, const char* name) {
    NodeRecord record;
    std::memset(&record, 0, sizeof record);
    record.index = index;
    std::strcpy(record.address, address);
    std::strcpy(record.name, name);
    return record;
}

TEST(RefreshNodeList, RewritesTheNodeListInRegistryOrderAndOnlyEmptiesTheSpare) {
    NodeRegistry registry;
    registry.AppendIfNew(Record(4, "10.0.0.9", "PC-09"));
    registry.AppendIfNew(Record(2, "10.0.0.3", ""));
    registry.AppendIfNew(Record(3, "10.0.0.1", "PC-01"));
    std::vector<std::string> log;
    RecordingList spare("spare", &registry), nodes("nodes", &registry);
    spare.log = nodes.log = &log;

    RefreshNodeList(spare, nodes, registry);

    EXPECT_EQ(log, (std::vector<std::string>{"spare delete-all", "nodes hide", "nodes delete-all",
                                             "nodes show", "nodes insert 0 'PC-09'",
                                             "nodes insert 1 ''", "nodes insert 2 'PC-01'"}));
}

TEST(RefreshNodeList, AnEmptyRegistryLeavesAnEmptyList) {
    NodeRegistry registry;
    std::vector<std::string> log;
    RecordingList spare("spare", &registry), nodes("nodes", &registry);
    spare.log = nodes.log = &log;
    RefreshNodeList(spare, nodes, registry);
    EXPECT_EQ(log.size(), 4u);
}

// The loop with its scan and sleep replaced by counters and a script of flag changes.
struct LoopHarness {
    std::atomic<bool> enabled{true};
    RescanStop stop;
    NodeRegistry registry;
    std::vector<std::string> log;
    RecordingList spare{"spare", nullptr}, nodes{"nodes", nullptr};
    int scans = 0;
    int sleeps = 0;
    std::function<void()> afterScan = [] {};
    std::function<void()> duringSleep = [] {};

    int Run() {
        spare.log = nodes.log = &log;
        RescanSettings settings;
        settings.enabled = &enabled;
        settings.stop = &stop;
        settings.registry = &registry;
        settings.scan = [this] {
            ++scans;
            afterScan();
        };
        settings.sleep = [this](int milliseconds) {
            EXPECT_EQ(milliseconds, 20000);
            ++sleeps;
            duringSleep();
        };
        return RescanLoop(RescanListPair{&spare, &nodes}, settings);
    }
    int Refreshes() const {
        return static_cast<int>(std::count(log.begin(), log.end(), "spare delete-all"));
    }
};

TEST(RescanLoop, ExitDuringASleepEndsWithoutAnotherScanOrRefresh) {
    LoopHarness loop;
    loop.duringSleep = [&loop] {
        if (loop.sleeps == 3) {
            loop.enabled = false;
        }
    };
    EXPECT_EQ(loop.Run(), 1);
    EXPECT_EQ(loop.scans, 3);
    EXPECT_EQ(loop.Refreshes(), 3);
    EXPECT_EQ(loop.sleeps, 3);
}

TEST(RescanLoop, ExitDuringAScanLetsThatScanRefreshAndSleepThenEnds) {
    LoopHarness loop;
    loop.afterScan = [&loop] {
        if (loop.scans == 2) {
            loop.enabled = false;
        }
    };
    EXPECT_EQ(loop.Run(), 1);
    EXPECT_EQ(loop.scans, 2);
    EXPECT_EQ(loop.Refreshes(), 2);
    EXPECT_EQ(loop.sleeps, 2);
}

TEST(RescanLoop, AClearedFlagBeforeTheFirstScanDoesNothing) {
    LoopHarness loop;
    loop.enabled = false;
    EXPECT_EQ(loop.Run(), 1);
    EXPECT_EQ(loop.scans, 0);
    EXPECT_TRUE(loop.log.empty());
}

TEST(RescanLoop, TheListFollowsTheRegistryAfterEveryScan) {
    LoopHarness loop;
    loop.afterScan = [&loop] {
        loop.registry.Clear();
        if (loop.scans == 1) {
            loop.registry.AppendIfNew(Record(0, "10.0.0.1", "early"));
        } else {
            loop.registry.AppendIfNew(Record(1, "10.0.0.2", "late"));
            loop.enabled = false;
        }
    };
    loop.Run();
    EXPECT_EQ(loop.log, (std::vector<std::string>{
                            "spare delete-all", "nodes hide", "nodes delete-all", "nodes show",
                            "nodes insert 0 'early'", "spare delete-all", "nodes hide",
                            "nodes delete-all", "nodes show", "nodes insert 0 'late'"}));
}

// The exit command clears the process-wide flag; a closing console requests its own stop.
// Either ends the loop the same way, whenever it comes.
TEST(RescanLoop, TheFlagAndAStopRequestEndTheLoopAlike) {
    enum class Ending { flag, stop };
    enum class When { beforeTheFirstScan, duringTheSecondScan, duringTheThirdSleep };
    struct Case {
        Ending ending;
        When when;
        int scans, refreshes, sleeps;
    };
    const Case cases[] = {
        {Ending::flag, When::beforeTheFirstScan, 0, 0, 0},
        {Ending::stop, When::beforeTheFirstScan, 0, 0, 0},
        {Ending::flag, When::duringTheSecondScan, 2, 2, 2},
        {Ending::stop, When::duringTheSecondScan, 2, 2, 2},
        {Ending::flag, When::duringTheThirdSleep, 3, 3, 3},
        {Ending::stop, When::duringTheThirdSleep, 3, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ending == Ending::flag ? "flag" : "stop") + " " +
                     std::to_string(static_cast<int>(c.when)));
        LoopHarness loop;
        auto end = [&loop, &c] {
            if (c.ending == Ending::flag) {
                loop.enabled = false;
            } else {
                loop.stop.Request();
            }
        };
        if (c.when == When::beforeTheFirstScan) {
            end();
        }
        loop.afterScan = [&] {
            if (c.when == When::duringTheSecondScan && loop.scans == 2) {
                end();
            }
        };
        loop.duringSleep = [&] {
            if (c.when == When::duringTheThirdSleep && loop.sleeps == 3) {
                end();
            }
        };
        EXPECT_EQ(loop.Run(), 1);
        EXPECT_EQ(loop.scans, c.scans);
        EXPECT_EQ(loop.Refreshes(), c.refreshes);
        EXPECT_EQ(loop.sleeps, c.sleeps);
    }
}

TEST(RescanStop, ASleepEndsAtTheRequestOrRunsItsTime) {
    RescanStop unrequested;
    EXPECT_FALSE(unrequested.SleepFor(1));
    EXPECT_FALSE(unrequested.Requested());

    RescanStop requested;
    requested.Request();
    EXPECT_TRUE(requested.Requested());
    EXPECT_TRUE(requested.SleepFor(kRescanSleepMs)); // at once: the request came first

    // A request from another thread wakes a sleep of the loop's length; without the wake this
    // would sleep the full minute and then report no request.
    RescanStop woken;
    std::thread requester([&woken] { woken.Request(); });
    EXPECT_TRUE(woken.SleepFor(60000));
    requester.join();
}

} // namespace
