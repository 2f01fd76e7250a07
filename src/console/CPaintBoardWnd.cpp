#include "console/CPaintBoardWnd.h"

#include "resource.h"

namespace {

constexpr DWORD kBoardExStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT; // 0x28
// "屏幕画图" in the GBK code page.
constexpr char kBoardTitle[] = "\xC6\xC1\xC4\xBB\xBB\xAD\xCD\xBC";

} // namespace

BEGIN_MESSAGE_MAP(CPaintBoardWnd, CWnd)
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPaintBoardWnd::~CPaintBoardWnd() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

bool CPaintBoardWnd::CreateBoard(const RECT& rect) {
    HCURSOR pen = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_PEN_CURSOR));
    // Class style 0: a double click arrives as two clicks. No background brush: the board's
    // area keeps the pixels beneath it.
    LPCSTR windowClass = AfxRegisterWndClass(0, pen, nullptr, nullptr);
    if (windowClass == nullptr ||
        !CreateEx(kBoardExStyle, windowClass, kBoardTitle, WS_POPUP, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr)) {
        return false;
    }
    SetForegroundWindow();
    return true;
}

// The board captures the mouse while a stroke is drawn, so a stroke that leaves the board
// with the button held goes on (clipped to the board) and ends wherever the button is let go.
void CPaintBoardWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    CWnd::OnLButtonDown(nFlags, point);
    m_stroke.Press({point.x, point.y});
    ::SetCapture(m_hWnd);
}

void CPaintBoardWnd::OnRButtonDown(UINT, CPoint) {
    ::PostMessageA(m_hOwner, WM_BOARDCLOSE, 0, 0);
}

void CPaintBoardWnd::OnLButtonUp(UINT nFlags, CPoint point) {
    CWnd::OnLButtonUp(nFlags, point);
    if (m_stroke.Release()) {
        ::ReleaseCapture();
    }
}

void CPaintBoardWnd::OnMouseMove(UINT nFlags, CPoint point) {
    CWnd::OnMouseMove(nFlags, point);
    std::optional<BoardSegment> segment = m_stroke.Move({point.x, point.y});
    if (!segment) {
        return;
    }
    CClientDC dc(this);
    CPen pen(PS_SOLID, m_nPenWidth, m_penColour);
    HPEN previous = dc.SelectObject(&pen);
    dc.MoveTo(segment->from.x, segment->from.y);
    dc.LineTo(segment->to.x, segment->to.y);
    dc.SelectObject(previous);
}

BOOL CPaintBoardWnd::OnEraseBkgnd(CDC* pDC) {
    return CWnd::OnEraseBkgnd(pDC);
}
