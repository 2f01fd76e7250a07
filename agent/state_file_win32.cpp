// The state file on Windows: one for the machine, under the common application data folder.
#include "agent/console_state.h"
#include "agent/object_rights_win32.h"
#include "agent/state_file.h"
#include "agent/state_folder_win32.h"

#include <filesystem>
#include <memory>
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace {

std::string LastErrorText(DWORD code) {
    char text[256] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == '.' || text[length - 1] == ' ')) {
        text[--length] = '\0';
    }
    return length > 0 ? std::string(text) : "error " + std::to_string(code);
}

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        bool ok = true;
        if (handle_ != INVALID_HANDLE_VALUE) {
            ok = ::CloseHandle(handle_) != 0;
            handle_ = INVALID_HANDLE_VALUE;
        }
        return ok;
    }

private:
    HANDLE handle_;
};

struct LocalFreeDeleter {
    void operator()(void* memory) const { ::LocalFree(memory); }
};

// The state folder's owner and permissions. Protected, so that nothing inherited from above
// widens or narrows them.
constexpr const char* kStateFolderSecurity = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"
                                             "(A;OICI;0x1301bf;;;LS)(A;OICI;0x1200a9;;;BU)";

// An administrator's token holds the rights to take any file and to set any owner, but not
// switched on; the system's has them on. Without them a folder whose permissions leave
// Administrators out cannot be opened to be taken.
void EnableTakingFiles() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) {
        return;
    }
    for (const char* name : {SE_TAKE_OWNERSHIP_NAME, SE_RESTORE_NAME, SE_BACKUP_NAME}) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) {
            ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        }
    }
    ::CloseHandle(token);
}

bool OthersCanChange(HANDLE folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(folder, SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return true; // unreadable to an administrator: someone else set it so
    }
    std::unique_ptr<void, LocalFreeDeleter> owned(descriptor);
    return FindOutsiderWhoCanChange(ToObjectRights(descriptor), ProcessUserSid()).has_value();
}

} // namespace

std::string DefaultStateFolder() {
    char folder[MAX_PATH] = {};
    if (::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) !=
        S_OK) {
        DWORD length = ::GetEnvironmentVariableA("ProgramData", folder, sizeof folder);
        if (length == 0 || length >= sizeof folder) {
            lstrcpynA(folder, "C:\\ProgramData", sizeof folder);
        }
    }
    return std::string(folder) + "\\ClumaDeck";
}

bool RunsAsAdministrator() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                    0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    bool checked = ::CheckTokenMembership(nullptr, administrators, &member) != 0;
    ::FreeSid(administrators);
    return checked && member;
}

bool PrepareStateFolder(StateFolderClaim claim, std::string& error) {
    const std::string folder = DefaultStateFolder();
    bool created = ::CreateDirectoryA(folder.c_str(), nullptr) != 0;
    if (!created && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        error = "cannot create " + folder + ": " + LastErrorText(::GetLastError());
        return false;
    }
    if (claim == StateFolderClaim::whenCreated && !created) {
        return true; // an existing folder's owner has chosen its permissions
    }
    const bool takeOwnership = claim != StateFolderClaim::whenCreated;
    if (takeOwnership) {
        EnableTakingFiles();
    }
    // The folder itself, never what a link in its place leads to: a student's link to a
    // folder of Windows would otherwise hand that folder to LocalService.
    FileHandle handle(::CreateFileA(
        folder.c_str(), READ_CONTROL | WRITE_DAC | (takeOwnership ? WRITE_OWNER : 0),
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle.Valid()) {
        error =
            "cannot open " + folder + " to set its permissions: " + LastErrorText(::GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        error = folder + " is a link or a file, not a folder: remove it and try again";
        return false;
    }
    if (claim == StateFolderClaim::whenOthersCanChange && !OthersCanChange(handle.Get())) {
        return true;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            kStateFolderSecurity, SDDL_REVISION_1, &descriptor, nullptr)) {
        error =
            "cannot build the permissions of " + folder + ": " + LastErrorText(::GetLastError());
        return false;
    }
    std::unique_ptr<void, LocalFreeDeleter> owned(descriptor);
    PSID owner = nullptr;
    PACL acl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    ::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    ::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted);
    SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    if (takeOwnership) {
        what |= OWNER_SECURITY_INFORMATION;
    }
    DWORD result = ::SetSecurityInfo(handle.Get(), SE_FILE_OBJECT, what,
                                     takeOwnership ? owner : nullptr, nullptr, acl, nullptr);
    if (result != ERROR_SUCCESS) {
        error = "cannot set the owner and permissions of " + folder + ": " + LastErrorText(result);
        return false;
    }
    return true;
}

std::string DefaultConsoleStatePath() {
    return DefaultStateFolder() + "\\agent-state.txt";
}

std::vector<std::string> ConsoleStateReadPaths() {
    return {DefaultConsoleStatePath()};
}

bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error) {
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (::lstrcmpiA(folder.string().c_str(), DefaultStateFolder().c_str()) == 0 &&
        RunsAsAdministrator()) {
        // The machine's state folder, written with administrator rights: nobody else may
        // own or change it, or they could lead this write elsewhere.
        if (!PrepareStateFolder(StateFolderClaim::whenOthersCanChange, error)) {
            return false;
        }
    } else if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        if (failed) {
            error = "cannot create the folder " + folder.string() + ": " + failed.message();
            return false;
        }
    }
    // The new file takes the folder's inherited permissions, which the replace keeps: in the
    // state folder, every user may read it.
    // A file left in the temporary's place is removed, not written through: it may be a link
    // to another file.
    std::string temporary = path + ".new";
    ::DeleteFileA(temporary.c_str());
    FileHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        error = "cannot write " + temporary + ": " + LastErrorText(::GetLastError());
        return false;
    }
    DWORD written = 0;
    bool ok = ::WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()),
                          &written, nullptr) != 0 &&
              written == contents.size() && ::FlushFileBuffers(file.Get()) != 0;
    ok = file.Close() && ok;
    if (ok && ::MoveFileExA(temporary.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        ok = false;
    }
    if (!ok) {
        error = "cannot replace " + path + ": " + LastErrorText(::GetLastError());
        ::DeleteFileA(temporary.c_str());
    }
    return ok;
}
