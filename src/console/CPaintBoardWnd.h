// CPaintBoardWnd: the annotation board, a borderless, topmost, see-through window over the
// screen below its top 100 pixels. The presenter draws on it with the left button and closes
// it with the right one. It paints nothing of its own: each stroke segment is drawn straight
// onto its client area, and the strokes vanish when the board is destroyed.
#pragma once

#include "console/board_stroke.h"
#include "framework/Framework.h"

// Posted by the board to its owner to ask to be closed; the owner answers 0.
inline constexpr UINT WM_BOARDCLOSE = WM_USER + 121; // 1145

class CPaintBoardWnd : public CWnd {
public:
    CPaintBoardWnd() = default;
    ~CPaintBoardWnd() override;

    // Creates the board over the rectangle (screen coordinates) and brings it to the
    // foreground. False when the window cannot be created.
    bool CreateBoard(const RECT& rect);

    int m_nPenWidth = 4;
    COLORREF m_penColour = 0;
    HWND m_hOwner = nullptr;

    const BoardStroke& Stroke() const { return m_stroke; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()

private:
    BoardStroke m_stroke;
};
