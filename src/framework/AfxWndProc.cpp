#include "framework/AfxWndProc.h"

#include "framework/AfxThreadState.h"
#include "framework/CWnd.h"

namespace {

// What a message answers when its handler threw: creation fails, a paint is consumed.
LRESULT AnswerAfterException(HWND hWnd, UINT message) noexcept {
    ::OutputDebugStringA("ClumaDeck framework: a message handler threw; the message failed\n");
    switch (message) {
    case WM_NCCREATE:
        return FALSE;
    case WM_CREATE:
        return -1;
    case WM_PAINT:
        ::ValidateRect(hWnd, nullptr);
        return 0;
    default:
        return 0;
    }
}

} // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    AfxThreadState& state = AfxGetThreadState();
    const MSG outer = state.lastSentMsg;
    state.lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = AnswerAfterException(hWnd, message);
    }
    if (message == WM_NCDESTROY) {
        try {
            pWnd->DetachAfterNcDestroy();
        } catch (...) {
            AnswerAfterException(hWnd, message);
        }
    }
    state.lastSentMsg = outer;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}
