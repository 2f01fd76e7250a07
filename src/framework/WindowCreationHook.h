// WindowCreationHook: joins the next window created on this thread to a CWnd, before the
// window's first message (WM_NCCREATE), so that the object sees WM_CREATE as well.
//
// Use: { WindowCreationHook hook(this); ::CreateWindowExA(...); } — the hook is a thread's
// computer-based-training hook for the scope of the object; nested scopes share it. Windows of
// the input method (class style CS_IME or class "IME") are passed over. Internal to framework/.
#pragma once

#include <windows.h>

class CWnd;

class WindowCreationHook {
public:
    explicit WindowCreationHook(CWnd* pWnd);
    ~WindowCreationHook();
    WindowCreationHook(const WindowCreationHook&) = delete;
    WindowCreationHook& operator=(const WindowCreationHook&) = delete;

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept;
    CWnd* m_pOuterWndInit;
};
