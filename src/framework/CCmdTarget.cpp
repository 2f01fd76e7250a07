#include "framework/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {
const AFX_MSGMAP_ENTRY rootEntries[] = {{0, 0, 0, 0, nullptr}};
const AFX_MSGMAP rootMap = {nullptr, &rootEntries[0]};
} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    return &rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchToMessageMap(UINT nMessage, UINT nCode, UINT nID, UINT nMessageAsSent,
                                      WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), nMessage, nCode, nID);
    if (entry == nullptr) {
        return FALSE;
    }
    entry->pfn(this, nMessageAsSent, wParam, lParam, pResult);
    return TRUE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    LRESULT result = 0;
    const WPARAM wParam = MAKEWPARAM(nID, nCode);
    return DispatchToMessageMap(WM_COMMAND, static_cast<UINT>(static_cast<WORD>(nCode)), nID,
                                WM_COMMAND, wParam, 0, &result);
}
