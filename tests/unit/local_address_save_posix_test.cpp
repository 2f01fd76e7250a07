// A save of the local address file that fails keeps the old address: a read-only file, a
// read-only folder, and a disk that takes no more bytes. Each save runs in a child process,
// which gives up root's rights (root writes anywhere) or is held to a file size of zero.
#include "discovery/local_address_file.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace {

constexpr uid_t kNobody = 65534;

enum class Limit { unprivileged, noMoreBytes };

// The save's status as the child saw it, or -1 when the child did not report one.
int SaveInChild(const std::string& path, Limit limit) {
    pid_t child = ::fork();
    if (child == 0) {
        if (limit == Limit::noMoreBytes) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
            rlimit none{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &none);
        } else if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(100);
        }
        ::_exit(static_cast<int>(WriteLocalAddress(path, 0x0A000005)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

struct FailedSaveCase {
    const char* what;
    mode_t folderMode;
    mode_t fileMode;
    Limit limit;
};

TEST(LocalAddressSave, AFailedSaveKeepsTheOldAddressAndLeavesNothingBehind) {
    const FailedSaveCase cases[] = {
        {"the file is read-only", 0777, 0444, Limit::unprivileged},
        {"the folder is read-only", 0555, 0666, Limit::unprivileged},
        {"the disk takes no more bytes", 0755, 0644, Limit::noMoreBytes},
    };
    for (const FailedSaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::string path = dir.Write("localIp.txt", "192.168.100.200 ");
        std::string folder = std::filesystem::path(path).parent_path().string();
        ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        int status = SaveInChild(path, c.limit);
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(status, static_cast<int>(LocalAddressFileStatus::unwritable));
        EXPECT_EQ(dir.Read("localIp.txt"), "192.168.100.200 ");
        EXPECT_FALSE(std::filesystem::exists(LocalAddressSavingPath(path)));
    }
}

TEST(LocalAddressSave, ASavedFileKeepsItsPermissions) {
    ScratchDir dir;
    std::string path = dir.Write("localIp.txt", "192.168.100.200 ");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteLocalAddress(path, 0x0A000005), LocalAddressFileStatus::ok);
    struct stat saved {};
    ASSERT_EQ(::stat(path.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.Read("localIp.txt"), "10.0.0.5 ");
}

} // namespace
