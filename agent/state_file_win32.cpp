// The state file on Windows: one for the machine, under the common application data folder.
#include "agent/console_state.h"
#include "agent/state_file.h"

#include <filesystem>
#include <windows.h>

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

} // namespace

std::string DefaultConsoleStatePath() {
    char folder[MAX_PATH] = {};
    if (::SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) !=
        S_OK) {
        DWORD length = ::GetEnvironmentVariableA("ProgramData", folder, sizeof folder);
        if (length == 0 || length >= sizeof folder) {
            lstrcpynA(folder, "C:\\ProgramData", sizeof folder);
        }
    }
    return std::string(folder) + "\\ClumaDeck\\agent-state.txt";
}

std::vector<std::string> ConsoleStateReadPaths() {
    return {DefaultConsoleStatePath()};
}

bool ReplaceFileContents(const std::string& path, const std::string& contents, std::string& error) {
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
        std::error_code failed;
        std::filesystem::create_directories(folder, failed);
        if (failed) {
            error = "cannot create the folder " + folder.string() + ": " + failed.message();
            return false;
        }
    }
    // The new file takes the folder's inherited permissions, which the replace keeps: in the
    // state folder, every user may read it.
    std::string temporary = path + ".new";
    FileHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
