// The service's log never grows past its limit, keeps the newest lines and one older file.
#include "agent/bounded_log.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(BoundedLog, StaysWithinItsLimitAndKeepsTheNewestLines) {
    ScratchDir dir;
    constexpr std::size_t kLimit = 1024;
    {
        BoundedLog log(dir.Path("log.txt"), kLimit);
        for (int i = 0; i < 500; ++i) {
            log << "cluma-agent: line " << i << ".\n";
        }
        log << std::string(5000, 'x') << "\n"; // a runaway line is cut
        log << "cluma-agent: last\n";
    }
    EXPECT_LE(std::filesystem::file_size(dir.Path("log.txt")), kLimit);
    EXPECT_LE(std::filesystem::file_size(dir.Path("log.txt.old")), kLimit);
    std::string newest = dir.Read("log.txt");
    EXPECT_NE(newest.find("cluma-agent: last"), std::string::npos) << newest;
    std::string older = dir.Read("log.txt.old");
    EXPECT_NE(older.find("cluma-agent: line 499."), std::string::npos) << older;
    EXPECT_EQ(older.find("cluma-agent: line 0."), std::string::npos) << older;
}

} // namespace
