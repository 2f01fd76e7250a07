#include "framework/CWnd.h"

#include <vector>

#include "framework/AfxMessageBox.h"
#include "framework/AfxThreadState.h"
#include "framework/AfxWndProc.h"
#include "framework/CDC.h"
#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "framework/WindowCreationHook.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

namespace {

// The window property that leads from a window to its permanent object.
constexpr char kObjectProperty[] = "ClumaDeck.CWnd";

// FromHandle keeps at most about this many views before it drops those of dead windows.
constexpr size_t kTemporaryWindowsBeforePruning = 64;

} // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd == nullptr) {
        return;
    }
    if (FromHandlePermanent(m_hWnd) == this) {
        if (m_bCreatedHere) {
            ::DestroyWindow(m_hWnd); // detaches this object at WM_NCDESTROY
        }
        if (m_hWnd != nullptr) {
            UnsubclassWindow();
        }
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr || ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()) {
        return nullptr;
    }
    return static_cast<CWnd*>(::GetPropA(hWnd, kObjectProperty));
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(hWnd)) {
        return permanent;
    }
    auto& views = AfxGetThreadState().temporaryWindows;
    if (auto found = views.find(hWnd); found != views.end()) {
        return found->second.get();
    }
    if (views.size() >= kTemporaryWindowsBeforePruning) {
        std::erase_if(views, [](const auto& entry) { return !::IsWindow(entry.first); });
    }
    auto view = std::make_unique<CWnd>();
    view->m_hWnd = hWnd;
    return views.emplace(hWnd, std::move(view)).first->second.get();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (m_hWnd != nullptr || hWndNew == nullptr) {
        return FALSE;
    }
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && FromHandlePermanent(hWnd) == this) {
        return UnsubclassWindow();
    }
    m_hWnd = nullptr;
    return hWnd;
}

bool CWnd::AttachPermanent(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || FromHandlePermanent(hWnd) != nullptr ||
        ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()) {
        return false;
    }
    if (!::SetPropA(hWnd, kObjectProperty, this)) {
        return false;
    }
    const LONG_PTR previous =
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
    if (previous == 0) {
        ::RemovePropA(hWnd, kObjectProperty);
        return false;
    }
    m_hWnd = hWnd;
    m_pfnSuper = reinterpret_cast<WNDPROC>(previous);
    return true;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    return AttachPermanent(hWnd) ? TRUE : FALSE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr || pParent->m_hWnd == nullptr) {
        return FALSE;
    }
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (m_pfnSuper != nullptr) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    ::RemovePropA(hWnd, kObjectProperty);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    m_bCreatedHere = false;
    return hWnd;
}

void CWnd::DetachAfterNcDestroy() {
    if (m_hWnd != nullptr) {
        ::RemovePropA(m_hWnd, kObjectProperty);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    m_bCreatedHere = false;
    PostNcDestroy();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) {
    return TRUE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWnd = nullptr;
    {
        WindowCreationHook hook(this);
        hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                 static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (hWnd == nullptr) {
        // A window that joined and then failed was detached at WM_NCDESTROY, which already
        // called PostNcDestroy; one that never existed gets it here.
        return FALSE;
    }
    if (m_hWnd != hWnd && !AttachPermanent(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    m_bCreatedHere = true;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const HWND lockedOut = AfxGetThreadState().hLockoutNotifyWindow;
    UINT lookup = message;
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
        if (lParam == 0) {
            // A menu or accelerator command: its code is not a notification.
            if (id == 0) {
                return FALSE;
            }
            code = 0;
        } else if (lockedOut == m_hWnd) {
            *pResult = 1;
            return TRUE;
        }
        *pResult = 1;
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom == nullptr) {
            return FALSE;
        }
        if (lockedOut == m_hWnd) {
            *pResult = 0;
            return TRUE;
        }
        id = static_cast<UINT>(::GetDlgCtrlID(header->hwndFrom));
        if (id == 0) {
            id = static_cast<UINT>(header->idFrom);
        }
        code = header->code;
        *pResult = 0;
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = WM_CTLCOLOR;
    }
    return DispatchToMessageMap(lookup, code, id, message, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

LRESULT CWnd::Default() {
    const MSG& current = AfxGetThreadState().lastSentMsg;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    if (child == nullptr) {
        return FALSE;
    }
    const MSG current = AfxGetThreadState().lastSentMsg;
    return child->OnChildNotify(current.message, current.wParam, current.lParam, pResult);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    // Writing the controls makes them notify (EN_CHANGE, ...); those notifications are not
    // the user's and must not re-enter the handlers that called UpdateData.
    struct LockOut {
        explicit LockOut(HWND hWnd) : state(AfxGetThreadState()) {
            outer = state.hLockoutNotifyWindow;
            state.hLockoutNotifyWindow = hWnd;
        }
        ~LockOut() { state.hLockoutNotifyWindow = outer; }
        AfxThreadState& state;
        HWND outer;
    } lockOut(m_hWnd);
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x,
                          y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN hrgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::SetWindowText(LPCSTR lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(std::string& rString) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
    rString.assign(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    return FromHandle(
        ::SetParent(m_hWnd, pWndNewParent != nullptr ? pWndNewParent->m_hWnd : nullptr));
}

CWnd* CWnd::GetDesktopWindow() {
    return FromHandle(::GetDesktopWindow());
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}

BOOL CWnd::SetMenu(HMENU hMenu) {
    return ::SetMenu(m_hWnd, hMenu);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD style = GetStyle();
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) {
        return FALSE;
    }
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBoxA(m_hWnd, lpszText != nullptr ? lpszText : "",
                         lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

int CWnd::OnCreate(LPCREATESTRUCTA) {
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

void CWnd::OnWindowPosChanged(WINDOWPOS*) {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}

void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}

BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}

void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}

void CWnd::OnMouseHover(UINT, CPoint) {
    Default();
}

void CWnd::OnMouseLeave() {
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    LRESULT result = 0;
    if (lpDrawItemStruct != nullptr && ReflectLastMsg(lpDrawItemStruct->hwndItem, &result)) {
        return;
    }
    Default();
}
