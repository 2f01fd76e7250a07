// Which install folders the console's installer makes localIp.txt in, as the system account.
#include <gtest/gtest.h>

#include "packaging/windows/setup_actions/install_folder_check.h"

namespace {

constexpr const char* kSystem = "S-1-5-18";
constexpr const char* kStudent = "S-1-5-21-1004336348-1177238915-682003330-1001";

struct Case {
    bool reparsePoint;
    const char* owner;
    const char* installing;
    InstallFolderVerdict verdict;
};

const Case kCases[] = {
    {false, "S-1-5-32-544", kSystem, InstallFolderVerdict::usable},
    {false, "S-1-5-18", kSystem, InstallFolderVerdict::usable},
    {false, "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", kSystem,
     InstallFolderVerdict::usable},
    // The account that makes the file (Wine's user, which the installer runs as there).
    {false, kStudent, kStudent, InstallFolderVerdict::usable},
    {false, kStudent, kSystem, InstallFolderVerdict::foreignOwner},
    {false, "S-1-5-32-545", kSystem, InstallFolderVerdict::foreignOwner}, // Users
    {false, "S-1-1-0", kSystem, InstallFolderVerdict::foreignOwner},      // Everyone
    {false, "S-1-5-32-5440", kSystem, InstallFolderVerdict::foreignOwner},
    {false, "S-1-5-32-54", kSystem, InstallFolderVerdict::foreignOwner},
    {false, "", kSystem, InstallFolderVerdict::foreignOwner},
    {false, "", "", InstallFolderVerdict::foreignOwner}, // neither could be read
    {true, "S-1-5-32-544", kSystem, InstallFolderVerdict::reparsePoint},
    {true, kStudent, kSystem, InstallFolderVerdict::reparsePoint},
};

TEST(InstallFolderCheckTest, OnlyARealFolderOfTheAdministratorsIsUsed) {
    for (const Case& c : kCases) {
        EXPECT_EQ(JudgeInstallFolder(c.reparsePoint, c.owner, c.installing), c.verdict)
            << "reparse point " << c.reparsePoint << ", owner '" << c.owner << "', installing '"
            << c.installing << "'";
    }
}

} // namespace
