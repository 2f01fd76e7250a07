#include "agent/serve_privilege.h"

// The Windows service runs as LocalService, which the service manager chooses; a technician
// who tries serve in an administrator's console is not refused.
std::string RefusalToServe() {
    return "";
}
