// ClumaDeckDlg: the presenter's full-screen console. It paints its picture, lists the found
// machines down the left edge over it, shows the SetIP and help buttons in the top right
// corner, and keeps the list current through the rescan thread.
#pragma once

#include "console/CListCtrlEx.h"
#include "console/CPaintBoardWnd.h"
#include "console/activation_guard.h"
#include "console/window_node_list.h"
#include "controls/PngButton.h"
#include "framework/Framework.h"
#include "resource.h"

#include <memory>

class ClumaDeckDlg : public CDialogEx {
public:
    ClumaDeckDlg();
    ~ClumaDeckDlg() override;

    enum { IDD = IDD_CONSOLE };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnNoAction();
    afx_msg void OnNotifyNoAction(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);

    // The console's commands.
    afx_msg void OnNodeListDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void StartMagnifier();
    afx_msg void ExitConsole();
    afx_msg void ShowLocalAddressDialog();
    afx_msg void ToggleBoard();
    afx_msg void SelectPenColour();
    afx_msg LRESULT OnBoardClose(WPARAM wParam, LPARAM lParam);
    afx_msg void OpenHelpPage();

    DECLARE_MESSAGE_MAP()

private:
    void ActivateNode();
    void OpenBoard(int right, int bottom);
    void CloseBoard();
    void PlaceImageButton(PngButton& button, int x, const char* fileName);

    HICON m_hIcon = nullptr;         // drawn while minimised; icon 21, as the window's
    HBITMAP m_hBackground = nullptr; // bitmap 195
    CImageList m_nodeImages;         // icon 192 at 32 x 32
    CListCtrlEx m_nodeList;          // 1003
    CListCtrlEx m_spareList;         // 1004, hidden, never given items
    std::shared_ptr<ConsoleLists> m_lists = std::make_shared<ConsoleLists>();
    StoppableThread m_rescan; // stopped and waited for as the console ends, after the lists
    PngButton m_cutScreen, m_copy, m_paste, m_drawImg, m_zoom, m_colourSel, m_exit;
    int m_bBoardOpen = 0;
    std::unique_ptr<CPaintBoardWnd> m_pBoard; // the open board, while m_bBoardOpen is 1
    COLORREF m_penColour = 0;
    int m_nPenWidth = 0;
    CStatic m_capturePicture; // 1016
    CStatic m_deckPicture;    // 1017
    ActivationGuard m_activationGuard;
    PngButton m_setIp; // 1025
    PngButton m_help;  // 1026
};
