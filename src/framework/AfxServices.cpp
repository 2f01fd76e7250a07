#include <winsock2.h>

#include "framework/AfxServices.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<bool> g_controlContainer{false};

} // namespace

BOOL AfxSocketInit(WSAData* lpwsaData) {
    static std::once_flag started;
    static WSADATA data{};
    static BOOL ok = FALSE;
    std::call_once(started, [] {
        if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) {
            return;
        }
        if (LOBYTE(data.wVersion) != 1 || HIBYTE(data.wVersion) != 1) {
            ::WSACleanup();
            return;
        }
        ok = TRUE;
    });
    if (lpwsaData != nullptr) {
        *lpwsaData = data;
    }
    return ok;
}

void AfxEnableControlContainer() {
    g_controlContainer = true;
}

BOOL AfxControlContainerEnabled() {
    return g_controlContainer ? TRUE : FALSE;
}
