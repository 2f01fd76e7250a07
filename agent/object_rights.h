// Who besides administrators may change a file or folder, decided from its owner and its
// permissions (DACL) as the system stores them. A program that runs as a service, and the
// folder it is loaded from, must be changeable by administrators alone: whoever may replace
// the file, or put a library beside it, runs code with the service's rights.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The access bits that let a trustee change a file or what a folder holds.
namespace access_bits {
inline constexpr std::uint32_t kWriteData = 0x2;    // a file's contents; a new file in a folder
inline constexpr std::uint32_t kAppendData = 0x4;   // a file's end; a new folder in a folder
inline constexpr std::uint32_t kDeleteChild = 0x40; // removing or renaming what a folder holds
inline constexpr std::uint32_t kDelete = 0x10000;
inline constexpr std::uint32_t kWriteDac = 0x40000;   // changing the permissions
inline constexpr std::uint32_t kWriteOwner = 0x80000; // taking ownership
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kChanges = kWriteData | kAppendData | kDeleteChild | kDelete |
                                          kWriteDac | kWriteOwner | kGenericAll | kGenericWrite;
} // namespace access_bits

namespace well_known_sid {
inline constexpr const char* kAdministrators = "S-1-5-32-544";
inline constexpr const char* kSystem = "S-1-5-18";
inline constexpr const char* kTrustedInstaller =
    "S-1-5-80-956008885-3418522649-1831038044-1850803264-2271478464";
inline constexpr const char* kCreatorOwner = "S-1-3-0";
inline constexpr const char* kEveryone = "S-1-1-0";
} // namespace well_known_sid

// One entry of a DACL.
struct AccessEntry {
    bool allows = true;       // an allow entry; deny entries only ever narrow who may change
    bool inheritOnly = false; // given to what is made inside a folder, not to the folder
    std::uint32_t mask = 0;
    std::string trustee; // the SID as text, such as "S-1-5-32-545"; empty when unreadable
};

struct ObjectRights {
    std::string owner;   // the SID as text; empty when unreadable
    bool hasDacl = true; // false: no DACL at all, which lets everyone do everything
    std::vector<AccessEntry> entries;
};

struct Outsider {
    enum class Why {
        owns,     // the owner may always change the permissions
        mayWrite, // an entry lets it write, delete or change the permissions
        noDacl,   // nothing restricts anyone
    };
    Why why;
    std::string trustee;
};

// The first trustee besides Administrators, SYSTEM, TrustedInstaller and installer (the
// administrator who installs, who may change the object anyway) that owns the object or may
// change it; CREATOR OWNER counts as trusted only in an inherit-only entry, which lends the
// rights to whoever makes something inside, which only the trusted can. Nullopt when none.
std::optional<Outsider> FindOutsiderWhoCanChange(const ObjectRights& rights,
                                                 std::string_view installer);
