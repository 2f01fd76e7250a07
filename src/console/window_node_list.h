// The console's list views as the rescan sees them: list-view messages sent to a window that
// the console lets go of when it is destroyed. The rescan thread holds these objects, not
// the console, so a refresh that comes after the console has gone touches nothing of it.
#pragma once

#include "console/stoppable_thread.h"
#include "discovery/rescan_loop.h"

#include <windows.h>

#include <atomic>
#include <memory>

class WindowNodeList : public NodeListView {
public:
    void Attach(HWND list) { window_.store(list); }
    void Detach() { window_.store(nullptr); }

    void DeleteAllItems() override;
    void Hide() override;
    void Show() override;
    void InsertItem(int position, const char* text) override;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    std::atomic<HWND> window_{nullptr};
};

// The two lists in the order the rescan takes them, and what stops the rescan, kept alive by
// whoever still uses them.
struct ConsoleLists {
    WindowNodeList spareList;
    WindowNodeList nodeList;
    RescanListPair pair{&spareList, &nodeList};
    RescanStop stop;
};

// Starts the rescan loop on a thread of its own, sharing the lists; not Started() when no
// thread could be started (the list then keeps the first probe's result).
StoppableThread StartRescanThread(const std::shared_ptr<ConsoleLists>& lists);
