// cluma-agent: the node agent. Answers the console's probe with this machine's display name,
// remembers that console, and sends screen-push requests to it.
#include "agent/agent_ask.h"
#include "agent/agent_options.h"
#include "agent/agent_serve.h"
#include "agent/agent_service.h"
#include "agent/console_state.h"
#include "agent/serve_privilege.h"
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
    if (options.mode == AgentMode::serviceInstall || options.mode == AgentMode::serviceRemove ||
        options.mode == AgentMode::serviceRun) {
        return RunServiceCommand(options, std::cout, std::cerr);
    }
    if (!platform::StartNetworking(2, 2)) {
        std::cerr << "cluma-agent: the network could not be started on this machine\n";
        return 1;
    }
    if (options.mode == AgentMode::ask) {
        AskSettings ask;
        ask.console = options.console;
        ask.bind = options.bindAddress;
        ask.statePath = options.statePath;
        ask.port = options.port != 0 ? options.port : kPushPort;
        ask.reason = options.reason;
        return AskForAttention(ask, std::cout, std::cerr);
    }
    if (std::string refusal = RefusalToServe(); !refusal.empty()) {
        std::cerr << refusal << "\n";
        return 77; // sysexits' "permission denied", as 64 is its "usage"
    }
    ServeSettings serve;
    serve.name = options.nameGiven ? options.name : platform::LocalHostName();
    serve.bindAddress = options.bindAddress;
    serve.port = options.port != 0 ? options.port : kProbePort;
    serve.verbose = options.verbose;
    serve.statePath = options.statePath.empty() ? DefaultConsoleStatePath() : options.statePath;
    serve.pinnedConsole = options.console;
    static std::atomic<bool> stop{false};
    platform::InstallStopRequestHandler(&stop);
    return ServeProbes(serve, stop, std::cout, std::cerr);
}
