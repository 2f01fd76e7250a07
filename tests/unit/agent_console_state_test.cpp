// The remembered console's file: only exactly what the agent writes is trusted.
#include "agent/console_state.h"
#include "agent/state_file.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string kValid = "console 192.168.1.10\nlocal 192.168.1.23\n";

TEST(ConsoleState, WhatIsWrittenIsReadBack) {
    const ConsoleState states[] = {{"192.168.1.10", "192.168.1.23"},
                                   {"127.0.0.1", "127.0.0.7"},
                                   {"255.255.255.254", "1.0.0.0"}};
    for (const ConsoleState& state : states) {
        SCOPED_TRACE(state.console);
        EXPECT_EQ(ParseConsoleState(FormatConsoleState(state)), state);
    }
    EXPECT_EQ(FormatConsoleState({"192.168.1.10", "192.168.1.23"}), kValid);
}

TEST(ConsoleState, AnythingElseIsNoConsoleKnown) {
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"truncated in the second address", kValid.substr(0, kValid.size() - 4)},
        {"truncated before the last newline", kValid.substr(0, kValid.size() - 1)},
        {"only the first line", "console 192.168.1.10\n"},
        {"oversized", kValid + std::string(100, ' ')},
        {"a name where an address belongs", "console presenter-pc\nlocal 192.168.1.23\n"},
        {"a second line of rubbish", "console 192.168.1.10\n#!%&/()=?\n"},
        {"a third line", kValid + "local 10.0.0.1\n"},
        {"lines swapped", "local 192.168.1.23\nconsole 192.168.1.10\n"},
        {"Windows line ends", "console 192.168.1.10\r\nlocal 192.168.1.23\r\n"},
        {"a zero byte", std::string("console 192.168.1.10\nlocal 192.168.1.2\0\n", 40)},
        {"a space too many", "console  192.168.1.10\nlocal 192.168.1.23\n"},
        {"a number past 255", "console 192.168.1.256\nlocal 192.168.1.23\n"},
        {"a leading zero", "console 192.168.1.010\nlocal 192.168.1.23\n"},
        {"three numbers", "console 192.168.1\nlocal 192.168.1.23\n"},
        {"five numbers", "console 192.168.1.10.1\nlocal 192.168.1.23\n"},
        {"the any address", "console 0.0.0.0\nlocal 192.168.1.23\n"},
        {"the broadcast address", "console 192.168.1.10\nlocal 255.255.255.255\n"},
        {"a sign", "console +192.168.1.10\nlocal 192.168.1.23\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseConsoleState(c.text), std::nullopt);
    }
}

TEST(ConsoleState, FilesThatCannotBeTrustedAreNoConsoleKnown) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.Path("a-folder"));
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing", dir.Path("missing")},
        {"not readable (a folder)", dir.Path("a-folder")},
        {"empty", dir.Write("empty", "")},
        {"oversized", dir.Write("oversized", kValid + std::string(1 << 20, '\n'))},
        {"garbled", dir.Write("garbled", "console 192.168.1.10\nlocal 192.168.1.x\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadConsoleState(c.path), std::nullopt);
    }
    ConsoleState expected{"192.168.1.10", "192.168.1.23"};
    EXPECT_EQ(ReadConsoleState(dir.Write("valid", kValid)), expected);
}

TEST(ConsoleState, WritingReplacesTheFileWholeAndMakesItsFolder) {
    ScratchDir dir;
    std::string path = dir.Path("new/folder/state");
    std::string error;
    ASSERT_TRUE(WriteConsoleState(path, {"10.0.0.1", "10.0.0.2"}, error)) << error;
    ASSERT_TRUE(WriteConsoleState(path, {"10.0.0.3", "10.0.0.4"}, error)) << error;
    EXPECT_EQ(ReadConsoleState(path), (ConsoleState{"10.0.0.3", "10.0.0.4"}));
    EXPECT_FALSE(std::filesystem::exists(path + ".new")); // no temporary file left behind

    // Nothing but a valid state is written: the old file stays as it was.
    EXPECT_FALSE(WriteConsoleState(path, {"presenter", "10.0.0.4"}, error));
    EXPECT_NE(error.find("presenter"), std::string::npos) << error;
    EXPECT_EQ(ReadConsoleState(path), (ConsoleState{"10.0.0.3", "10.0.0.4"}));

    // A folder where the file belongs cannot be replaced: an error, and no temporary file.
    std::filesystem::create_directories(dir.Path("taken"));
    EXPECT_FALSE(WriteConsoleState(dir.Path("taken"), {"10.0.0.1", "10.0.0.2"}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.Path("taken.new")));
}

} // namespace
