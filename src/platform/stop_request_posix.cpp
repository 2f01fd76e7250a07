#include "platform/stop_request.h"

#include <csignal>

namespace platform {
namespace {
std::atomic<bool>* target = nullptr;

extern "C" void OnStopSignal(int) {
    if (target != nullptr) {
        target->store(true);
    }
}
} // namespace

void InstallStopRequestHandler(std::atomic<bool>* stopRequested) {
    target = stopRequested;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace platform
