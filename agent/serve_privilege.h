// Whether this process may serve probes as the user it runs as.
#pragma once

#include <string>

// Why serving as this user is refused (one sentence for standard error), or empty when it is
// not. On Linux the agent refuses root: a program that answers the network keeps no more
// rights than it needs, and the state file it writes must not be root's.
std::string RefusalToServe();
