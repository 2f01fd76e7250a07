#include "console/window_node_list.h"

#include <commctrl.h>

LRESULT WindowNodeList::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = window_.load();
    // A list let go of by the console gets nothing. A window destroyed between the load and
    // the send just refuses the message.
    return window != nullptr ? ::SendMessageA(window, message, wParam, lParam) : 0;
}

void WindowNodeList::DeleteAllItems() {
    Send(LVM_DELETEALLITEMS, 0, 0);
}

void WindowNodeList::Hide() {
    if (HWND window = window_.load()) {
        ::ShowWindow(window, SW_HIDE);
    }
}

void WindowNodeList::Show() {
    if (HWND window = window_.load()) {
        ::ShowWindow(window, SW_SHOW);
    }
}

void WindowNodeList::InsertItem(int position, const char* text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = position;
    item.pszText = const_cast<char*>(text);
    item.iImage = 0;
    Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

StoppableThread StartRescanThread(const std::shared_ptr<ConsoleLists>& lists) {
    return StoppableThread([lists] { RescanLoop(&lists->pair, &lists->stop); },
                           [lists] { lists->stop.Request(); });
}
