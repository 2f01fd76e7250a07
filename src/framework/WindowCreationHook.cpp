#include "framework/WindowCreationHook.h"

#include "framework/AfxThreadState.h"
#include "framework/CWnd.h"

namespace {

bool IsInputMethodWindow(HWND hWnd) {
    if ((::GetClassLongPtrA(hWnd, GCL_STYLE) & CS_IME) != 0) {
        return true;
    }
    char className[8] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    return ::lstrcmpiA(className, "IME") == 0;
}

} // namespace

WindowCreationHook::WindowCreationHook(CWnd* pWnd) {
    AfxThreadState& state = AfxGetThreadState();
    m_pOuterWndInit = state.pWndInit;
    state.pWndInit = pWnd;
    if (state.nHookUsers++ == 0) {
        state.hCbtHook = ::SetWindowsHookExA(WH_CBT, &HookProc, nullptr, ::GetCurrentThreadId());
    }
}

WindowCreationHook::~WindowCreationHook() {
    AfxThreadState& state = AfxGetThreadState();
    state.pWndInit = m_pOuterWndInit;
    if (--state.nHookUsers == 0 && state.hCbtHook != nullptr) {
        ::UnhookWindowsHookEx(state.hCbtHook);
        state.hCbtHook = nullptr;
    }
}

LRESULT CALLBACK WindowCreationHook::HookProc(int nCode, WPARAM wParam, LPARAM lParam) noexcept {
    AfxThreadState& state = AfxGetThreadState();
    if (nCode == HCBT_CREATEWND && state.pWndInit != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsInputMethodWindow(hWnd)) {
            CWnd* pWnd = state.pWndInit;
            state.pWndInit = nullptr;
            try {
                pWnd->AttachPermanent(hWnd);
            } catch (...) {
                ::OutputDebugStringA("ClumaDeck framework: a window could not join its object\n");
            }
        }
    }
    return ::CallNextHookEx(state.hCbtHook, nCode, wParam, lParam);
}
