#include "controls/CSelColorDlg.h"

#include "controls/ddx_byte_edit.h"
#include "controls/dialog_unit_layout.h"
#include "controls/picker_drawing.h"
#include "framework/CClientDC.h"
#include "framework/CPaintDC.h"
#include "framework/CRect.h"
#include "framework/CWinApp.h"
#include "resource.h"

static_assert(kHueEditId == IDC_HUE_EDIT && kSatEditId == IDC_SAT_EDIT &&
                  kLumEditId == IDC_LUM_EDIT && kRedEditId == IDC_RED_EDIT &&
                  kGreenEditId == IDC_GREEN_EDIT && kBlueEditId == IDC_BLUE_EDIT &&
                  kRefEditId == IDC_REF_EDIT,
              "the behaviour's edit ids are the template's");

IMPLEMENT_DYNAMIC(CSelColorDlg, CDialog)

BEGIN_MESSAGE_MAP(CSelColorDlg, CDialog)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_EN_CHANGE(IDC_HUE_EDIT, &CSelColorDlg::OnChangeHue)
ON_EN_CHANGE(IDC_SAT_EDIT, &CSelColorDlg::OnChangeSat)
ON_EN_CHANGE(IDC_LUM_EDIT, &CSelColorDlg::OnChangeLum)
ON_EN_CHANGE(IDC_RED_EDIT, &CSelColorDlg::OnChangeRgb)
ON_EN_CHANGE(IDC_GREEN_EDIT, &CSelColorDlg::OnChangeRgb)
ON_EN_CHANGE(IDC_BLUE_EDIT, &CSelColorDlg::OnChangeRgb)
ON_EN_CHANGE(IDC_REF_EDIT, &CSelColorDlg::OnChangeRef)
ON_WM_SETCURSOR()
ON_WM_RBUTTONDOWN()
ON_BN_CLICKED(IDC_ADD_CUSTOM_COLOUR, &CSelColorDlg::OnAddCustomColor)
END_MESSAGE_MAP()

namespace {

// The dialog's data exchange through the framework's.
class FrameworkExchange final : public ColourDataExchange {
public:
    explicit FrameworkExchange(CDataExchange* pDX) : pDX_(pDX) {}

    void Text(int editId, std::string& value) override { DDX_Text(pDX_, editId, value); }
    void ByteEdit(int editId, std::uint8_t& value, std::uint8_t limit) override {
        DDX_ByteEdit(pDX_, editId, value, limit);
    }

private:
    CDataExchange* pDX_;
};

ClientPoint ToClientPoint(const CPoint& point) {
    return {point.x, point.y};
}

} // namespace

CSelColorDlg::CSelColorDlg()
    : CDialog(IDD_COLOUR_DIALOG), ColourDialogState(static_cast<ColourDialogView&>(*this)) {
    // Made with a context of the whole screen, so before the window exists. Should the window
    // system refuse, each drawing makes its bitmap from the pixels instead.
    m_fieldImage.Assign(FieldPixels());
    m_lumImage.Assign(LumPixels());
}

BOOL CSelColorDlg::OnInitDialog() {
    PlaceControlsBesideThePicker();
    return CDialog::OnInitDialog();
}

void CSelColorDlg::PlaceControlsBesideThePicker() {
    RECT baseUnits{0, 0, 4, 8};
    if (!::MapDialogRect(m_hWnd, &baseUnits)) {
        return;
    }
    const DialogBaseUnits dialogBase{baseUnits.right, baseUnits.bottom};
    if (dialogBase == kPickerBaseUnits) {
        return; // the window system has placed everything already
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        const UnitRect placed = PickerPlacement(
            {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}, dialogBase);
        ::SetWindowPos(child, nullptr, placed.x, placed.y, placed.width, placed.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CRect client;
    GetClientRect(&client);
    const UnitRect size = PickerPlacement({0, 0, client.Width(), client.Height()}, dialogBase);
    RECT frame{0, 0, size.width, size.height};
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSelColorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    FrameworkExchange exchange(pDX);
    ExchangeEdits(exchange);
}

void CSelColorDlg::OnPaint() {
    CPaintDC dc(this);
    if (dc.GetSafeHdc() == nullptr) {
        return;
    }
    GdiCanvas canvas(dc.GetSafeHdc());
    CRect client;
    GetClientRect(&client);
    Paint(canvas, client.Width(), client.Height(), m_fieldImage, m_lumImage);
}

void CSelColorDlg::OnLButtonDown(UINT, CPoint point) {
    LeftPress(ToClientPoint(point));
}

void CSelColorDlg::OnMouseMove(UINT, CPoint point) {
    MouseMove(ToClientPoint(point));
}

void CSelColorDlg::OnLButtonUp(UINT, CPoint point) {
    LeftRelease(ToClientPoint(point));
}

void CSelColorDlg::OnRButtonDown(UINT, CPoint) {
    RightPress();
}

BOOL CSelColorDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    HCURSOR drag = WantsDragCursor() ? DragCursor() : nullptr;
    if (drag == nullptr) {
        return CDialog::OnSetCursor(pWnd, nHitTest, message); // the ordinary arrow
    }
    ::SetCursor(drag);
    return TRUE;
}

HCURSOR CSelColorDlg::DragCursor() {
    if (m_hDragCursor == nullptr) {
        m_hDragCursor =
            ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_COLOUR_DRAG_CURSOR));
    }
    return m_hDragCursor;
}

template <typename Draw> void CSelColorDlg::DrawOnClient(Draw draw) {
    if (m_hWnd == nullptr) {
        return;
    }
    CClientDC dc(this);
    if (dc.GetSafeHdc() == nullptr) {
        return;
    }
    GdiCanvas canvas(dc.GetSafeHdc());
    draw(canvas);
}

void CSelColorDlg::DrawField() {
    DrawOnClient([this](Canvas& canvas) { ::DrawField(canvas, m_fieldImage); });
}

void CSelColorDlg::DrawLumBar() {
    DrawOnClient([this](Canvas& canvas) { ::DrawLumBar(canvas, m_lumImage); });
}

void CSelColorDlg::DrawCrossHair(ClientPoint cross) {
    DrawOnClient([cross](Canvas& canvas) { ::DrawCrossHair(canvas, cross.x, cross.y); });
}

void CSelColorDlg::DrawLumMarker(std::uint8_t lum) {
    DrawOnClient([lum](Canvas& canvas) { ::DrawLumMarker(canvas, lum); });
}

void CSelColorDlg::DrawCurrentColor(PackedColour colour) {
    DrawOnClient([colour](Canvas& canvas) { ::DrawCurrentColor(canvas, colour); });
}

void CSelColorDlg::DrawNewColor(PackedColour colour) {
    DrawOnClient([colour](Canvas& canvas) { ::DrawNewColor(canvas, colour); });
}

void CSelColorDlg::DrawCustomColors(std::span<const PackedColour, kCustomColourCount> table) {
    DrawOnClient([table](Canvas& canvas) { ::DrawCustomColors(canvas, table); });
}

void CSelColorDlg::LumImageChanged() {
    m_lumImage.Assign(LumPixels());
}

void CSelColorDlg::LoadEdits() {
    UpdateData(FALSE);
}

void CSelColorDlg::StoreEdits() {
    UpdateData(TRUE);
}

void CSelColorDlg::CaptureMouse() {
    ::SetCapture(m_hWnd);
}

void CSelColorDlg::ReleaseMouse() {
    if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
}

void CSelColorDlg::RequestCursor() {
    if (m_hWnd != nullptr) {
        SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd),
                    MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}
