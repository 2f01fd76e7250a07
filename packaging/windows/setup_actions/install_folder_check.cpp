#include "packaging/windows/setup_actions/install_folder_check.h"

namespace {

constexpr std::string_view kTrustedOwners[] = {
    "S-1-5-32-544",                                                   // BUILTIN\Administrators
    "S-1-5-18",                                                       // the system account
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", // TrustedInstaller
};

} // namespace

InstallFolderVerdict JudgeInstallFolder(bool reparsePoint, std::string_view ownerSid,
                                        std::string_view installingSid) {
    if (reparsePoint) {
        return InstallFolderVerdict::reparsePoint;
    }
    if (ownerSid.empty()) {
        return InstallFolderVerdict::foreignOwner;
    }
    for (std::string_view trusted : kTrustedOwners) {
        if (ownerSid == trusted) {
            return InstallFolderVerdict::usable;
        }
    }
    return ownerSid == installingSid ? InstallFolderVerdict::usable
                                     : InstallFolderVerdict::foreignOwner;
}
