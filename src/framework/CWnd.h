// CWnd: a C++ object joined to a window, whose messages go through its message map.
//
// A window joins its object in one of three ways:
//  - created through the object (CreateEx, or CDialog::DoModal): the object sees every message
//    from WM_NCCREATE on and destroys the window when it is destroyed itself;
//  - subclassed (SubclassWindow, SubclassDlgItem, DDX_Control): an existing window, such as a
//    dialog's control, gets the object's message map in front of its own window procedure; the
//    object gives the window back (UnsubclassWindow) when it is destroyed first;
//  - viewed (Attach, FromHandle, GetDlgItem, GetParent): only the wrappers below; the window's
//    messages do not pass through the object, and the object never destroys the window.
// When the window is destroyed, its object is detached at WM_NCDESTROY and PostNcDestroy runs.
//
// Messages: WindowProc -> OnWndMsg (the message maps) -> DefWindowProc (the window procedure
// that was there before, or the system's default). Control notifications (WM_COMMAND from a
// control, WM_NOTIFY) are ignored while the window's own UpdateData runs. A handler that throws
// does not let the exception into the system: the message then answers 0 (WM_CREATE: -1).
//
// Texts are ANSI code-page bytes; every call here is the "A" variant.
#pragma once

#include <windows.h>

#include <string>

#include "framework/CCmdTarget.h"
#include "framework/CPoint.h"
#include "framework/CRect.h"

class CDC;
class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object joined to a window of this thread (created or subclassed), or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // The joined object, or else a view of the window kept by the framework for this thread
    // (valid until the window is destroyed); null for a null handle.
    static CWnd* FromHandle(HWND hWnd);

    // View a window without taking its messages; FALSE when this object already has one.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Put this object's message map in front of an existing window of this thread.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Message processing (see the header comment).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification that the parent passes back to its control (WM_DRAWITEM); TRUE if handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The default processing of the message being handled.
    LRESULT Default();

    // Data exchange: runs DoDataExchange with control notifications locked out.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Thin wrappers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(std::string& rString) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    static CWnd* GetDesktopWindow();
    CWnd* SetFocus();
    BOOL SetForegroundWindow();
    BOOL SetMenu(HMENU hMenu);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    // A message box owned by this window; without a caption it carries the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called after the window is gone and the object detached; an object created with new
    // that owns itself deletes itself here.
    virtual void PostNcDestroy();
    // Passes the message being handled to the permanent object of the child window; TRUE if
    // the child handled it.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult);

    // Handlers for the ON_WM_* entries: each runs the default processing of the message.
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    // Passes WM_DRAWITEM to the control's object (CButton::DrawItem), else default processing.
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);

    DECLARE_MESSAGE_MAP()

private:
    friend class WindowCreationHook;
    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept;

    // Joins the window to this object and routes its messages through AfxWndProc.
    bool AttachPermanent(HWND hWnd);
    // After WM_NCDESTROY: forget the window, then PostNcDestroy.
    void DetachAfterNcDestroy();

    WNDPROC m_pfnSuper = nullptr; // the window procedure that handles what the map does not
    bool m_bCreatedHere = false;  // the window was created through this object
};
