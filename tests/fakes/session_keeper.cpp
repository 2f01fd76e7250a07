// Keeps a Wine prefix's session up for a whole test run: the first program started in a
// prefix starts its session, and two programs doing that at the same moment can hang it.
// It holds one hidden window, so that the prefix's desktop stays up too: without a window
// the desktop ends when idle, and the next program's first window waits seconds for a new one.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "ClumaSessionKeeper";
    ::RegisterClassA(&windowClass);
    ::CreateWindowExA(0, "ClumaSessionKeeper", "", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                      instance, nullptr);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&message);
    }
    return 0;
}
