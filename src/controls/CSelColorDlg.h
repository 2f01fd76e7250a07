// CSelColorDlg: the modal "Select Colour" dialog in which the presenter picks the annotation
// board's pen colour.
//
// Use:
//   CSelColorDlg dialog;
//   if (dialog.DoModal() == IDOK) {
//       pen = MakePackedColour(dialog.m_byNewRed, dialog.m_byNewGreen, dialog.m_byNewBlue);
//   }
// DoModal answers IDOK for "&OK" and Enter, IDCANCEL for "&Cancel", Escape and the close box
// (after IDCANCEL the caller takes nothing). Every dialog starts at red; the custom colours the
// presenter fills stay for the life of the process. The program must hold the dialog's
// template and drag cursor (res/).
//
// The behaviour is ColourDialogState's; this class is its window: it paints the picker,
// passes the mouse and the edits' changes on, and draws what the behaviour asks for at once.
#pragma once

#include <windows.h>

#include "controls/colour_dialog_state.h"
#include "controls/colour_dialog_view.h"
#include "controls/gdi_canvas.h"
#include "framework/CDialog.h"

class CSelColorDlg : public CDialog, protected ColourDialogView, protected ColourDialogState {
    DECLARE_DYNAMIC(CSelColorDlg)
public:
    CSelColorDlg();

    // The chosen colour, valid after DoModal answered IDOK.
    using ColourDialogState::m_byNewBlue;
    using ColourDialogState::m_byNewGreen;
    using ColourDialogState::m_byNewRed;

    // Places the controls beside the picker, then loads the members into the edits.
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);

    // The window's side of the behaviour.
    void DrawField() override;
    void DrawLumBar() override;
    void DrawCrossHair(ClientPoint cross) override;
    void DrawLumMarker(std::uint8_t lum) override;
    void DrawCurrentColor(PackedColour colour) override;
    void DrawNewColor(PackedColour colour) override;
    void DrawCustomColors(std::span<const PackedColour, kCustomColourCount> table) override;
    void LumImageChanged() override;
    void LoadEdits() override;
    void StoreEdits() override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void RequestCursor() override;

    DECLARE_MESSAGE_MAP()

private:
    // Runs draw with a canvas on the client area; nothing while there is no window.
    template <typename Draw> void DrawOnClient(Draw draw);
    // The template is in dialog units, the picker in fixed pixels: moves each control (and sizes
    // the client area) to where the picker's base units put them.
    void PlaceControlsBesideThePicker();
    HCURSOR DragCursor();

    // The field and bar images made ready for the screen, over the pixels of the state, which
    // outlive them.
    GdiImage m_fieldImage;
    GdiImage m_lumImage;
    HCURSOR m_hDragCursor = nullptr; // a shared resource cursor: never destroyed
};
