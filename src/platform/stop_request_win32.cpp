#include "platform/stop_request.h"

#include <windows.h>

namespace platform {
namespace {
std::atomic<bool>* target = nullptr;

BOOL WINAPI OnConsoleControl(DWORD) {
    if (target != nullptr) {
        target->store(true);
    }
    return TRUE;
}
} // namespace

void InstallStopRequestHandler(std::atomic<bool>* stopRequested) {
    target = stopRequested;
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

} // namespace platform
