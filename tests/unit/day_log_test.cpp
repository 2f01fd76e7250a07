// The day log: file names and entries from one clock reading, the exact bytes on disk (CR LF
// line ends on every system), appending, and silence when nothing can be written.
#include "push/day_log.h"

#include "platform/module_path.h"
#include "support/local_time.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Entry(const std::string& stamp) {
    return stamp + " \t\r\nWSAStartup() successful.\r\n";
}

void Write(const std::string& directory, const std::tm& time) {
    WriteDayLog(DayLogSettings{directory.c_str(), [time] { return time; }});
}

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The scratch folder itself, without a trailing separator.
std::string Root(const ScratchDir& dir) {
    std::string inside = dir.Path("x");
    return inside.substr(0, inside.size() - 2);
}

struct StampCase {
    std::tm time;
    const char* file;
    const char* stamp;
};

TEST(DayLog, FileNameAndEntryCarryTheSameZeroPaddedDateAndTime) {
    const std::vector<StampCase> cases = {
        {At(2024, 3, 5, 9, 7, 3), "2024-03-05.txt", "2024-03-05 09:07:03"},
        {At(2024, 12, 31, 23, 59, 59), "2024-12-31.txt", "2024-12-31 23:59:59"},
        {At(2025, 1, 1, 0, 0, 0), "2025-01-01.txt", "2025-01-01 00:00:00"},
        {At(2024, 2, 29, 12, 30, 45), "2024-02-29.txt", "2024-02-29 12:30:45"},
        {At(999, 10, 10, 10, 10, 10), "0999-10-10.txt", "0999-10-10 10:10:10"},
    };
    for (const StampCase& c : cases) {
        SCOPED_TRACE(c.stamp);
        ScratchDir dir;
        Write(Root(dir), c.time);
        EXPECT_EQ(FilesIn(Root(dir)), std::vector<std::string>{c.file});
        EXPECT_EQ(dir.Read(c.file), Entry(c.stamp));
    }
}

TEST(DayLog, TwoStartsOnOneDayGiveFourLinesTheOlderFirst) {
    ScratchDir dir;
    Write(Root(dir), At(2024, 3, 5, 8, 0, 0));
    Write(Root(dir), At(2024, 3, 5, 9, 7, 3));
    EXPECT_EQ(dir.Read("2024-03-05.txt"), "2024-03-05 08:00:00 \t\r\nWSAStartup() successful.\r\n"
                                          "2024-03-05 09:07:03 \t\r\nWSAStartup() successful.\r\n");
}

TEST(DayLog, ANewDayStartsItsOwnFileAndLeavesTheOldOneAlone) {
    ScratchDir dir;
    Write(Root(dir), At(2024, 3, 5, 23, 59, 59));
    Write(Root(dir), At(2024, 3, 6, 0, 0, 0));
    EXPECT_EQ(dir.Read("2024-03-05.txt"), Entry("2024-03-05 23:59:59"));
    EXPECT_EQ(dir.Read("2024-03-06.txt"), Entry("2024-03-06 00:00:00"));
}

TEST(DayLog, WhatIsAlreadyInTheFileIsKeptAsItIs) {
    ScratchDir dir;
    const std::string before = "written by hand, no line end";
    dir.Write("2024-03-05.txt", before);
    Write(Root(dir), At(2024, 3, 5, 9, 7, 3));
    EXPECT_EQ(dir.Read("2024-03-05.txt"), before + Entry("2024-03-05 09:07:03"));
}

TEST(DayLog, TheClockIsReadOnce) {
    ScratchDir dir;
    int readings = 0;
    // A clock that moves on each reading: a second reading would land in another day.
    std::tm first = At(2024, 12, 31, 23, 59, 59);
    std::tm next = At(2025, 1, 1, 0, 0, 0);
    const std::string directory = Root(dir);
    WriteDayLog(DayLogSettings{directory.c_str(), [&] { return readings++ == 0 ? first : next; }});
    EXPECT_EQ(readings, 1);
    EXPECT_EQ(FilesIn(directory), std::vector<std::string>{"2024-12-31.txt"});
    EXPECT_EQ(dir.Read("2024-12-31.txt"), Entry("2024-12-31 23:59:59"));
}

TEST(DayLog, NothingIsWrittenAndNothingSaidWhenTheDirectoryCannotTakeIt) {
    ScratchDir dir;
    const std::string aFile = dir.Write("log", "not a directory");
    const std::string missing = dir.Path("missing") + platform::kPathSeparator + "deeper";
    const std::string tooLong = dir.Path(std::string(300, 'd'));
    const std::vector<std::string> directories = {aFile, missing, tooLong, ""};
    for (const std::string& directory : directories) {
        SCOPED_TRACE(directory);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        Write(directory, At(2024, 3, 5, 9, 7, 3));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_EQ(FilesIn(Root(dir)), std::vector<std::string>{"log"});
    EXPECT_EQ(dir.Read("log"), "not a directory");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

TEST(DayLog, TheSystemClockGivesAPlausibleLocalTime) {
    std::tm now = ReadLocalClock();
    EXPECT_GE(now.tm_year + 1900, 2024); // a zeroed or failed reading would give 1900
    EXPECT_GE(now.tm_mday, 1);
    EXPECT_LE(now.tm_mday, 31);
    EXPECT_GE(now.tm_mon, 0);
    EXPECT_LE(now.tm_mon, 11);
    EXPECT_GE(now.tm_hour, 0);
    EXPECT_LE(now.tm_hour, 23);
}

} // namespace
