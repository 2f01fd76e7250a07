// CCmdTarget: an object with a message map. CWnd and CWinApp derive from it.
//
// Windows dispatch their messages through CWnd::OnWndMsg; a target without a window (the
// application object) can have a command routed to its map with OnCmdMsg.
#pragma once

#include <windows.h>

#include "framework/CObject.h"
#include "framework/MessageMap.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls the first handler of the maps for a WM_COMMAND with this id and notification code;
    // FALSE when no entry matches.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();

    // Calls the first matching handler; FALSE when no entry matches.
    BOOL DispatchToMessageMap(UINT nMessage, UINT nCode, UINT nID, UINT nMessageAsSent,
                              WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};
