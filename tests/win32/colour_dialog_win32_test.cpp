// The colour dialog on real windows under Wine: opened from its template, driven with mouse
// messages at client points and keys typed into its edits, and checked by its members, its
// edits' texts and the pixels it painted, compared with the picker drawn in memory.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/CSelColorDlg.h"
#include "controls/colour_model.h"
#include "controls/software_canvas.h"
#include "framework/Framework.h"
#include "resource.h"

namespace {

constexpr UINT kRunStepMessage = WM_APP + 0x3C1;
constexpr UINT_PTR kWatchdogTimer = 0xC0C;
constexpr INT_PTR kWatchdogResult = -2;

// The dialog with a test's steps run inside its modal loop. It counts the data exchanges that
// the behaviour asks for and how deeply they nest: a change handler re-entered while the edits
// are written would nest them.
class DrivenColourDialog : public CSelColorDlg {
public:
    using Step = std::function<void(DrivenColourDialog&)>;

    explicit DrivenColourDialog(Step step) : m_step(std::move(step)) {}

    ColourDialogState& State() { return *this; }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string ItemText(int id) const {
        char text[64] = {};
        ::GetWindowTextA(Item(id), text, sizeof text);
        return text;
    }

    BOOL OnInitDialog() override {
        const BOOL result = CSelColorDlg::OnInitDialog();
        // Shown and painted before the first step, as the presenter first sees it.
        ShowWindow(SW_SHOW);
        UpdateWindow();
        SetTimer(kWatchdogTimer, 20000);
        PostMessage(kRunStepMessage);
        return result;
    }

    int m_exchanges = 0;
    int m_deepestExchange = 0;
    int m_fieldDraws = 0;
    // While set, the edits' change notifications reach no handler: an edit's text then
    // changes as the presenter left it, with nothing stored.
    bool m_muteEditChanges = false;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (m_muteEditChanges && message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
            *pResult = 0;
            return TRUE;
        }
        return CSelColorDlg::OnWndMsg(message, wParam, lParam, pResult);
    }
    void DrawField() override {
        ++m_fieldDraws;
        CSelColorDlg::DrawField();
    }
    void LoadEdits() override {
        Counted([this] { CSelColorDlg::LoadEdits(); });
    }
    void StoreEdits() override {
        Counted([this] { CSelColorDlg::StoreEdits(); });
    }

    afx_msg LRESULT OnRunStep(WPARAM, LPARAM) {
        const Step step = m_step;
        if (step) {
            step(*this);
        }
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) {
        if (nIDEvent == kWatchdogTimer) {
            EndDialog(static_cast<int>(kWatchdogResult));
            return;
        }
        CSelColorDlg::OnTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()

private:
    template <typename Body> void Counted(Body body) {
        ++m_exchanges;
        m_deepestExchange = std::max(m_deepestExchange, ++m_depth);
        body();
        --m_depth;
    }

    Step m_step;
    int m_depth = 0;
};

BEGIN_MESSAGE_MAP(DrivenColourDialog, CSelColorDlg)
ON_MESSAGE(kRunStepMessage, &DrivenColourDialog::OnRunStep)
ON_WM_TIMER()
END_MESSAGE_MAP()

void Mouse(HWND dialog, UINT message, WPARAM keys, int x, int y) {
    ::SendMessageA(dialog, message, keys, MAKELPARAM(x, y));
}
void Press(HWND dialog, int x, int y) {
    Mouse(dialog, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
}
void MoveWithButton(HWND dialog, int x, int y) {
    Mouse(dialog, WM_MOUSEMOVE, MK_LBUTTON, x, y);
}
void Release(HWND dialog, int x, int y) {
    Mouse(dialog, WM_LBUTTONUP, 0, x, y);
}

// The keyboard: each character inserted at the caret (or over the selection), each with the
// edit's own change notification.
void Type(HWND edit, const char* keys) {
    for (const char* c = keys; *c != '\0'; ++c) {
        ::SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 1);
    }
}
void SelectAll(HWND edit) {
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
}
// A paste over the whole text: one replacement, one notification.
void PasteOver(HWND edit, const char* text) {
    SelectAll(edit);
    ::SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}
std::pair<int, int> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

// The pixels of a window's client area as it shows them.
struct ClientPixels {
    int width = 0;
    int height = 0;
    std::vector<PackedColour> pixels;
    PackedColour At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

ClientPixels ReadClient(HWND hWnd) {
    ClientPixels shot;
    RECT client{};
    ::GetClientRect(hWnd, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    HDC windowDc = ::GetDC(hWnd);
    HDC memory = ::CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP surface = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (surface != nullptr && bits != nullptr) {
        HGDIOBJ previous = ::SelectObject(memory, surface);
        ::BitBlt(memory, 0, 0, shot.width, shot.height, windowDc, 0, 0, SRCCOPY);
        ::GdiFlush();
        const auto* words = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < shot.width * shot.height; ++i) {
            const std::uint32_t v = words[i];
            shot.pixels.push_back(MakePackedColour((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
        }
        ::SelectObject(memory, previous);
        ::DeleteObject(surface);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(hWnd, windowDc);
    return shot;
}

SystemColourScheme DesktopScheme() {
    return {::GetSysColor(COLOR_BTNFACE) & 0xFFFFFF, ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF,
            ::GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF};
}

// Every pixel that the picker paints, outside the dialog's controls, shows what the picker
// drawn in memory for the dialog's state shows.
testing::AssertionResult PaintedAsInMemory(DrivenColourDialog& dialog) {
    const ClientPixels shown = ReadClient(dialog.m_hWnd);
    if (shown.pixels.empty()) {
        return testing::AssertionFailure() << "the client area could not be read";
    }
    const int w = shown.width;
    const int h = shown.height;
    // Painted twice over different backgrounds: where the two agree, the picker painted.
    SoftwareCanvas first(w, h, MakePackedColour(1, 2, 3), DesktopScheme());
    SoftwareCanvas second(w, h, MakePackedColour(250, 251, 252), DesktopScheme());
    const ColourDialogState& state = dialog.State();
    state.Paint(first, w, h, state.FieldPixels(), state.LumPixels());
    state.Paint(second, w, h, state.FieldPixels(), state.LumPixels());

    std::vector<RECT> controls;
    for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        controls.push_back(rect);
    }
    int compared = 0;
    int differences = 0;
    testing::Message firstDifferences;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (first.Pixel(x, y) != second.Pixel(x, y)) {
                continue;
            }
            const POINT p{x, y};
            bool underControl = false;
            for (const RECT& r : controls) {
                underControl = underControl || ::PtInRect(&r, p);
            }
            if (underControl) {
                continue;
            }
            ++compared;
            if (shown.At(x, y) != first.Pixel(x, y) && ++differences <= 6) {
                firstDifferences << "\n  (" << x << "," << y << ") shows " << std::hex
                                 << shown.At(x, y) << ", in memory " << first.Pixel(x, y)
                                 << std::dec;
            }
        }
    }
    // The field alone has 36,100 pixels: fewer compared means the mask went wrong.
    if (compared < 50000) {
        return testing::AssertionFailure() << "only " << compared << " pixels compared";
    }
    if (differences == 0) {
        return testing::AssertionSuccess() << compared << " pixels compared";
    }
    return testing::AssertionFailure()
           << differences << " of " << compared << " pixels differ" << firstDifferences;
}

void Repaint(HWND dialog) {
    ::RedrawWindow(dialog, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

ClientPoint OnCell(int i) {
    return {s_customCells[i].x + 4, s_customCells[i].y + 4};
}

class ColourDialogWindow : public testing::Test {
protected:
    void SetUp() override { ColourDialogState::s_customColors.fill(kWhiteColour); }
};

TEST_F(ColourDialogWindow, OpensFromItsTemplateWithItsValues) {
    std::vector<std::pair<int, std::string>> texts;
    std::string caption;
    std::string className;
    RECT hueEdit{};
    RECT client{};
    HWND focus = nullptr;
    HWND okButton = nullptr;
    DrivenColourDialog dialog([&](DrivenColourDialog& d) {
        char text[64] = {};
        ::GetWindowTextA(d.m_hWnd, text, sizeof text);
        caption = text;
        className = d.GetRuntimeClass()->m_lpszClassName;
        for (const int id : {IDC_HUE_EDIT, IDC_SAT_EDIT, IDC_LUM_EDIT, IDC_RED_EDIT, IDC_GREEN_EDIT,
                             IDC_BLUE_EDIT, IDC_REF_EDIT}) {
            texts.emplace_back(id, d.ItemText(id));
        }
        ::GetWindowRect(d.Item(IDC_HUE_EDIT), &hueEdit);
        ::MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&hueEdit), 2);
        ::GetClientRect(d.m_hWnd, &client);
        focus = ::GetFocus();
        okButton = d.Item(IDOK);
        EXPECT_TRUE(PaintedAsInMemory(d));
        EXPECT_EQ(d.m_exchanges, 0) << "the framework's first load runs no change handler";
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(caption, "Select Colour");
    EXPECT_EQ(className, "CSelColorDlg");
    const std::vector<std::pair<int, std::string>> wanted = {
        {IDC_HUE_EDIT, "0"},     {IDC_SAT_EDIT, "240"}, {IDC_LUM_EDIT, "120"},
        {IDC_RED_EDIT, "255"},   {IDC_GREEN_EDIT, "0"}, {IDC_BLUE_EDIT, "0"},
        {IDC_REF_EDIT, "FF0000"}};
    EXPECT_EQ(texts, wanted);
    // Placed in the picker's pixels: 189, 70, 24, 12 dialog units at 6 x 13 base units.
    EXPECT_EQ(hueEdit.left, 284);
    EXPECT_EQ(hueEdit.top, 114);
    EXPECT_EQ(hueEdit.right - hueEdit.left, 36);
    EXPECT_EQ(hueEdit.bottom - hueEdit.top, 20);
    EXPECT_EQ(client.right, 416);
    EXPECT_EQ(client.bottom, 297);
    EXPECT_EQ(focus, okButton) << "the focus starts on OK";
}

TEST_F(ColourDialogWindow, TypingUpdatesTheOtherEditsWithoutReenteringTheHandlers) {
    DrivenColourDialog dialog([](DrivenColourDialog& d) {
        const int exchangesAtStart = d.m_exchanges;
        SelectAll(d.Item(IDC_BLUE_EDIT));
        Type(d.Item(IDC_BLUE_EDIT), "128");
        EXPECT_EQ(d.m_exchanges - exchangesAtStart, 6) << "one store and one load a key";
        EXPECT_EQ(d.m_deepestExchange, 1) << "no handler ran inside an exchange";
        EXPECT_EQ(d.ItemText(IDC_HUE_EDIT), "220");
        EXPECT_EQ(d.ItemText(IDC_SAT_EDIT), "240");
        EXPECT_EQ(d.ItemText(IDC_LUM_EDIT), "120");
        EXPECT_EQ(d.ItemText(IDC_REF_EDIT), "FF0080");
        EXPECT_EQ(d.State().m_ptCross, (ClientPoint{174, 0}));
        EXPECT_TRUE(PaintedAsInMemory(d));

        SelectAll(d.Item(IDC_RED_EDIT));
        Type(d.Item(IDC_RED_EDIT), "300");
        EXPECT_EQ(d.ItemText(IDC_RED_EDIT), "255");
        SelectAll(d.Item(IDC_HUE_EDIT));
        Type(d.Item(IDC_HUE_EDIT), "250");
        EXPECT_EQ(d.ItemText(IDC_HUE_EDIT), "239");
        PasteOver(d.Item(IDC_GREEN_EDIT), "a1b2");
        EXPECT_EQ(d.ItemText(IDC_GREEN_EDIT), "12");
        EXPECT_EQ(d.State().m_byNewGreen, 12);

        // Emptied: the previous luminance again, the caret at the start.
        const std::string lum = d.ItemText(IDC_LUM_EDIT);
        SelectAll(d.Item(IDC_LUM_EDIT));
        Type(d.Item(IDC_LUM_EDIT), "\b");
        EXPECT_EQ(d.ItemText(IDC_LUM_EDIT), lum);
        EXPECT_EQ(Selection(d.Item(IDC_LUM_EDIT)), (std::pair<int, int>{0, 0}));

        PasteOver(d.Item(IDC_REF_EDIT), "0080ff");
        EXPECT_EQ(d.ItemText(IDC_REF_EDIT), "0080FF");
        EXPECT_EQ(d.ItemText(IDC_RED_EDIT), "0");
        EXPECT_EQ(d.ItemText(IDC_GREEN_EDIT), "128");
        EXPECT_EQ(d.ItemText(IDC_BLUE_EDIT), "255");
        ::SendMessageA(d.Item(IDC_REF_EDIT), EM_SETSEL, 6, 6);
        Type(d.Item(IDC_REF_EDIT), "7");
        EXPECT_EQ(d.ItemText(IDC_REF_EDIT), "0080FF") << "a seventh digit is dropped";
        EXPECT_EQ(d.m_deepestExchange, 1);
        EXPECT_TRUE(PaintedAsInMemory(d));
        Repaint(d.m_hWnd);
        EXPECT_TRUE(PaintedAsInMemory(d)) << "after a full repaint";
        // The edits as the presenter left them are what OK stores: the text is set with its
        // change notification held back, so that only OK's own store can take it.
        d.m_muteEditChanges = true;
        ::SetWindowTextA(d.Item(IDC_GREEN_EDIT), "99");
        d.m_muteEditChanges = false;
        EXPECT_EQ(d.State().m_byNewGreen, 128) << "nothing stored before OK";
        ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(d.Item(IDOK)));
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(MakePackedColour(dialog.m_byNewRed, dialog.m_byNewGreen, dialog.m_byNewBlue),
              MakePackedColour(0, 99, 255));
}

// Each edit's change reaches its own handler through the dialog's message map: one digit typed
// into each edit of a fresh (red) dialog. The handlers differ in what they move: hue moves the
// cross-hair across, saturation down, luminance only the colour (the field is not redrawn),
// red, green and blue recompute hue, saturation and luminance, the reference re-reads the colour.
TEST_F(ColourDialogWindow, EachEditReachesItsOwnHandler) {
    // The digit 8 over the whole text of each numeric edit; a 0 at the start of the reference
    // text. Then the values, the new colour as its reference text, the cross-hair, and whether
    // the field was redrawn.
    struct Typed {
        int id;
        int hue, sat, lum;
        unsigned ref;
        int crossX, crossY;
        bool fieldDrawn;
    };
    const Typed cases[] = {
        {IDC_HUE_EDIT, 8, 240, 120, 0xFF3300, 6, 0, true},
        {IDC_SAT_EDIT, 0, 8, 120, 0x847B7B, 0, 183, true},
        {IDC_LUM_EDIT, 0, 240, 8, 0x110000, 0, 0, false},
        {IDC_RED_EDIT, 0, 240, 4, 0x080000, 0, 0, true},
        {IDC_GREEN_EDIT, 1, 240, 120, 0xFF0800, 0, 0, true},
        {IDC_BLUE_EDIT, 239, 240, 120, 0xFF0008, 190, 0, true},
        {IDC_REF_EDIT, 78, 240, 113, 0x0FF000, 62, 0, true},
    };
    for (const Typed& c : cases) {
        SCOPED_TRACE(c.id);
        DrivenColourDialog dialog([&c](DrivenColourDialog& d) {
            const HWND edit = d.Item(c.id);
            if (c.id == IDC_REF_EDIT) {
                ::SendMessageA(edit, EM_SETSEL, 0, 0);
            } else {
                SelectAll(edit);
            }
            const int fieldDrawsBefore = d.m_fieldDraws;
            Type(edit, c.id == IDC_REF_EDIT ? "0" : "8");
            const ColourDialogState& s = d.State();
            EXPECT_EQ(s.m_byHue, c.hue);
            EXPECT_EQ(s.m_bySat, c.sat);
            EXPECT_EQ(s.m_byLum, c.lum);
            EXPECT_EQ(s.NewColour(),
                      MakePackedColour((c.ref >> 16) & 0xFF, (c.ref >> 8) & 0xFF, c.ref & 0xFF));
            char ref[8] = {};
            std::snprintf(ref, sizeof ref, "%06X", c.ref);
            EXPECT_EQ(d.ItemText(IDC_REF_EDIT), ref);
            EXPECT_EQ(s.m_ptCross, (ClientPoint{c.crossX, c.crossY}));
            EXPECT_EQ(d.m_fieldDraws > fieldDrawsBefore, c.fieldDrawn);
            EXPECT_TRUE(PaintedAsInMemory(d));
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

TEST_F(ColourDialogWindow, TheMouseDrivesTheFieldTheBarAndTheSwatches) {
    const ClientPoint cell7 = OnCell(7);
    DrivenColourDialog dialog([&](DrivenColourDialog& d) {
        const HWND w = d.m_hWnd;
        Press(w, 109, 108);
        EXPECT_EQ(::GetCapture(), w) << "the field captures the mouse";
        EXPECT_EQ(d.State().m_ptCross, (ClientPoint{95, 95}));
        EXPECT_EQ(d.ItemText(IDC_HUE_EDIT), "119");
        EXPECT_EQ(d.ItemText(IDC_SAT_EDIT), "120");
        EXPECT_TRUE(PaintedAsInMemory(d));
        MoveWithButton(w, 500, 500);
        EXPECT_EQ(d.State().m_ptCross, (ClientPoint{190, 190}));
        EXPECT_EQ(d.ItemText(IDC_HUE_EDIT), "239");
        EXPECT_EQ(d.ItemText(IDC_SAT_EDIT), "0");
        Release(w, 500, 500);
        EXPECT_NE(::GetCapture(), w);

        Press(w, 60, 60);
        MoveWithButton(w, 109, 108);
        Mouse(w, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 109, 108);
        MoveWithButton(w, 30, 30);
        EXPECT_EQ(d.State().m_ptCross, (ClientPoint{95, 95})) << "the right press ended it";
        Release(w, 30, 30);

        Press(w, 228, 108);
        EXPECT_EQ(d.ItemText(IDC_LUM_EDIT), "120");
        MoveWithButton(w, 228, 2);
        EXPECT_EQ(d.ItemText(IDC_LUM_EDIT), "240");
        MoveWithButton(w, 228, 280);
        EXPECT_EQ(d.ItemText(IDC_LUM_EDIT), "0");
        MoveWithButton(w, 228, 60);
        Release(w, 228, 60);
        EXPECT_TRUE(PaintedAsInMemory(d));

        // A colour drag shows the drag cursor; the release brings the arrow back.
        const HCURSOR drag =
            ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_COLOUR_DRAG_CURSOR));
        EXPECT_NE(drag, nullptr);
        Press(w, 380, 40);
        EXPECT_EQ(::GetCapture(), nullptr) << "a colour drag does not capture";
        MoveWithButton(w, 300, 150);
        EXPECT_EQ(::GetCursor(), drag);
        MoveWithButton(w, cell7.x, cell7.y);
        Release(w, cell7.x, cell7.y);
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(ColourDialogState::s_customColors[7], d.State().NewColour());

        // The current swatch at once; clicked, it makes red the new colour.
        Press(w, 290, 40);
        EXPECT_EQ(::GetCursor(), drag);
        Release(w, 290, 40);
        EXPECT_EQ(d.ItemText(IDC_REF_EDIT), "FF0000");

        // A click on cell 7 brings its colour back.
        Press(w, cell7.x, cell7.y);
        Release(w, cell7.x, cell7.y);
        EXPECT_EQ(d.State().NewColour(), ColourDialogState::s_customColors[7]);
        ::SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDC_ADD_CUSTOM_COLOUR, BN_CLICKED),
                       reinterpret_cast<LPARAM>(d.Item(IDC_ADD_CUSTOM_COLOUR)));
        EXPECT_EQ(ColourDialogState::s_customColors[8], d.State().NewColour());
        EXPECT_EQ(d.m_deepestExchange, 1);
        EXPECT_TRUE(PaintedAsInMemory(d));
        Repaint(w);
        EXPECT_TRUE(PaintedAsInMemory(d)) << "after a full repaint";
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

// How the dialog ends, and what it leaves behind: the custom colours stay either way.
TEST_F(ColourDialogWindow, OkEnterCancelEscapeAndTheCloseBox) {
    const struct {
        const char* what;
        void (*end)(DrivenColourDialog& d);
        INT_PTR result;
    } cases[] = {
        {"OK",
         [](DrivenColourDialog& d) {
             ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                            reinterpret_cast<LPARAM>(d.Item(IDOK)));
         },
         IDOK},
        {"Enter",
         [](DrivenColourDialog& d) {
             ::PostMessageA(d.Item(IDC_RED_EDIT), WM_KEYDOWN, VK_RETURN, 1);
         },
         IDOK},
        {"Cancel",
         [](DrivenColourDialog& d) {
             ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                            reinterpret_cast<LPARAM>(d.Item(IDCANCEL)));
         },
         IDCANCEL},
        {"Escape",
         [](DrivenColourDialog& d) {
             ::PostMessageA(d.Item(IDC_RED_EDIT), WM_KEYDOWN, VK_ESCAPE, 1);
         },
         IDCANCEL},
        {"close box",
         [](DrivenColourDialog& d) { ::PostMessageA(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); },
         IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ColourDialogState::s_customColors.fill(kWhiteColour);
        DrivenColourDialog dialog([&c](DrivenColourDialog& d) {
            PasteOver(d.Item(IDC_REF_EDIT), "123456");
            ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ADD_CUSTOM_COLOUR, BN_CLICKED),
                           reinterpret_cast<LPARAM>(d.Item(IDC_ADD_CUSTOM_COLOUR)));
            c.end(d);
        });
        // The caller's pen, as the board keeps it: replaced only after IDOK.
        PackedColour pen = MakePackedColour(1, 1, 1);
        const INT_PTR result = dialog.DoModal();
        if (result == IDOK) {
            pen = MakePackedColour(dialog.m_byNewRed, dialog.m_byNewGreen, dialog.m_byNewBlue);
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(pen, c.result == IDOK ? MakePackedColour(0x12, 0x34, 0x56)
                                        : MakePackedColour(1, 1, 1));
        EXPECT_EQ(ColourDialogState::s_customColors[0], MakePackedColour(0x12, 0x34, 0x56));
    }
}

} // namespace
