#include "agent/object_rights.h"

namespace {

bool Trusted(std::string_view sid, std::string_view installer) {
    return sid == well_known_sid::kAdministrators || sid == well_known_sid::kSystem ||
           sid == well_known_sid::kTrustedInstaller || (!installer.empty() && sid == installer);
}

} // namespace

std::optional<Outsider> FindOutsiderWhoCanChange(const ObjectRights& rights,
                                                 std::string_view installer) {
    if (!Trusted(rights.owner, installer)) {
        return Outsider{Outsider::Why::owns, rights.owner};
    }
    if (!rights.hasDacl) {
        return Outsider{Outsider::Why::noDacl, well_known_sid::kEveryone};
    }
    for (const AccessEntry& entry : rights.entries) {
        if (!entry.allows || (entry.mask & access_bits::kChanges) == 0 ||
            Trusted(entry.trustee, installer) ||
            (entry.trustee == well_known_sid::kCreatorOwner && entry.inheritOnly)) {
            continue;
        }
        return Outsider{Outsider::Why::mayWrite, entry.trustee};
    }
    return std::nullopt;
}
