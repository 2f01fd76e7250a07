// Who besides administrators may change the service's program or its folder, from the owner
// and permissions as Windows reports them.
#include "agent/object_rights.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace bits = access_bits;
using Why = Outsider::Why;

constexpr const char* kUsers = "S-1-5-32-545";
constexpr const char* kAuthenticatedUsers = "S-1-5-11";
constexpr const char* kStudent = "S-1-5-21-1-2-3-1001";
constexpr const char* kTeacher = "S-1-5-21-1-2-3-500"; // the administrator who installs
constexpr std::uint32_t kFull = 0x1f01ff;
constexpr std::uint32_t kModify = 0x1301bf;
constexpr std::uint32_t kReadExecute = 0x1200a9;
constexpr std::uint32_t kGenericReadExecute = 0xa0000000;

AccessEntry Allow(std::string trustee, std::uint32_t mask, bool inheritOnly = false) {
    return {true, inheritOnly, mask, std::move(trustee)};
}

// A folder under Program Files as an installer leaves it.
std::vector<AccessEntry> ProgramFiles() {
    return {Allow(well_known_sid::kTrustedInstaller, kFull),
            Allow(well_known_sid::kTrustedInstaller, bits::kGenericAll, true),
            Allow(well_known_sid::kSystem, kFull),
            Allow(well_known_sid::kSystem, bits::kGenericAll, true),
            Allow(well_known_sid::kAdministrators, kFull),
            Allow(well_known_sid::kAdministrators, bits::kGenericAll, true),
            Allow(kUsers, kReadExecute),
            Allow(kUsers, kGenericReadExecute, true),
            Allow(well_known_sid::kCreatorOwner, bits::kGenericAll, true),
            Allow("S-1-15-2-1", kReadExecute)};
}

std::vector<AccessEntry> With(std::vector<AccessEntry> entries, AccessEntry extra) {
    entries.push_back(std::move(extra));
    return entries;
}

struct Case {
    const char* what;
    ObjectRights rights;
    const char* installer;
    bool outsider;
    Why why;
    std::string trustee;
};

TEST(ObjectRights, OnlyAdministratorsTheSystemAndTheInstallerMayChangeTheProgram) {
    const std::string admins = well_known_sid::kAdministrators;
    const Case cases[] = {
        {"Program Files", {admins, true, ProgramFiles()}, "", false, {}, ""},
        {"owned by the system", {well_known_sid::kSystem, true, ProgramFiles()}, "", false, {}, ""},
        {"the installer's own folder",
         {kTeacher, true, {Allow(kTeacher, kFull), Allow(admins, kFull)}},
         kTeacher,
         false,
         {},
         ""},
        {"a student's own folder",
         {kStudent, true, ProgramFiles()},
         kTeacher,
         true,
         Why::owns,
         kStudent},
        {"owner unreadable", {"", true, ProgramFiles()}, "", true, Why::owns, ""},
        {"a folder beside C:\\ Windows",
         {admins, true, With(ProgramFiles(), Allow(kAuthenticatedUsers, kModify))},
         "",
         true,
         Why::mayWrite,
         kAuthenticatedUsers},
        {"no DACL", {admins, false, {}}, "", true, Why::noDacl, well_known_sid::kEveryone},
        {"users refused writing",
         {admins, true, With(ProgramFiles(), {false, false, kFull, kUsers})},
         "",
         false,
         {},
         ""},
        {"users may set attributes only",
         {admins, true, With(ProgramFiles(), Allow(kUsers, 0x100 | 0x10))},
         "",
         false,
         {},
         ""},
        {"users write into what is made inside",
         {admins, true, With(ProgramFiles(), Allow(kUsers, bits::kGenericWrite, true))},
         "",
         true,
         Why::mayWrite,
         kUsers},
        {"creator owner on the folder itself",
         {admins, true, With(ProgramFiles(), Allow(well_known_sid::kCreatorOwner, kModify))},
         "",
         true,
         Why::mayWrite,
         well_known_sid::kCreatorOwner},
        {"an unreadable trustee",
         {admins, true, With(ProgramFiles(), Allow("", kModify))},
         "",
         true,
         Why::mayWrite,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<Outsider> found = FindOutsiderWhoCanChange(c.rights, c.installer);
        ASSERT_EQ(found.has_value(), c.outsider);
        if (found) {
            EXPECT_EQ(found->why, c.why);
            EXPECT_EQ(found->trustee, c.trustee);
        }
    }
}

TEST(ObjectRights, EachRightThatChangesAFileOrAFolderCounts) {
    const std::uint32_t changes[] = {bits::kWriteData,  bits::kAppendData,  bits::kDeleteChild,
                                     bits::kDelete,     bits::kWriteDac,    bits::kWriteOwner,
                                     bits::kGenericAll, bits::kGenericWrite};
    for (std::uint32_t mask : changes) {
        SCOPED_TRACE(mask);
        ObjectRights rights{well_known_sid::kAdministrators, true,
                            With(ProgramFiles(), Allow(kUsers, kReadExecute | mask))};
        std::optional<Outsider> found = FindOutsiderWhoCanChange(rights, "");
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->trustee, kUsers);
    }
}

} // namespace
