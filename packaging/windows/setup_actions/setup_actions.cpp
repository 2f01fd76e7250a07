// The console's installer runs these two actions to make localIp.txt beside ClumaDeck.exe:
// the presenter's "set ip" rewrites that file without administrator rights, so it is made by
// these actions rather than installed as a package file, and every user of the PC may rewrite
// it. A localIp.txt that is there already is the room's own: an upgrade leaves its bytes and
// its permissions exactly as they are, a repair does not run these actions at all, and an
// uninstall leaves the file behind. The file is made as the system account, so it is made
// only in a folder that no user below an administrator controls (install_folder_check.h),
// with its permissions given at creation, never set by name afterwards.
#include <windows.h>

#include <aclapi.h>
#include <msi.h>
#include <msiquery.h>
#include <sddl.h>

#include <string>

#include "packaging/windows/setup_actions/install_folder_check.h"
#include "packaging/windows/setup_actions/local_address_text.h"

namespace {

// The deferred action's name: Windows Installer hands it the property of the same name.
constexpr wchar_t kWriteAction[] = L"WriteLocalAddressFile";
// Users (every local and domain account) may read and rewrite the file, the system and the
// administrators do anything; nothing inherited, so the folder's rights cannot add to it.
constexpr wchar_t kUsersMayRewrite[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFW;;;BU)";

struct Record {
    MSIHANDLE handle;
    explicit Record(unsigned fields) : handle(MsiCreateRecord(fields)) {}
    ~Record() { MsiCloseHandle(handle); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
};

struct LocalMemory {
    void* pointer = nullptr;
    ~LocalMemory() { LocalFree(pointer); }
};

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
    DWORD size = 0;
    wchar_t empty[1] = L"";
    if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA) {
        return std::wstring();
    }
    std::wstring value(size + 1, L'\0');
    size = static_cast<DWORD>(value.size());
    if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    value.resize(size);
    return value;
}

// One line in the installer's log; with error set, also the message a user sees when the
// install has a user interface.
void Report(MSIHANDLE install, const std::wstring& text, bool error) {
    Record record(1);
    MsiRecordSetStringW(record.handle, 0, text.c_str());
    MsiProcessMessage(install,
                      error ? INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK) : INSTALLMESSAGE_INFO,
                      record.handle);
}

std::wstring SystemMessage(DWORD code) {
    return L"(system error " + std::to_wstring(code) + L")";
}

std::string SidText(PSID sid) {
    LocalMemory text;
    if (sid == nullptr || !ConvertSidToStringSidA(sid, reinterpret_cast<char**>(&text.pointer))) {
        return std::string();
    }
    return static_cast<const char*>(text.pointer);
}

// The account this action runs as: the system account on Windows.
std::string InstallingAccount() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return std::string();
    }
    FileHandle closer{token};
    alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        return std::string();
    }
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Refuses a folder that a user could have made, re-permitted or pointed elsewhere. The
// folder stays open while the file is made (held without delete sharing, it cannot be
// renamed or replaced in between).
bool CheckInstallFolder(MSIHANDLE install, const std::wstring& folder, FileHandle& held) {
    std::wstring name = folder;
    while (name.size() > 3 && name.back() == L'\\') {
        name.pop_back(); // "C:\x\link\" would be looked up through the link
    }
    held.handle = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (held.handle == INVALID_HANDLE_VALUE) {
        Report(install,
               L"localIp.txt: the install folder cannot be opened: " + folder + L" " +
                   SystemMessage(GetLastError()),
               true);
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    DWORD byName = GetFileAttributesW(name.c_str());
    bool reparse = !GetFileInformationByHandle(held.handle, &information) ||
                   (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                   byName == INVALID_FILE_ATTRIBUTES ||
                   (byName & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    PSID owner = nullptr;
    LocalMemory descriptor;
    std::string ownerText;
    if (GetSecurityInfo(held.handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr,
                        reinterpret_cast<PSECURITY_DESCRIPTOR*>(&descriptor.pointer)) ==
        ERROR_SUCCESS) {
        ownerText = SidText(owner);
    }
    switch (JudgeInstallFolder(reparse, ownerText, InstallingAccount())) {
    case InstallFolderVerdict::usable:
        return true;
    case InstallFolderVerdict::reparsePoint:
        Report(install,
               L"localIp.txt is not made: the install folder " + folder +
                   L" is a link or junction to another place (a reparse point). Install into "
                   L"a real folder, such as the default one under Program Files.",
               true);
        return false;
    case InstallFolderVerdict::foreignOwner:
        Report(install,
               L"localIp.txt is not made: the install folder " + folder + L" is owned by " +
                   (ownerText.empty() ? std::wstring(L"an unknown account") : Widen(ownerText)) +
                   L", not by the administrators, so that account could change what the "
                   L"system writes there. Install into a folder that only administrators "
                   L"control, such as the default one under Program Files.",
               true);
        return false;
    }
    return false;
}

} // namespace

// Immediate, before the install begins: checks LOCALIP and tells the deferred action where
// the file goes and what it holds. A LOCALIP that is not an address stops the install before
// anything is changed.
extern "C" UINT __stdcall CheckLocalAddress(MSIHANDLE install) {
    std::wstring property = Property(install, L"LOCALIP");
    std::string narrow;
    bool ascii = true;
    for (wchar_t c : property) {
        ascii = ascii && c > 0 && c < 0x80;
        narrow.push_back(static_cast<char>(c));
    }
    std::optional<std::string> text = ascii ? LocalAddressFileText(narrow) : std::nullopt;
    if (!text) {
        Report(install,
               L"LOCALIP must be the console's own address as four numbers from 0 to 255, "
               L"such as 192.168.1.10, not \"" +
                   property + L"\".",
               true);
        return ERROR_INSTALL_FAILURE;
    }
    std::wstring data = Property(install, L"INSTALLDIR") + L"localIp.txt|" +
                        std::wstring(text->begin(), text->end());
    return MsiSetPropertyW(install, kWriteAction, data.c_str()) == ERROR_SUCCESS
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

// Deferred, as the system account, once the program's files are in place, on the first
// installation only: makes the file when it is missing.
extern "C" UINT __stdcall WriteLocalAddressFile(MSIHANDLE install) {
    std::wstring data = Property(install, L"CustomActionData");
    std::size_t bar = data.rfind(L'|');
    std::size_t slash = data.rfind(L'\\', bar);
    if (bar == std::wstring::npos || slash == std::wstring::npos) {
        Report(install, L"localIp.txt: the installer passed no file name.", true);
        return ERROR_INSTALL_FAILURE;
    }
    std::wstring path = data.substr(0, bar);
    std::wstring folder = data.substr(0, slash + 1);
    std::string text(data.begin() + static_cast<std::ptrdiff_t>(bar) + 1, data.end());

    FileHandle held{INVALID_HANDLE_VALUE};
    if (!CheckInstallFolder(install, folder, held)) {
        return ERROR_INSTALL_FAILURE;
    }
    LocalMemory descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            kUsersMayRewrite, SDDL_REVISION_1,
            reinterpret_cast<PSECURITY_DESCRIPTOR*>(&descriptor.pointer), nullptr)) {
        Report(install, L"localIp.txt: no permissions to give it " + SystemMessage(GetLastError()),
               true);
        return ERROR_INSTALL_FAILURE;
    }
    SECURITY_ATTRIBUTES security{sizeof security, descriptor.pointer, FALSE};
    // CREATE_NEW never opens what is there, a link included; the permissions come with the
    // file, so there is no moment in which it exists without them.
    FileHandle file{CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, &security, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS) {
            Report(install, L"localIp.txt is there already and is kept as it is: " + path, false);
            return ERROR_SUCCESS;
        }
        Report(install, L"localIp.txt cannot be made: " + path + L" " + SystemMessage(error), true);
        return ERROR_INSTALL_FAILURE;
    }
    DWORD written = 0;
    bool ok = text.empty() || (WriteFile(file.handle, text.data(), static_cast<DWORD>(text.size()),
                                         &written, nullptr) &&
                               written == text.size());
    if (!ok) {
        DWORD error = GetLastError();
        // Half made, the file would be kept by every later upgrade: it goes when closed.
        FILE_DISPOSITION_INFO remove{TRUE};
        SetFileInformationByHandle(file.handle, FileDispositionInfo, &remove, sizeof remove);
        Report(install, L"localIp.txt cannot be written: " + path + L" " + SystemMessage(error),
               true);
        return ERROR_INSTALL_FAILURE;
    }
    Report(install, L"localIp.txt made, rewritable by every user: " + path, false);
    return ERROR_SUCCESS;
}
