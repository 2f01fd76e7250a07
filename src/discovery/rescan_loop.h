// The periodic rescan: scan, refresh the console's list, sleep 20 s, while RescanEnabled and
// until the console that started it asks it to stop.
#pragma once

#include "discovery/node_list_refresh.h"
#include "discovery/rescan_stop.h"

#include <atomic>
#include <functional>

inline constexpr int kRescanSleepMs = 20000;

// Set at process start; cleared only by the console's exit command, never set again.
extern std::atomic<bool> RescanEnabled;

// The console's two lists, in this order: the spare list (never filled) and the node list.
struct RescanListPair {
    NodeListView* spareList;
    NodeListView* nodeList;
};

// What one loop works with; the product's loop scans the subnet, refreshes from the
// process-wide registry and sleeps 20 s.
struct RescanSettings {
    const std::atomic<bool>* enabled = &RescanEnabled;
    const RescanStop* stop = nullptr; // none: only the flag ends the loop
    std::function<void()> scan;
    const NodeRegistry* registry = nullptr;
    std::function<void(int milliseconds)> sleep;
};

// Runs until the flag is found clear, or a stop requested, before a scan; returns 1.
int RescanLoop(const RescanListPair& pair, const RescanSettings& settings);

// The product's loop on the process-wide state; its sleep ends early on a stop request.
int RescanLoop(const RescanListPair* pair, const RescanStop* stop);
