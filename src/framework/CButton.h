// CButton: a push button. An owner-drawn button (BS_OWNERDRAW) paints its face in DrawItem,
// which the parent's WM_DRAWITEM reaches through CWnd::OnDrawItem when the button has a
// permanent object (DDX_Control or SubclassDlgItem).
#pragma once

#include "framework/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // Paints an owner-drawn button; the framework's version paints nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    UINT GetState() const;
    void SetState(BOOL bHighlight);
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
