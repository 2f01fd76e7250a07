#include "discovery/subnet_prefix.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

namespace {

struct PrefixCase {
    const char* what;
    std::string content;
    std::string prefix;
    bool usable;
};

TEST(SubnetPrefix, FirstLineCutBeforeItsLastDot) {
    const PrefixCase cases[] = {
        {"as the dialog writes it", "192.168.1.10 ", "192.168.1", true},
        {"loopback", "127.0.0.1 ", "127.0.0", true},
        {"LF line end", "10.1.2.3\n", "10.1.2", true},
        {"CR LF line end", "10.1.2.3\r\n", "10.1.2", true},
        {"only the first line counts", "10.1.2.3 \n172.16.0.1 \n", "10.1.2", true},
        {"trailing text after the last dot is cut", "10.1.2.3 junk", "10.1.2", true},
        {"no dot", "localhost", "", true},
        {"empty file", "", "", true},
        {"empty first line", "\n10.1.2.3 ", "", true},
        {"zero byte inside", std::string("127.0\0.0.1 ", 11), "", false},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "", true},
        {"prefix of 27 characters fits", std::string(27, '1') + ".1", std::string(27, '1'), true},
        {"prefix of 28 characters cannot fit .256", std::string(28, '1') + ".1", "", false},
        {"one 10 MB line", std::string(10 * 1024 * 1024, '7') + ".5 ", "", false},
    };
    ScratchDir dir;
    for (const PrefixCase& c : cases) {
        SCOPED_TRACE(c.what);
        SubnetPrefixReading reading = ReadSubnetPrefixFrom(dir.Write("localIp.txt", c.content));
        EXPECT_EQ(reading.prefix, c.prefix);
        EXPECT_EQ(reading.usable, c.usable);
    }
}

TEST(SubnetPrefix, MissingFileGivesAnEmptyPrefix) {
    ScratchDir dir;
    SubnetPrefixReading reading = ReadSubnetPrefixFrom(dir.Path("no-such-file.txt"));
    EXPECT_EQ(reading.prefix, "");
    EXPECT_TRUE(reading.usable);
}

TEST(SubnetPrefix, DirectoryInPlaceOfTheFileGivesAnEmptyPrefix) {
    ScratchDir dir;
    SubnetPrefixReading reading = ReadSubnetPrefixFrom(dir.Path(""));
    EXPECT_EQ(reading.prefix, "");
}

} // namespace
