#include "discovery/local_address_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace {

constexpr PackedAddress Pack(unsigned a, unsigned b, unsigned c, unsigned d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

struct WriteCase {
    const char* what;
    std::string before;
    PackedAddress address;
    std::string after;
};

TEST(LocalAddressFile, OkReplacesTheWholeContentWithTheAddressAndOneSpace) {
    const WriteCase cases[] = {
        {"shorter over longer", "192.168.100.200 ", Pack(10, 0, 0, 5), "10.0.0.5 "},
        {"all blank fields", "192.168.1.10 ", 0, "0.0.0.0 "},
        {"longest", "1.1.1.1 ", Pack(255, 255, 255, 255), "255.255.255.255 "},
        {"old line end and junk gone", "10.1.1.1\r\nmore\r\n", Pack(192, 168, 1, 10),
         "192.168.1.10 "},
        {"empty file", "", Pack(127, 0, 0, 1), "127.0.0.1 "},
    };
    ScratchDir dir;
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = dir.Write("localIp.txt", c.before);
        EXPECT_EQ(WriteLocalAddress(path, c.address), LocalAddressFileStatus::ok);
        EXPECT_EQ(dir.Read("localIp.txt"), c.after);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST(LocalAddressFile, AMissingFileIsNotCreated) {
    ScratchDir dir;
    EXPECT_EQ(WriteLocalAddress(dir.Path("localIp.txt"), Pack(10, 0, 0, 5)),
              LocalAddressFileStatus::missing);
    EXPECT_EQ(ReadLocalAddressHead(dir.Path("localIp.txt")).status,
              LocalAddressFileStatus::missing);
    EXPECT_EQ(WriteLocalAddress(dir.Path(""), 1), LocalAddressFileStatus::missing)
        << "a folder is no file";
}

TEST(LocalAddressFile, TheDialogReadsAtMostThirtyTwoBytesUpToAZero) {
    struct ReadCase {
        std::string content;
        std::string text;
    };
    const ReadCase cases[] = {
        {"192.168.1.10 ", "192.168.1.10 "},
        {std::string(40, '1'), std::string(32, '1')},
        {std::string("10.0.0.1\0junk", 13), "10.0.0.1"},
        {"", ""},
    };
    ScratchDir dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.content);
        LocalAddressReading reading = ReadLocalAddressHead(dir.Write("localIp.txt", c.content));
        EXPECT_EQ(reading.status, LocalAddressFileStatus::ok);
        EXPECT_EQ(reading.text, c.text);
    }
}

TEST(LocalAddressFile, DottedTextBecomesTheControlsFourFields) {
    using F = AddressFields;
    struct FieldCase {
        std::string text;
        F fields;
    };
    const FieldCase cases[] = {
        {"192.168.1.10 ", F{192, 168, 1, 10}},
        {"10.0.0.5", F{10, 0, 0, 5}},
        {"300.1.2.3", F{255, 1, 2, 3}},
        {"99999999999999999999.1.2.3", F{255, 1, 2, 3}},
        {"1.2", F{1, 2, std::nullopt, std::nullopt}},
        {"", F{}},
        {"a.b.c.d", F{}},
        {"1..3.4", F{1, std::nullopt, 3, 4}},
        {"1.2.3.4.5", F{1, 2, 3, 4}},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseAddressFields(c.text), c.fields);
    }
}

} // namespace
