#include "framework/AfxWindowClasses.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "framework/CWinApp.h"

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr) {
        return FALSE;
    }
    WNDCLASSA existing{};
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) {
        return TRUE;
    }
    return ::RegisterClassA(lpWndClass) != 0 ? TRUE : FALSE;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::mutex namesLock;
    static std::set<std::string>* const names = new std::set<std::string>();

    HINSTANCE hInstance = AfxGetInstanceHandle();
    char name[128];
    std::snprintf(name, sizeof name, "ClumaWnd:%p:%x:%p:%p:%p", static_cast<void*>(hInstance),
                  nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));

    std::lock_guard<std::mutex> guard(namesLock);
    const std::string& stored = *names->insert(name).first;
    WNDCLASSA wc{};
    if (::GetClassInfoA(hInstance, stored.c_str(), &wc)) {
        return stored.c_str();
    }
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = stored.c_str();
    return ::RegisterClassA(&wc) != 0 ? stored.c_str() : nullptr;
}
