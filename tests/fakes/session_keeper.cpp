// Keeps a Wine prefix's session up for a whole test run: the first program started in a
// prefix starts its session, and two programs doing that at the same moment can hang it.
// It holds one hidden window, so that the prefix's desktop stays up too: without a window
// the desktop ends when idle, and the next program's first window waits seconds for a new one.
// A service the session's service manager runs also lives only as long as the session.
//
//   session-keeper.exe [READY_FILE]   creates READY_FILE (a Windows path) once its window
//                                     exists: the session is up and others may join it
#include <string>

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "ClumaSessionKeeper";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowExA(0, "ClumaSessionKeeper", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr,
                                    nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    std::string path = commandLine != nullptr ? commandLine : "";
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (!path.empty()) {
        HANDLE ready = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (ready == INVALID_HANDLE_VALUE) {
            return 1;
        }
        ::CloseHandle(ready);
    }
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&message);
    }
    return 0;
}
