// The viewer's window, of class "VNCMDI_Window", titled with the PC's name and one space: the
// remote screen scaled to fit (or 1:1 with scroll bars), the pointer and the keyboard forwarded
// unless the view-only switch is on, and what became of the connection said in the window with
// a "Try again" button. Thin: the connection, the phases, the key mapping and the geometry live
// in portable code; helper threads reach this window only through posted messages.
#pragma once

#include "framework/Framework.h"
#include "viewer/agent_name_query.h"
#include "viewer/view_geometry.h"
#include "viewer/viewer_options.h"
#include "viewer/viewer_status.h"
#include "viewer/vnc_connection.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>

class CViewerWnd : public CWnd {
public:
    // agentName: the agent's answer before the window was made, empty when it gave none.
    CViewerWnd(ViewerOptions options, std::string password, std::string agentName);
    ~CViewerWnd() override;

    BOOL CreateViewer(int nCmdShow);

    class Listener; // posts the connection's news to the window

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnTryAgain();
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnConnectionOutcome(WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameResized(WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameUpdated(WPARAM wParam, LPARAM lParam);
    LRESULT OnDesktopName(WPARAM wParam, LPARAM lParam);
    LRESULT OnAgentName(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void Apply(StatusAction action);
    void StartConnection();
    void ShowStatus();
    void ShowTitle();
    void LayoutStatus();
    void UpdateScrollBars();
    void Scroll(int bar, WPARAM wParam);
    void MakeFont();
    UINT Dpi() const;
    ViewRect Shown() const;
    bool Operating() const; // input goes to the remote desktop
    bool HandleShortcut(UINT vk);
    bool ForwardKey(UINT message, WPARAM wParam, LPARAM lParam);
    bool ForwardPointer(UINT message, WPARAM wParam, LPARAM lParam);
    void ReleaseInput();
    void SetActualSize(bool on);
    void SetViewOnly(bool on);
    void SendCtrlAltDel();

    ViewerOptions m_options;
    std::string m_password;
    std::string m_encodings;
    std::string m_agentName;
    std::string m_desktopName;
    ViewerStatus m_status;
    std::string m_lastLogLine;

    unsigned m_generation = 0; // of the current connection; older ones' news is dropped
    std::unique_ptr<Listener> m_listener;
    std::unique_ptr<VncConnection> m_connection;
    std::unique_ptr<BackgroundNameAsker> m_nameAsker;

    ViewMode m_mode = ViewMode::fit;
    bool m_viewOnly = false;
    int m_frameWidth = 0, m_frameHeight = 0;
    int m_scrollX = 0, m_scrollY = 0;
    int m_buttons = 0;
    std::set<std::uint32_t> m_pressedKeys;

    HWND m_statusText = nullptr;
    HWND m_tryAgain = nullptr;
    CGdiObject m_font;
};
