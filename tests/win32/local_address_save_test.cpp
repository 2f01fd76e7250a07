// A save of the local address file that Windows refuses keeps the old address: the file is
// read-only, or another program holds it open without sharing.
#include "discovery/local_address_file.h"

#include "platform/owned_handle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr PackedAddress k10_0_0_5 = 0x0A000005;
constexpr DWORD kBoundMs = 10000;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::filesystem::path(path).parent_path().string();
}

class LocalAddressSaveTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_);
        std::ofstream(path_, std::ios::binary) << "192.168.100.200 ";
    }
    void TearDown() override {
        ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void ExpectTheOldAddressKept() {
        EXPECT_EQ(Read(path_), "192.168.100.200 ");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                                std::filesystem::directory_iterator()),
                  1);
    }

    std::filesystem::path folder_ = std::filesystem::temp_directory_path() /
                                    ("cluma-save-" + std::to_string(::GetCurrentProcessId()));
    std::string path_ = (folder_ / "localIp.txt").string();
};

TEST_F(LocalAddressSaveTest, AReadOnlyFileKeepsTheOldAddress) {
    ASSERT_TRUE(::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteLocalAddress(path_, k10_0_0_5), LocalAddressFileStatus::unwritable);
    ExpectTheOldAddressKept();
}

TEST_F(LocalAddressSaveTest, AFileHeldOpenByAnotherProgramKeepsTheOldAddressUntilReleased) {
    const std::string tag = std::to_string(::GetCurrentProcessId());
    const std::string readyName = "cluma-holder-ready-" + tag;
    const std::string releaseName = "cluma-holder-release-" + tag;
    OwnedHandle ready(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    OwnedHandle release(::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    std::string command = "\"" + ProgramFolder() + "\\file_holder.exe\" \"" + path_ + "\" " +
                          readyName + " " + releaseName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started))
        << command;
    OwnedHandle holder(started.hProcess);
    OwnedHandle holderThread(started.hThread);
    HANDLE either[] = {ready.Get(), holder.Get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, either, FALSE, kBoundMs), WAIT_OBJECT_0)
        << "the holder did not open the file";

    EXPECT_EQ(WriteLocalAddress(path_, k10_0_0_5), LocalAddressFileStatus::unwritable);

    ::SetEvent(release.Get());
    ASSERT_EQ(::WaitForSingleObject(holder.Get(), kBoundMs), WAIT_OBJECT_0);
    ExpectTheOldAddressKept();
    // Once the other program lets go, the presenter's next OK saves.
    EXPECT_EQ(WriteLocalAddress(path_, k10_0_0_5), LocalAddressFileStatus::ok);
    EXPECT_EQ(Read(path_), "10.0.0.5 ");
}

} // namespace
