#include "agent/serve_privilege.h"

#include <unistd.h>

std::string RefusalToServe() {
    if (::geteuid() != 0) {
        return "";
    }
    return "cluma-agent: refusing to serve as root: run it as an unprivileged user, such as the "
           "package's cluma-agent service user.";
}
