// Linux has no service commands: systemd runs `cluma-agent serve` from its unit file.
#include "agent/agent_service.h"

#include <ostream>

int RunServiceCommand(const AgentOptions&, std::ostream&, std::ostream& err) {
    err << "cluma-agent: 'service' is for Windows; on Linux, systemd runs 'cluma-agent serve' "
           "from the unit file cluma-agent.service (see the deployment guide).\n";
    return 64;
}
