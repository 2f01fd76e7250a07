#include "CViewerWnd.h"

#include "console/viewer_texts.h"
#include "discovery/subnet_probe.h"
#include "viewer/key_mapping.h"
#include "viewer/viewer_resource.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <utility>

namespace {

constexpr UINT kMsgOutcome = WM_APP + 1;   // wParam generation, lParam ConnectionOutcome
constexpr UINT kMsgResized = WM_APP + 2;   // wParam generation, lParam width and height
constexpr UINT kMsgUpdated = WM_APP + 3;   // wParam generation; the region waits in the listener
constexpr UINT kMsgDesktop = WM_APP + 4;   // wParam generation, lParam a new std::string
constexpr UINT kMsgAgentName = WM_APP + 5; // lParam a new std::string
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT kDpiChanged = 0x02E0; // WM_DPICHANGED, Windows 8.1 on
constexpr UINT kMouseHWheel = 0x020E;
constexpr int kLineStep = 40;

// Bits of an RFB pointer event.
constexpr int kLeft = 1, kMiddle = 2, kRight = 4, kWheelUp = 8, kWheelDown = 16, kWheelLeft = 32,
              kWheelRight = 64;

void PostText(HWND window, UINT message, WPARAM wParam, const std::string& text) {
    auto* copy = new std::string(text);
    if (!::PostMessageA(window, message, wParam, reinterpret_cast<LPARAM>(copy))) {
        delete copy;
    }
}

std::string TakeText(LPARAM lParam) {
    std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
    return text ? *text : std::string();
}

} // namespace

// Runs on the connection's thread: everything it learns goes to the window as a posted message
// tagged with its connection's generation. Updates of the frame are gathered here, so that a
// busy screen costs one message per repaint and not one per rectangle.
class CViewerWnd::Listener : public VncListener {
public:
    Listener(HWND window, unsigned generation) : m_window(window), m_generation(generation) {}

    void OnOutcome(ConnectionOutcome outcome) override {
        ::PostMessageA(m_window, kMsgOutcome, m_generation, static_cast<LPARAM>(outcome));
    }
    void OnFrameResized(int width, int height) override {
        ::PostMessageA(m_window, kMsgResized, m_generation, MAKELPARAM(width, height));
    }
    void OnRegionUpdated(int x, int y, int width, int height) override {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_dirty.width == 0) {
            m_dirty = {x, y, width, height};
        } else {
            const int right = std::max(m_dirty.x + m_dirty.width, x + width);
            const int bottom = std::max(m_dirty.y + m_dirty.height, y + height);
            m_dirty.x = std::min(m_dirty.x, x);
            m_dirty.y = std::min(m_dirty.y, y);
            m_dirty.width = right - m_dirty.x;
            m_dirty.height = bottom - m_dirty.y;
        }
        if (!m_posted) {
            m_posted = ::PostMessageA(m_window, kMsgUpdated, m_generation, 0) != FALSE;
        }
    }
    void OnDesktopName(const std::string& name) override {
        PostText(m_window, kMsgDesktop, m_generation, name);
    }
    ViewRect TakeDirty() {
        std::lock_guard<std::mutex> hold(m_lock);
        ViewRect dirty = m_dirty;
        m_dirty = {};
        m_posted = false;
        return dirty;
    }

private:
    HWND m_window;
    unsigned m_generation;
    std::mutex m_lock;
    ViewRect m_dirty;
    bool m_posted = false;
};

BEGIN_MESSAGE_MAP(CViewerWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_TIMER()
ON_BN_CLICKED(IDC_TRY_AGAIN, &CViewerWnd::OnTryAgain)
ON_MESSAGE(WM_SYSCOMMAND, &CViewerWnd::OnSysCommand)
ON_MESSAGE(WM_HSCROLL, &CViewerWnd::OnHScroll)
ON_MESSAGE(WM_VSCROLL, &CViewerWnd::OnVScroll)
ON_MESSAGE(WM_KILLFOCUS, &CViewerWnd::OnKillFocus)
ON_MESSAGE(kDpiChanged, &CViewerWnd::OnDpiChanged)
ON_MESSAGE(kMsgOutcome, &CViewerWnd::OnConnectionOutcome)
ON_MESSAGE(kMsgResized, &CViewerWnd::OnFrameResized)
ON_MESSAGE(kMsgUpdated, &CViewerWnd::OnFrameUpdated)
ON_MESSAGE(kMsgDesktop, &CViewerWnd::OnDesktopName)
ON_MESSAGE(kMsgAgentName, &CViewerWnd::OnAgentName)
END_MESSAGE_MAP()

CViewerWnd::CViewerWnd(ViewerOptions options, std::string password, std::string agentName)
    : m_options(std::move(options)), m_password(std::move(password)),
      m_encodings(EncodingsForWord(m_options.encoding)), m_agentName(std::move(agentName)),
      m_status(m_options.address, kScreenPort) {}

CViewerWnd::~CViewerWnd() {
    m_nameAsker.reset();
    m_connection.reset();
}

BOOL CViewerWnd::CreateViewer(int nCmdShow) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = AfxGetInstanceHandle();
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kViewerWindowClass;
    if (!AfxRegisterClass(&windowClass)) {
        return FALSE;
    }
    // The title is right from the window's first moment: the console finds a viewer by it.
    std::string title = m_agentName.empty() ? "korvidVi: " + m_options.address
                                            : ViewerWindowTitle(m_agentName.c_str());
    if (!CreateEx(0, kViewerWindowClass, title.c_str(),
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr)) {
        return FALSE;
    }
    ShowWindow(nCmdShow);
    UpdateWindow();
    return TRUE;
}

int CViewerWnd::OnCreate(LPCREATESTRUCTA) {
    HINSTANCE instance = AfxGetInstanceHandle();
    m_statusText =
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(IDC_STATUS_TEXT), instance, nullptr);
    m_tryAgain =
        ::CreateWindowExA(0, "BUTTON", "&Try again", WS_CHILD | BS_PUSHBUTTON, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(IDC_TRY_AGAIN), instance, nullptr);
    MakeFont();
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, IDM_TRY_AGAIN, "&Try again\tF5");
    ::AppendMenuA(menu, MF_STRING, IDM_ACTUAL_SIZE, "&Actual size (1:1)\tCtrl+Alt+1");
    ::AppendMenuA(menu, MF_STRING, IDM_VIEW_ONLY, "&View only\tCtrl+Alt+V");
    ::AppendMenuA(menu, MF_STRING, IDM_CTRL_ALT_DEL, "Send Ctrl+Alt+&Del\tCtrl+Alt+End");
    UpdateScrollBars();
    if (m_agentName.empty() && !m_options.address.empty()) {
        HWND window = m_hWnd;
        m_nameAsker = std::make_unique<BackgroundNameAsker>(
            m_options.address, kProbePort,
            [window](const std::string& name) { PostText(window, kMsgAgentName, 0, name); });
    }
    Apply(m_status.Start());
    return 0;
}

void CViewerWnd::OnClose() {
    // At once in every state: the asker and the connection end without waiting on the network.
    m_nameAsker.reset();
    if (m_connection) {
        m_connection->Stop();
    }
    DestroyWindow();
}

void CViewerWnd::OnDestroy() {
    ::PostQuitMessage(0);
}

void CViewerWnd::Apply(StatusAction action) {
    if (action == StatusAction::connect) {
        StartConnection();
    } else if (action == StatusAction::armRetryTimer) {
        SetTimer(kRetryTimer, kReconnectDelayMs);
    }
    ShowStatus();
}

void CViewerWnd::StartConnection() {
    KillTimer(kRetryTimer);
    if (m_connection) {
        m_connection->Stop();
    }
    m_connection.reset();
    ReleaseInput();
    m_listener = std::make_unique<Listener>(m_hWnd, ++m_generation);
    m_connection = std::make_unique<VncConnection>(
        VncSettings{m_options.address, kScreenPort, m_password, m_encodings}, *m_listener);
}

void CViewerWnd::ShowStatus() {
    const std::string line = m_status.LogLine(m_desktopName);
    if (line != m_lastLogLine) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        m_lastLogLine = line;
    }
    const bool connected = m_status.Phase() == ViewerPhase::connected;
    ::SetWindowTextA(m_statusText, m_status.Text().c_str());
    ::ShowWindow(m_statusText, connected ? SW_HIDE : SW_SHOWNA);
    ::ShowWindow(m_tryAgain, m_status.CanTryAgain() ? SW_SHOWNA : SW_HIDE);
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), IDM_TRY_AGAIN,
                     MF_BYCOMMAND | (m_status.CanTryAgain() ? MF_ENABLED : MF_GRAYED));
    LayoutStatus();
    Invalidate(FALSE);
}

void CViewerWnd::ShowTitle() {
    const std::string& name = m_agentName.empty() ? m_desktopName : m_agentName;
    if (!name.empty()) {
        SetWindowText(ViewerWindowTitle(name.c_str()).c_str());
    }
}

UINT CViewerWnd::Dpi() const {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && m_hWnd != nullptr) {
        return getDpiForWindow(m_hWnd);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void CViewerWnd::MakeFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTA font{};
    HDC screen = ::GetDC(nullptr);
    const int systemDpi = std::max(::GetDeviceCaps(screen, LOGPIXELSY), 1);
    ::ReleaseDC(nullptr, screen);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        font.lfHeight = -12;
        lstrcpyA(font.lfFaceName, "MS Shell Dlg");
    }
    // The system's font is sized for the system's DPI; this window may be on another monitor.
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(Dpi()), systemDpi) * 5 / 4;
    m_font.Attach(::CreateFontIndirectA(&font));
    ::SendMessageA(m_statusText, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), TRUE);
    ::SendMessageA(m_tryAgain, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), TRUE);
}

void CViewerWnd::LayoutStatus() {
    RECT client;
    GetClientRect(&client);
    const int scale = static_cast<int>(Dpi());
    const int margin = ::MulDiv(16, scale, 96);
    const int width = std::min<int>(client.right - 2 * margin, ::MulDiv(640, scale, 96));
    const int textHeight = ::MulDiv(110, scale, 96);
    const int buttonWidth = ::MulDiv(120, scale, 96), buttonHeight = ::MulDiv(30, scale, 96);
    const int top = std::max<int>((client.bottom - textHeight - buttonHeight - margin) / 2, 0);
    ::MoveWindow(m_statusText, (client.right - width) / 2, top, std::max(width, 0), textHeight,
                 TRUE);
    ::MoveWindow(m_tryAgain, (client.right - buttonWidth) / 2, top + textHeight + margin,
                 buttonWidth, buttonHeight, TRUE);
}

ViewRect CViewerWnd::Shown() const {
    RECT client;
    GetClientRect(&client);
    return ShownRect(m_mode, client.right, client.bottom, m_frameWidth, m_frameHeight, m_scrollX,
                     m_scrollY);
}

void CViewerWnd::OnPaint() {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    ViewRect shown = Shown();
    bool drawn = false;
    if (m_connection) {
        m_connection->ReadFrame([&](const FrameView& frame) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = frame.width;
            info.bmiHeader.biHeight = -frame.height; // rows top-down
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchDIBits(dc, shown.x, shown.y, shown.width, shown.height, 0, 0, frame.width,
                            frame.height, frame.pixels, &info, DIB_RGB_COLORS, SRCCOPY);
            drawn = true;
        });
    }
    if (drawn) {
        ::ExcludeClipRect(dc, shown.x, shown.y, shown.x + shown.width, shown.y + shown.height);
    }
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
}

BOOL CViewerWnd::OnEraseBkgnd(CDC*) {
    return TRUE; // OnPaint covers every pixel
}

void CViewerWnd::OnSize(UINT, int, int) {
    UpdateScrollBars();
    LayoutStatus();
    Invalidate(FALSE);
}

void CViewerWnd::UpdateScrollBars() {
    RECT client;
    GetClientRect(&client);
    const bool scrolling = m_mode == ViewMode::actualSize;
    m_scrollX = scrolling ? ClampScroll(m_scrollX, m_frameWidth, client.right) : 0;
    m_scrollY = scrolling ? ClampScroll(m_scrollY, m_frameHeight, client.bottom) : 0;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    // A page as large as the range hides the bar: bars appear only when the frame is larger.
    info.nMax = scrolling ? std::max(m_frameWidth - 1, 0) : 0;
    info.nPage = scrolling ? static_cast<UINT>(client.right) : 1;
    info.nPos = m_scrollX;
    ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
    info.nMax = scrolling ? std::max(m_frameHeight - 1, 0) : 0;
    info.nPage = scrolling ? static_cast<UINT>(client.bottom) : 1;
    info.nPos = m_scrollY;
    ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CViewerWnd::Scroll(int bar, WPARAM wParam) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &info);
    int position = info.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        position -= kLineStep;
        break;
    case SB_LINEDOWN:
        position += kLineStep;
        break;
    case SB_PAGEUP:
        position -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        position += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    (bar == SB_HORZ ? m_scrollX : m_scrollY) = position;
    UpdateScrollBars();
    Invalidate(FALSE);
}

LRESULT CViewerWnd::OnHScroll(WPARAM wParam, LPARAM) {
    Scroll(SB_HORZ, wParam);
    return 0;
}

LRESULT CViewerWnd::OnVScroll(WPARAM wParam, LPARAM) {
    Scroll(SB_VERT, wParam);
    return 0;
}

void CViewerWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRetryTimer) {
        KillTimer(kRetryTimer);
        Apply(m_status.OnRetryTimer());
    }
}

void CViewerWnd::OnTryAgain() {
    if (m_status.CanTryAgain()) {
        Apply(m_status.Start());
    }
}

LRESULT CViewerWnd::OnSysCommand(WPARAM wParam, LPARAM) {
    switch (wParam & 0xFFF0) {
    case IDM_TRY_AGAIN:
        OnTryAgain();
        return 0;
    case IDM_ACTUAL_SIZE:
        SetActualSize(m_mode != ViewMode::actualSize);
        return 0;
    case IDM_VIEW_ONLY:
        SetViewOnly(!m_viewOnly);
        return 0;
    case IDM_CTRL_ALT_DEL:
        SendCtrlAltDel();
        return 0;
    default:
        return Default();
    }
}

void CViewerWnd::SetActualSize(bool on) {
    m_mode = on ? ViewMode::actualSize : ViewMode::fit;
    ::CheckMenuItem(::GetSystemMenu(m_hWnd, FALSE), IDM_ACTUAL_SIZE,
                    MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    UpdateScrollBars();
    Invalidate(FALSE);
}

void CViewerWnd::SetViewOnly(bool on) {
    ReleaseInput();
    m_viewOnly = on;
    ::CheckMenuItem(::GetSystemMenu(m_hWnd, FALSE), IDM_VIEW_ONLY,
                    MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CViewerWnd::SendCtrlAltDel() {
    if (!Operating()) {
        return;
    }
    const std::uint32_t keys[] = {0xffe3, 0xffe9, 0xffff}; // Control_L, Alt_L, Delete
    for (std::uint32_t key : keys) {
        m_connection->SendKey(key, true);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        m_connection->SendKey(*key, false);
    }
}

bool CViewerWnd::Operating() const {
    return m_connection && !m_viewOnly && m_status.Phase() == ViewerPhase::connected;
}

bool CViewerWnd::HandleShortcut(UINT vk) {
    const bool ctrlAlt = ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) < 0;
    if (vk == VK_F5 && m_status.CanTryAgain()) {
        OnTryAgain();
        return true;
    }
    if (!ctrlAlt) {
        return false;
    }
    switch (vk) {
    case '1':
        SetActualSize(m_mode != ViewMode::actualSize);
        return true;
    case 'V':
        SetViewOnly(!m_viewOnly);
        return true;
    case VK_END:
        SendCtrlAltDel();
        return true;
    default:
        return false;
    }
}

bool CViewerWnd::ForwardKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const UINT vk = static_cast<UINT>(wParam);
    if (down && HandleShortcut(vk)) {
        return true;
    }
    if (!Operating()) {
        return false;
    }
    const bool extended = (lParam & (1 << 24)) != 0;
    const unsigned scanCode = static_cast<unsigned>((lParam >> 16) & 0xFF);
    std::uint32_t keysym = KeysymForVirtualKey(vk, extended, scanCode);
    if (keysym == 0) {
        keysym = KeysymForCharacter(::MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR) & 0xFFFF);
    }
    if (keysym != 0) {
        if (down) {
            m_pressedKeys.insert(keysym);
        } else {
            m_pressedKeys.erase(keysym);
        }
        m_connection->SendKey(keysym, down);
    }
    return true; // the remote desktop has the keyboard, Alt included
}

bool CViewerWnd::ForwardPointer(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Operating()) {
        return false;
    }
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int wheel = 0;
    if (message == WM_MOUSEWHEEL || message == kMouseHWheel) {
        ScreenToClient(&point); // wheel messages carry screen coordinates
        const int delta = static_cast<short>(HIWORD(wParam));
        if (message == WM_MOUSEWHEEL) {
            wheel = delta > 0 ? kWheelUp : kWheelDown;
        } else {
            wheel = delta > 0 ? kWheelRight : kWheelLeft;
        }
    } else {
        const WPARAM keys = message == WM_MOUSEWHEEL ? 0 : wParam;
        m_buttons = ((keys & MK_LBUTTON) ? kLeft : 0) | ((keys & MK_MBUTTON) ? kMiddle : 0) |
                    ((keys & MK_RBUTTON) ? kRight : 0);
        if (m_buttons != 0) {
            ::SetCapture(m_hWnd);
        } else if (::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
        }
    }
    ViewPoint at = ClientToFrame(Shown(), m_frameWidth, m_frameHeight, point.x, point.y);
    if (wheel != 0) {
        m_connection->SendPointer(at.x, at.y, m_buttons | wheel);
    }
    m_connection->SendPointer(at.x, at.y, m_buttons);
    return true;
}

void CViewerWnd::ReleaseInput() {
    if (m_connection && m_status.Phase() == ViewerPhase::connected) {
        for (std::uint32_t keysym : m_pressedKeys) {
            m_connection->SendKey(keysym, false);
        }
    }
    m_pressedKeys.clear();
    m_buttons = 0;
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
}

LRESULT CViewerWnd::OnKillFocus(WPARAM, LPARAM) {
    ReleaseInput(); // keys let go in another window must not stay down on the remote desktop
    return Default();
}

LRESULT CViewerWnd::OnDpiChanged(WPARAM, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    MakeFont();
    SetWindowPos(nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutStatus();
    return 0;
}

LRESULT CViewerWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        if (ForwardKey(message, wParam, lParam)) {
            return 0;
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (Operating()) {
            return 0; // sent as keys already
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case kMouseHWheel:
        if (ForwardPointer(message, wParam, lParam)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CViewerWnd::OnConnectionOutcome(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_generation) {
        return 0;
    }
    const auto outcome = static_cast<ConnectionOutcome>(lParam);
    if (outcome != ConnectionOutcome::connected) {
        ReleaseInput();
    }
    Apply(m_status.OnOutcome(outcome));
    if (outcome == ConnectionOutcome::connected) {
        ShowTitle();
    }
    return 0;
}

LRESULT CViewerWnd::OnFrameResized(WPARAM wParam, LPARAM lParam) {
    if (wParam == m_generation) {
        m_frameWidth = LOWORD(lParam);
        m_frameHeight = HIWORD(lParam);
        UpdateScrollBars();
        Invalidate(FALSE);
    }
    return 0;
}

LRESULT CViewerWnd::OnFrameUpdated(WPARAM wParam, LPARAM) {
    if (wParam != m_generation || !m_listener) {
        return 0;
    }
    ViewRect dirty = FrameToClient(Shown(), m_frameWidth, m_frameHeight, m_listener->TakeDirty());
    RECT area{dirty.x, dirty.y, dirty.x + dirty.width, dirty.y + dirty.height};
    InvalidateRect(&area, FALSE);
    return 0;
}

LRESULT CViewerWnd::OnDesktopName(WPARAM wParam, LPARAM lParam) {
    std::string name = TakeText(lParam);
    if (wParam == m_generation) {
        m_desktopName = name;
    }
    return 0;
}

LRESULT CViewerWnd::OnAgentName(WPARAM, LPARAM lParam) {
    m_agentName = TakeText(lParam);
    ShowTitle();
    return 0;
}
