// What the watching benchmarks put on the screen they serve (Windows, runs under Wine):
//   repaint_window changing X Y SIZE   a square repainted with a new colour every ~16 ms
//   repaint_window marker X Y SIZE     a square of one colour (255, 0, 255) that never changes
//   repaint_window backdrop            a whole-screen page of text and colour bars, so that a
//                                      whole frame carries what a desktop carries
// The squares stay on top and never take the focus. Says "area X Y W H" (the window's place on
// the screen) once it is shown. Each line on standard input switches the marker to its other
// colour (0, 255, 255) and back, and the backdrop's right-hand bar likewise from (230, 180, 40)
// to (140, 40, 200): a watcher that sees the new colour sees the screen as it is now, not a
// picture the server took earlier.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include <windows.h>

namespace {

constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kFrameMs = 16;
constexpr UINT_PTR kOnTopTimer = 2;
constexpr UINT kOnTopMs = 50;
constexpr COLORREF kMarker[2] = {RGB(255, 0, 255), RGB(0, 255, 255)};
constexpr COLORREF kLastBar[2] = {RGB(230, 180, 40), RGB(140, 40, 200)};
constexpr UINT kSwitchColour = WM_APP;

enum class Mode { changing, marker, backdrop };
Mode g_mode = Mode::marker;
unsigned g_frame = 0;
int g_switched = 0; // 0 or 1: which of the two colours is shown
HWND g_window = nullptr;

DWORD WINAPI ReadSwitches(void*) {
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        ::PostMessageA(g_window, kSwitchColour, 0, 0);
    }
    return 0;
}

// Steps far apart in every channel, so that two frames in a row never share a colour.
COLORREF FrameColour(unsigned frame) {
    return RGB((frame * 37) & 255, (frame * 91 + 64) & 255, (frame * 173 + 128) & 255);
}

void FillClient(HWND window, HDC dc, COLORREF colour) {
    RECT client;
    ::GetClientRect(window, &client);
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
}

void PaintBackdrop(HWND window, HDC dc) {
    FillClient(window, dc, RGB(250, 250, 245));
    RECT client;
    ::GetClientRect(window, &client);
    const COLORREF kBars[] = {RGB(40, 90, 160), RGB(200, 60, 50), RGB(60, 150, 80),
                              kLastBar[g_switched]};
    for (int i = 0; i < 4; ++i) {
        RECT bar{client.right - 240 + i * 60, 0, client.right - 180 + i * 60, client.bottom};
        HBRUSH brush = ::CreateSolidBrush(kBars[i]);
        ::FillRect(dc, &bar, brush);
        ::DeleteObject(brush);
    }
    ::SetBkMode(dc, TRANSPARENT);
    char line[160];
    for (int row = 0; row * 18 < client.bottom; ++row) {
        const int length = std::snprintf(
            line, sizeof line,
            "%03d  The room's screens, watched from the front: lesson notes, a file list, "
            "a half-written essay and a spreadsheet of marks.",
            row);
        ::TextOutA(dc, 8, row * 18, line, length);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        if (g_mode == Mode::backdrop) {
            PaintBackdrop(window, dc);
        } else {
            FillClient(window, dc,
                       g_mode == Mode::marker ? kMarker[g_switched] : FrameColour(g_frame));
        }
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER: { // paint at once rather than wait for WM_PAINT, which comes last in the queue
        if (wParam == kOnTopTimer) {
            // A move to where the window already is in Wine's order does not restack it on
            // the X display, above windows mapped since: step down, then up again.
            for (HWND place : {HWND_NOTOPMOST, HWND_TOPMOST}) {
                ::SetWindowPos(window, place, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            return 0;
        }
        HDC dc = ::GetDC(window);
        FillClient(window, dc, FrameColour(++g_frame));
        ::ReleaseDC(window, dc);
        return 0;
    }
    case kSwitchColour:
        g_switched = 1 - g_switched;
        ::InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv) {
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (argc == 2 && std::strcmp(argv[1], "backdrop") == 0) {
        g_mode = Mode::backdrop;
    } else if (argc == 5 &&
               (std::strcmp(argv[1], "changing") == 0 || std::strcmp(argv[1], "marker") == 0)) {
        g_mode = argv[1][0] == 'c' ? Mode::changing : Mode::marker;
        const int size = std::atoi(argv[4]);
        area = {std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[2]) + size,
                std::atoi(argv[3]) + size};
    } else {
        std::fprintf(stderr, "usage: repaint_window changing|marker X Y SIZE | backdrop\n");
        return 2;
    }
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "ClumaRepaintWindow";
    ::RegisterClassA(&windowClass);
    const DWORD onTop = g_mode == Mode::backdrop ? 0 : WS_EX_TOPMOST;
    HWND window =
        ::CreateWindowExA(onTop | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "ClumaRepaintWindow",
                          "Repaint", WS_POPUP, area.left, area.top, area.right - area.left,
                          area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window);
    if (g_mode == Mode::changing) {
        ::SetTimer(window, kRepaintTimer, kFrameMs, nullptr);
    } else if (g_mode == Mode::marker) {
        // Under Wine without a window manager the console and the viewer come above even
        // windows that stay on top: claim the top again and again.
        ::SetTimer(window, kOnTopTimer, kOnTopMs, nullptr);
    }
    g_window = window;
    ::CloseHandle(::CreateThread(nullptr, 0, ReadSwitches, nullptr, 0, nullptr));
    ::GetWindowRect(window, &area);
    std::printf("area %ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
                area.bottom - area.top);
    std::fflush(stdout);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageA(&message);
    }
    return 0;
}
