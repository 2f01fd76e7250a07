// The save of the local address file with the rights a presenter has: a folder that takes no
// new files (a program folder) does not stop it; a read-only file, or a disk that takes fewer
// bytes than the new address needs, keeps the old address. Each save runs in a child process,
// which gives up root's rights (root writes anywhere) or is held to a file size.
#include "discovery/local_address_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

namespace {

constexpr uid_t kNobody = 65534;
constexpr rlim_t kNoLimit = RLIM_INFINITY;

// The save's status as the child saw it, or -1 when the child did not report one. The child
// runs as nobody and may write no file past sizeLimit bytes.
int SaveInChild(const std::string& path, PackedAddress address, rlim_t sizeLimit) {
    pid_t child = ::fork();
    if (child == 0) {
        if (sizeLimit != kNoLimit) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
            rlimit limit{sizeLimit, sizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(100);
        }
        ::_exit(static_cast<int>(WriteLocalAddress(path, address)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

struct SaveCase {
    const char* what;
    std::string before;
    PackedAddress address;
    mode_t folderMode;
    mode_t fileMode;
    rlim_t sizeLimit;
    LocalAddressFileStatus status;
    std::string after;
};

TEST(LocalAddressSave, WriteRightsOnTheFileSufficeAndAFailedSaveKeepsTheOldAddress) {
    using S = LocalAddressFileStatus;
    const SaveCase cases[] = {
        {"the folder takes no new files", "127.100.100.200 ", 0x7F000005, 0555, 0666, kNoLimit,
         S::ok, "127.0.0.5 "},
        {"a longer address in a folder that takes no new files", "127.0.0.5 ", 0x7F6464C8, 0555,
         0666, kNoLimit, S::ok, "127.100.100.200 "},
        {"the file is read-only", "127.100.100.200 ", 0x7F000005, 0777, 0444, kNoLimit,
         S::unwritable, "127.100.100.200 "},
        {"the disk takes no more bytes", "127.100.100.200 ", 0x7F000005, 0777, 0666, 0,
         S::unwritable, "127.100.100.200 "},
        {"the disk takes some bytes, fewer than the new address needs", "127.0.0.5 ", 0x7F6464C8,
         0777, 0666, 12, S::unwritable, "127.0.0.5 "},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::string path = dir.Write("localIp.txt", c.before);
        std::string folder = std::filesystem::path(path).parent_path().string();
        ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        int status = SaveInChild(path, c.address, c.sizeLimit);
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(status, static_cast<int>(c.status));
        EXPECT_EQ(dir.Read("localIp.txt"), c.after);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                                std::filesystem::directory_iterator()),
                  1)
            << "nothing but the file is left in its folder";
    }
}

TEST(LocalAddressSave, ASavedFileKeepsItsPermissions) {
    ScratchDir dir;
    std::string path = dir.Write("localIp.txt", "127.100.100.200 ");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteLocalAddress(path, 0x7F000005), LocalAddressFileStatus::ok);
    struct stat saved {};
    ASSERT_EQ(::stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.Read("localIp.txt"), "127.0.0.5 ");
}

} // namespace
