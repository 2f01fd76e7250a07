// Message maps: tables that route window messages and commands to member handlers.
//
// Use, in a class derived from CCmdTarget (usually CWnd or CDialog):
//
//   class CMyDlg : public CDialog {
//       ...
//       afx_msg void OnPaint();
//       afx_msg void OnClickedGo();
//       DECLARE_MESSAGE_MAP()
//   };
//
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(IDC_GO, &CMyDlg::OnClickedGo)
//   END_MESSAGE_MAP()
//
// A message goes to the first matching entry of the class's own table, in table order; when
// none matches, the base class's table is searched the same way, and so on up to CCmdTarget.
// Unmatched messages get the window's default processing. Each entry checks its handler's
// signature at compile time; the handlers themselves may be protected.
//
// The ON_WM_* entries call the handler names and signatures listed in CWnd.h; a class that wants
// a message's default processing either leaves the message out or calls the base handler
// (CWnd::OnChar(...)), which runs the default processing of the message being handled.
#pragma once

#include <windows.h>

#include <type_traits>

#include "framework/CPoint.h"

#ifndef WM_CTLCOLOR
// The single entry that stands for all WM_CTLCOLOR* messages in a message map.
#define WM_CTLCOLOR 0x0019
#endif

#define afx_msg

class CCmdTarget;

// One handler call: the target, the message as it arrived, and where its answer goes.
using AFX_PMSG = void (*)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // the window message (WM_CTLCOLOR for all of its variants)
    UINT nCode;    // notification code for WM_COMMAND and WM_NOTIFY, else 0
    UINT nID;      // first control or command id for WM_COMMAND and WM_NOTIFY, else 0
    UINT nLastID;  // last id of the range (the same as nID for a single id)
    AFX_PMSG pfn;  // null only in the terminating entry
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for the root map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry for the message, searching the map's own table in order and then the base
// maps' tables; null when none matches. WM_COMMAND and WM_NOTIFY match on code and id as well.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                            UINT nID);

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static_assert(std::is_base_of_v<TheBaseClass, ThisClass>,                                      \
                  "the message map's base must be a base class");                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};   \
    return &messageMap;                                                                            \
    }

// Handler of a message by number: LRESULT fn(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                             \
    {static_cast<UINT>(message), 0, 0, 0,                                                          \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM l, LRESULT* r) {                                     \
         *r = (static_cast<ThisClass*>(t)->*(memberFxn))(w, l);                                    \
     }},

// Command from a menu, an accelerator or a button click: void fn().
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id),                                  \
     [](CCmdTarget* t, UINT, WPARAM, LPARAM, LRESULT*) {                                           \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                             \
     }},

// Commands with ids from id to idLast: void fn(UINT id).
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast),                              \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM, LRESULT*) {                                         \
         (static_cast<ThisClass*>(t)->*(memberFxn))(LOWORD(w));                                    \
     }},

// A control's WM_COMMAND notification: void fn().
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(id),         \
     static_cast<UINT>(id), [](CCmdTarget* t, UINT, WPARAM, LPARAM, LRESULT*) {                    \
         (static_cast<ThisClass*>(t)->*(memberFxn))();                                             \
     }},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// A control's WM_NOTIFY notification: void fn(NMHDR*, LRESULT*); the result starts at 0.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id),      \
     [](CCmdTarget* t, UINT, WPARAM, LPARAM l, LRESULT* r) {                                       \
         (static_cast<ThisClass*>(t)->*(memberFxn))(reinterpret_cast<NMHDR*>(l), r);               \
     }},

// Window messages with the framework's handler names and argument unpacking.
#define AFX_WM_ENTRY(message, body)                                                                \
    {message, 0, 0, 0, [](CCmdTarget* target, UINT msg, WPARAM w, LPARAM l, LRESULT* r) {          \
         ThisClass* self = static_cast<ThisClass*>(target);                                        \
         (void)msg;                                                                                \
         (void)w;                                                                                  \
         (void)l;                                                                                  \
         (void)r;                                                                                  \
         body;                                                                                     \
     }},

// int OnCreate(LPCREATESTRUCTA): 0 to go on, -1 to fail the creation.
#define ON_WM_CREATE()                                                                             \
    AFX_WM_ENTRY(WM_CREATE, *r = self->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(l)))
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, self->OnDestroy())
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, self->OnClose())
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, self->OnPaint())
// BOOL OnEraseBkgnd(CDC*)
#define ON_WM_ERASEBKGND()                                                                         \
    AFX_WM_ENTRY(WM_ERASEBKGND, CDC dc(reinterpret_cast<HDC>(w)); *r = self->OnEraseBkgnd(&dc))
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, self->OnTimer(static_cast<UINT_PTR>(w)))
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                                      \
    AFX_WM_ENTRY(WM_QUERYDRAGICON, *r = reinterpret_cast<LRESULT>(self->OnQueryDragIcon()))
// void OnWindowPosChanged(WINDOWPOS*)
#define ON_WM_WINDOWPOSCHANGED()                                                                   \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, self->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(l)))
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, self->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
// void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, self->OnChar(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_KEYDOWN()                                                                            \
    AFX_WM_ENTRY(WM_KEYDOWN, self->OnKeyDown(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
// BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT*)
#define ON_WM_COPYDATA()                                                                           \
    AFX_WM_ENTRY(WM_COPYDATA, *r = self->OnCopyData(CWnd::FromHandle(reinterpret_cast<HWND>(w)),   \
                                                    reinterpret_cast<COPYDATASTRUCT*>(l)))
// void OnXxx(UINT nFlags, CPoint point) for the mouse buttons and moves
#define ON_WM_LBUTTONDOWN()                                                                        \
    AFX_WM_ENTRY(WM_LBUTTONDOWN, self->OnLButtonDown(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_LBUTTONUP()                                                                          \
    AFX_WM_ENTRY(WM_LBUTTONUP, self->OnLButtonUp(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    AFX_WM_ENTRY(WM_LBUTTONDBLCLK, self->OnLButtonDblClk(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_RBUTTONDOWN()                                                                        \
    AFX_WM_ENTRY(WM_RBUTTONDOWN, self->OnRButtonDown(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_RBUTTONUP()                                                                          \
    AFX_WM_ENTRY(WM_RBUTTONUP, self->OnRButtonUp(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_MOUSEMOVE()                                                                          \
    AFX_WM_ENTRY(WM_MOUSEMOVE, self->OnMouseMove(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_MOUSEHOVER()                                                                         \
    AFX_WM_ENTRY(WM_MOUSEHOVER, self->OnMouseHover(static_cast<UINT>(w), CPoint(l)))
// void OnMouseLeave()
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, self->OnMouseLeave())
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                          \
    AFX_WM_ENTRY(WM_SETCURSOR, *r = self->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(w)), \
                                                      LOWORD(l), HIWORD(l)))
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor), for every WM_CTLCOLOR* message;
// nCtlColor is CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC.
#define ON_WM_CTLCOLOR()                                                                           \
    AFX_WM_ENTRY(WM_CTLCOLOR, CDC dc(reinterpret_cast<HDC>(w));                                    \
                 *r = reinterpret_cast<LRESULT>(self->OnCtlColor(                                  \
                     &dc, CWnd::FromHandle(reinterpret_cast<HWND>(l)), msg - WM_CTLCOLORMSGBOX)))
// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
#define ON_WM_ACTIVATE()                                                                           \
    AFX_WM_ENTRY(                                                                                  \
        WM_ACTIVATE,                                                                               \
        self->OnActivate(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), HIWORD(w) != 0))
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT)
#define ON_WM_DRAWITEM()                                                                           \
    AFX_WM_ENTRY(WM_DRAWITEM,                                                                      \
                 self->OnDrawItem(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l));     \
                 *r = TRUE)
