#include "agent/object_rights_win32.h"

#include <cstddef>
#include <memory>

#include <aclapi.h>
#include <sddl.h>

namespace {

struct LocalFreeDeleter {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (sid == nullptr || !::ConvertSidToStringSidA(sid, &text)) {
        return std::string();
    }
    std::unique_ptr<char, LocalFreeDeleter> owned(text);
    return std::string(text);
}

// The trustee of an entry: the SID follows the mask in the plain and callback entries, and the
// optional object GUIDs in the object entries. Null when the entry is too short to hold it.
PSID EntrySid(const ACE_HEADER* header) {
    const BYTE* ace = reinterpret_cast<const BYTE*>(header);
    std::size_t offset = sizeof(ACE_HEADER) + sizeof(ACCESS_MASK);
    switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_ACE_TYPE:
        break;
    case ACCESS_ALLOWED_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_OBJECT_ACE_TYPE:
    case ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE:
    case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE: {
        if (header->AceSize < offset + sizeof(DWORD)) {
            return nullptr;
        }
        DWORD flags = reinterpret_cast<const ACCESS_ALLOWED_OBJECT_ACE*>(ace)->Flags;
        offset += sizeof(DWORD);
        offset += (flags & ACE_OBJECT_TYPE_PRESENT) ? sizeof(GUID) : 0;
        offset += (flags & ACE_INHERITED_OBJECT_TYPE_PRESENT) ? sizeof(GUID) : 0;
        break;
    }
    default:
        return nullptr;
    }
    // A SID: revision, count of sub-authorities, six bytes of authority, four per sub-authority.
    constexpr std::size_t kSidHead = 8;
    if (header->AceSize < offset + kSidHead ||
        header->AceSize < offset + kSidHead + 4 * std::size_t{ace[offset + 1]}) {
        return nullptr;
    }
    return const_cast<BYTE*>(ace + offset);
}

bool IsAllowEntry(BYTE type) {
    return type == ACCESS_ALLOWED_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
           type == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
           type == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
}

} // namespace

ObjectRights ToObjectRights(PSECURITY_DESCRIPTOR descriptor) {
    ObjectRights rights;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) {
        rights.owner = SidText(owner);
    }
    BOOL present = FALSE;
    PACL acl = nullptr;
    if (!::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted) || !present ||
        acl == nullptr) {
        rights.hasDacl = false;
        return rights;
    }
    for (DWORD index = 0; index < acl->AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(acl, index, &ace)) {
            continue;
        }
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceSize < sizeof(ACE_HEADER) + sizeof(ACCESS_MASK)) {
            continue;
        }
        AccessEntry entry;
        entry.allows = IsAllowEntry(header->AceType);
        entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
        // Every kind of entry keeps its mask right after the header.
        entry.mask = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(ace)->Mask;
        PSID sid = EntrySid(header);
        entry.trustee = sid != nullptr && ::IsValidSid(sid) ? SidText(sid) : std::string();
        rights.entries.push_back(entry);
    }
    return rights;
}

bool ReadObjectRights(const std::string& path, ObjectRights& rights, DWORD& error) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    error = ::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, nullptr, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        return false;
    }
    std::unique_ptr<void, LocalFreeDeleter> owned(descriptor);
    rights = ToObjectRights(descriptor);
    return true;
}

std::string ProcessUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return std::string();
    }
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    DWORD size = 0;
    bool read = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) != 0;
    ::CloseHandle(token);
    return read ? SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid) : std::string();
}

std::string TrusteeText(const std::string& sid) {
    PSID binary = nullptr;
    if (sid.empty() || !::ConvertStringSidToSidA(sid.c_str(), &binary)) {
        return sid.empty() ? "an account whose name cannot be read" : sid;
    }
    std::unique_ptr<void, LocalFreeDeleter> owned(binary);
    char name[256] = {};
    char domain[256] = {};
    DWORD nameSize = sizeof name;
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use{};
    if (!::LookupAccountSidA(nullptr, binary, name, &nameSize, domain, &domainSize, &use) ||
        name[0] == '\0') {
        return sid;
    }
    std::string text = domain[0] != '\0' ? std::string(domain) + "\\" + name : std::string(name);
    return text + " (" + sid + ")";
}
