// cluma-agent: the node agent. Answers the console's probe with this machine's display name
// and sends screen-push requests to the console.
#include "agent/agent_ask.h"
#include "agent/agent_options.h"
#include "agent/agent_serve.h"
#include "discovery/subnet_probe.h"
#include "platform/net.h"
#include "platform/stop_request.h"
#include "push/push_protocol.h"

#include <atomic>
#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    std::string error;
    AgentOptions options = ParseAgentOptions(words, error);
    if (!error.empty()) {
        std::cerr << "cluma-agent: " << error << "\n\n" << AgentUsage();
        return 64;
    }
    if (options.mode == AgentMode::help) {
        std::cout << AgentUsage();
        return 0;
    }
    if (!platform::StartNetworking(2, 2)) {
        std::cerr << "cluma-agent: the network could not be started on this machine\n";
        return 1;
    }
    if (options.mode == AgentMode::ask) {
        AskSettings ask{options.console, options.port != 0 ? options.port : kPushPort,
                        options.reason};
        return AskForAttention(ask, std::cout, std::cerr);
    }
    ServeSettings serve{options.nameGiven ? options.name : platform::LocalHostName(),
                        options.bindAddress, options.port != 0 ? options.port : kProbePort,
                        options.verbose};
    static std::atomic<bool> stop{false};
    platform::InstallStopRequestHandler(&stop);
    return ServeProbes(serve, stop, std::cout, std::cerr);
}
