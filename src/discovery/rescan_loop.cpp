#include "discovery/rescan_loop.h"

#include "discovery/subnet_probe.h"

#include <chrono>
#include <thread>

std::atomic<bool> RescanEnabled{true};

int RescanLoop(const RescanListPair& pair, const RescanSettings& settings) {
    while (settings.enabled->load()) {
        settings.scan();
        RefreshNodeList(*pair.spareList, *pair.nodeList, *settings.registry);
        settings.sleep(kRescanSleepMs);
    }
    return 1;
}

int RescanLoop(const RescanListPair* pair) {
    RescanSettings settings;
    settings.scan = [] { ScanSubnet(); };
    settings.registry = &TheNodeRegistry();
    settings.sleep = [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    };
    return RescanLoop(*pair, settings);
}
