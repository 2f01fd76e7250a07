// A window for the screen server's end-to-end test: four coloured quarters above a button, at
// a fixed place on the screen. Says "ready L T R B" (the quarters' area on the screen) and
// "button L T R B" once shown, and "pressed" each time the button is clicked.
#include <cstdio>

#include <windows.h>

namespace {

constexpr int kButtonId = 100;
constexpr COLORREF kQuarters[4] = {RGB(220, 20, 60), RGB(30, 144, 255), RGB(50, 205, 50),
                                   RGB(255, 215, 0)};
constexpr int kQuarter = 80;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        for (int i = 0; i < 4; ++i) {
            RECT quarter{(i % 2) * kQuarter, (i / 2) * kQuarter, (i % 2 + 1) * kQuarter,
                         (i / 2 + 1) * kQuarter};
            HBRUSH brush = ::CreateSolidBrush(kQuarters[i]);
            ::FillRect(dc, &quarter, brush);
            ::DeleteObject(brush);
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kButtonId) {
            std::printf("pressed\n");
            std::fflush(stdout);
        }
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void Say(const char* what, HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    std::printf("%s %ld %ld %ld %ld\n", what, rect.left, rect.top, rect.right, rect.bottom);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "ClumaPatternWindow";
    ::RegisterClassA(&windowClass);
    HWND window =
        ::CreateWindowExA(WS_EX_TOPMOST, "ClumaPatternWindow", "Pattern", WS_POPUP, 200, 150,
                          2 * kQuarter, 2 * kQuarter + 40, nullptr, nullptr, instance, nullptr);
    HWND button = ::CreateWindowA("BUTTON", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0,
                                  2 * kQuarter, 2 * kQuarter, 40, window,
                                  reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    RECT area{0, 0, 2 * kQuarter, 2 * kQuarter};
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    std::printf("ready %ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
    Say("button", button);
    std::fflush(stdout);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
