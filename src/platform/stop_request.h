// Ctrl+C, SIGTERM and the console window's close turned into a flag a loop can poll.
#pragma once

#include <atomic>

namespace platform {

// From now on a stop request sets the flag instead of ending the process at once.
void InstallStopRequestHandler(std::atomic<bool>* stopRequested);

} // namespace platform
