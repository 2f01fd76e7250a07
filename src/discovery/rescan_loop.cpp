#include "discovery/rescan_loop.h"

#include "discovery/subnet_probe.h"

std::atomic<bool> RescanEnabled{true};

int RescanLoop(const RescanListPair& pair, const RescanSettings& settings) {
    auto running = [&settings] {
        return settings.enabled->load() &&
               (settings.stop == nullptr || !settings.stop->Requested());
    };
    while (running()) {
        settings.scan();
        RefreshNodeList(*pair.spareList, *pair.nodeList, *settings.registry);
        settings.sleep(kRescanSleepMs);
    }
    return 1;
}

int RescanLoop(const RescanListPair* pair, const RescanStop* stop) {
    RescanSettings settings;
    settings.stop = stop;
    settings.scan = [] { ScanSubnet(); };
    settings.registry = &TheNodeRegistry();
    settings.sleep = [stop](int milliseconds) { stop->SleepFor(milliseconds); };
    return RescanLoop(*pair, settings);
}
