// The console's installer runs these two actions to make localIp.txt beside ClumaDeck.exe:
// the presenter's "set ip" rewrites that file without administrator rights, so it is made by
// these actions rather than installed as a package file, and every user of the PC may rewrite
// it. A localIp.txt that is there already is the room's own: an upgrade or a repair leaves its
// bytes and its permissions exactly as they are, and an uninstall leaves the file behind.
#include <windows.h>

#include <aclapi.h>
#include <msi.h>
#include <msiquery.h>
#include <sddl.h>

#include <string>

#include "packaging/windows/setup_actions/local_address_text.h"

namespace {

// The deferred action's name: Windows Installer hands it the property of the same name.
constexpr wchar_t kWriteAction[] = L"WriteLocalAddressFile";
// Users (every local and domain account) may read and rewrite the file; the rest of its
// permissions are inherited from the install folder.
constexpr wchar_t kUsersMayRewrite[] = L"D:(A;;FRFW;;;BU)";

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

bool LetUsersRewrite(const std::wstring& path, DWORD& error) {
    LocalMemory descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
            kUsersMayRewrite, SDDL_REVISION_1,
            reinterpret_cast<PSECURITY_DESCRIPTOR*>(&descriptor.pointer), nullptr)) {
        error = GetLastError();
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor.pointer, &present, &dacl, &defaulted)) {
        error = GetLastError();
        return false;
    }
    std::wstring writable_path = path;
    error = SetNamedSecurityInfoW(writable_path.data(), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, dacl, nullptr);
    return error == ERROR_SUCCESS;
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

// Deferred, as the system account, once the program's files are in place: makes the file
// when it is missing.
extern "C" UINT __stdcall WriteLocalAddressFile(MSIHANDLE install) {
    std::wstring data = Property(install, L"CustomActionData");
    std::size_t bar = data.rfind(L'|');
    if (bar == std::wstring::npos) {
        Report(install, L"localIp.txt: the installer passed no file name.", true);
        return ERROR_INSTALL_FAILURE;
    }
    std::wstring path = data.substr(0, bar);
    std::string text(data.begin() + static_cast<std::ptrdiff_t>(bar) + 1, data.end());

    FileHandle file{CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
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
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
    if (ok && !LetUsersRewrite(path, error)) {
        ok = false;
    }
    if (!ok) {
        // Half made, the file would be kept by every later upgrade: take it away again.
        DeleteFileW(path.c_str());
        Report(install,
               L"localIp.txt cannot be written or opened to users: " + path + L" " +
                   SystemMessage(error),
               true);
        return ERROR_INSTALL_FAILURE;
    }
    Report(install, L"localIp.txt made, rewritable by every user: " + path, false);
    return ERROR_SUCCESS;
}
