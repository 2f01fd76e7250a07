// Per-thread state of the framework: window creation, the message being handled, the
// notification lock-out of UpdateData, and temporary window objects. Internal to framework/.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

class CWnd;

struct AfxThreadState {
    CWnd* pWndInit = nullptr; // the object that the next window created on this thread joins
    HHOOK hCbtHook = nullptr;
    int nHookUsers = 0;
    MSG lastSentMsg{};                   // the message being handled, for CWnd::Default
    HWND hLockoutNotifyWindow = nullptr; // the window whose UpdateData is running
    // Objects that FromHandle made for windows that have no object of their own.
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporaryWindows;

    AfxThreadState();
    ~AfxThreadState();
    AfxThreadState(const AfxThreadState&) = delete;
    AfxThreadState& operator=(const AfxThreadState&) = delete;
};

AfxThreadState& AfxGetThreadState();
