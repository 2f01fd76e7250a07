#include "discovery/node_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

NodeRecord MakeRecord(NodeRegistry& registry, const char* address, const char* name) {
    NodeRecord record;
    std::memset(&record, 0, sizeof record);
    std::strncpy(record.address, address, sizeof record.address - 1);
    std::strncpy(record.name, name, sizeof record.name - 1);
    record.index = registry.TakeIndex();
    return record;
}

std::vector<std::string> Addresses(const NodeRegistry& registry) {
    std::vector<std::string> addresses;
    registry.ForEach([&](const NodeRecord& record) { addresses.emplace_back(record.address); });
    return addresses;
}

TEST(NodeRegistry, KeepsAppendOrderAndDropsDuplicateAddressesWithTheirIndexUsedUp) {
    NodeRegistry registry;
    EXPECT_TRUE(registry.AppendIfNew(MakeRecord(registry, "10.0.0.9", "PC-09")));
    EXPECT_TRUE(registry.AppendIfNew(MakeRecord(registry, "10.0.0.2", "PC-02")));
    EXPECT_FALSE(registry.AppendIfNew(MakeRecord(registry, "10.0.0.9", "other")));
    EXPECT_TRUE(registry.AppendIfNew(MakeRecord(registry, "10.0.0.5", "PC-05")));

    EXPECT_EQ(Addresses(registry), (std::vector<std::string>{"10.0.0.9", "10.0.0.2", "10.0.0.5"}));
    std::vector<int> indices;
    registry.ForEach([&](const NodeRecord& record) { indices.push_back(record.index); });
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 3})) << "index 2 went to the dropped duplicate";
    EXPECT_EQ(registry.FindByAddress("10.0.0.9")->name, std::string("PC-09"));
}

TEST(NodeRegistry, ClearEmptiesButNeverResetsTheIndexCounter) {
    NodeRegistry registry;
    for (int scan = 0; scan < 3; ++scan) {
        registry.Clear();
        registry.AppendIfNew(MakeRecord(registry, "10.0.0.1", "a"));
        registry.AppendIfNew(MakeRecord(registry, "10.0.0.2", "b"));
    }
    std::vector<int> indices;
    registry.ForEach([&](const NodeRecord& record) { indices.push_back(record.index); });
    EXPECT_EQ(indices, (std::vector<int>{4, 5}));
    registry.Clear();
    EXPECT_EQ(registry.Count(), 0u);
    EXPECT_FALSE(registry.FindByAddress("10.0.0.1").has_value());
    EXPECT_EQ(registry.NextNodeIndex(), 6);
}

struct LookupCase {
    const char* query;
    const char* expectedAddress; // nullptr: nothing found
};

TEST(NodeRegistry, FindByAddressComparesWholeTextsByteForByte) {
    NodeRegistry registry;
    registry.AppendIfNew(MakeRecord(registry, "192.168.1.5", "five"));
    registry.AppendIfNew(MakeRecord(registry, "192.168.1.50", "fifty"));
    const LookupCase cases[] = {
        {"192.168.1.5", "192.168.1.5"},
        {"192.168.1.50", "192.168.1.50"},
        {"192.168.1.05", nullptr},
        {"192.168.001.5", nullptr},
        {"192.168.1.5 ", nullptr},
        {" 192.168.1.5", nullptr},
        {"192.168.1.", nullptr},
        {"", nullptr},
        {"192.168.1.500000000000000000000000000000000000", nullptr},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(std::string("query '") + c.query + "'");
        auto found = registry.FindByAddress(c.query);
        if (c.expectedAddress == nullptr) {
            EXPECT_FALSE(found.has_value());
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_STREQ(found->address, c.expectedAddress);
        }
    }
}

TEST(NodeRegistry, FindByNameIsExactCaseSensitiveAndGivesTheFirstOfEqualNames) {
    NodeRegistry registry;
    registry.AppendIfNew(MakeRecord(registry, "10.0.0.1", "PC-07"));
    registry.AppendIfNew(MakeRecord(registry, "10.0.0.2", "Lab\r\n"));
    registry.AppendIfNew(MakeRecord(registry, "10.0.0.3", "PC-07"));
    registry.AppendIfNew(MakeRecord(registry, "10.0.0.4", ""));
    const LookupCase cases[] = {
        {"PC-07", "10.0.0.1"},   {"pc-07", nullptr}, {"PC-07 ", nullptr}, {"PC-0", nullptr},
        {"Lab\r\n", "10.0.0.2"}, {"Lab", nullptr},   {"", "10.0.0.4"},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(std::string("query '") + c.query + "'");
        auto found = registry.FindByName(c.query);
        if (c.expectedAddress == nullptr) {
            EXPECT_FALSE(found.has_value());
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_STREQ(found->address, c.expectedAddress);
        }
    }
}

TEST(NodeRegistry, NameOfSixtyThreeBytesMatchesOnlyItselfNotALongerQuery) {
    NodeRegistry registry;
    std::string full(63, 'n');
    registry.AppendIfNew(MakeRecord(registry, "10.0.0.1", full.c_str()));
    EXPECT_TRUE(registry.FindByName(full.c_str()).has_value());
    EXPECT_FALSE(registry.FindByName((full + "x").c_str()).has_value());
}

TEST(NodeRegistry, ConcurrentWritersNeverShareAnIndexNorAppendAnAddressTwice) {
    NodeRegistry registry;
    std::vector<std::thread> writers;
    std::vector<std::vector<int>> taken(8);
    for (int t = 0; t < 8; ++t) {
        writers.emplace_back([&registry, &taken, t] {
            for (int host = 1; host <= 50; ++host) {
                std::string address = "10.0.0." + std::to_string(host);
                NodeRecord record = MakeRecord(registry, address.c_str(), "x");
                taken[static_cast<std::size_t>(t)].push_back(record.index);
                registry.AppendIfNew(record);
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    std::set<int> all;
    for (const auto& list : taken) {
        all.insert(list.begin(), list.end());
    }
    EXPECT_EQ(all.size(), 400u);
    EXPECT_EQ(registry.Count(), 50u);
    EXPECT_EQ(registry.NextNodeIndex(), 400);
}

} // namespace
