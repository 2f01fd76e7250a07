// On Linux the state file must be readable by every user whatever the writer's umask: the
// agent serves as one user, students ask as others.
#include "agent/console_state.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class Umask {
public:
    explicit Umask(mode_t mask) : old_(::umask(mask)) {}
    ~Umask() { ::umask(old_); }

private:
    mode_t old_;
};

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(StateFilePosix, EveryUserMayReadTheFileAndTheFoldersMadeForIt) {
    ScratchDir dir;
    Umask strict(077);
    std::string error;
    ASSERT_TRUE(WriteConsoleState(dir.Path("made/state"), {"10.0.0.1", "10.0.0.2"}, error))
        << error;
    EXPECT_EQ(ModeOf(dir.Path("made/state")), 0644u);
    EXPECT_EQ(ModeOf(dir.Path("made")), 0755u);
}

} // namespace
