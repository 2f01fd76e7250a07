// Control wrappers bound by DDX_Control in a real dialog: the console's list views with a shared
// image list, the address control, an owner-drawn button, a picture and run-time class names.
#include <gtest/gtest.h>

#include <string>

#include "console/CListCtrlEx.h"
#include "support/scripted_dialog.h"
#include "support/test_resources.h"

namespace {

class DrawnButton : public CButton {
public:
    int m_draws = 0;
    UINT m_lastId = 0;
    HWND m_lastItem = nullptr;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        ++m_draws;
        m_lastId = lpDrawItemStruct->CtlID;
        m_lastItem = lpDrawItemStruct->hwndItem;
        CDC dc(lpDrawItemStruct->hDC);
        dc.FillSolidRect(&lpDrawItemStruct->rcItem, RGB(0, 102, 255));
    }
};

class ControlsDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    CListCtrlEx m_nodeList; // the console's list class
    CListCtrlEx m_spareList;
    CIPAddressCtrl m_address;
    DrawnButton m_drawn;
    CStatic m_picture;
    CImageList m_images;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ScriptedDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_NODE_LIST, m_nodeList);
        DDX_Control(pDX, IDC_SPARE_LIST, m_spareList);
        DDX_Control(pDX, IDC_ADDRESS, m_address);
        DDX_Control(pDX, IDC_DRAWN_BUTTON, m_drawn);
        DDX_Control(pDX, IDC_PICTURE, m_picture);
    }
};

ControlsDialog& Controls(ScriptedDialog& d) {
    return static_cast<ControlsDialog&>(d);
}

TEST(ListControl, InsertsReadsAndFindsTheFirstSelectedItem) {
    const std::string longName(300, 'n');
    ControlsDialog dialog(IDD_CONTROLS, [&](ScriptedDialog& d) {
        CListCtrl& list = Controls(d).m_nodeList;
        EXPECT_EQ(list.InsertItem(0, "alpha", 0), 0);
        EXPECT_EQ(list.InsertItem(1, "", 0), 1);
        EXPECT_EQ(list.InsertItem(2, longName.c_str(), 0), 2);
        EXPECT_EQ(list.GetItemCount(), 3);
        EXPECT_EQ(list.GetItemText(0, 0), "alpha");
        EXPECT_EQ(list.GetItemText(1, 0), "");
        EXPECT_EQ(list.GetItemText(2, 0), longName);
        char small[4];
        EXPECT_EQ(list.GetItemText(0, 0, small, sizeof small), 3);
        EXPECT_STREQ(small, "alp") << "cut to the buffer and terminated";

        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
        list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1) << "the lowest selected index";
        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(list.GetItemCount(), 0);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(ListControl, SharesItsImageListWhichOutlivesTheControls) {
    HIMAGELIST images = nullptr;
    ControlsDialog dialog(IDD_CONTROLS, [&](ScriptedDialog& d) {
        ControlsDialog& self = Controls(d);
        ASSERT_TRUE(self.m_images.Create(32, 32, ILC_COLOR32, 1, 1));
        EXPECT_EQ(self.m_images.Add(::LoadIconA(nullptr, IDI_APPLICATION)), 0);
        EXPECT_EQ(self.m_images.GetImageCount(), 1);
        images = self.m_images.m_hImageList;
        self.m_nodeList.SetImageList(&self.m_images, LVSIL_NORMAL);
        self.m_spareList.SetImageList(&self.m_images, LVSIL_NORMAL);
        EXPECT_EQ(self.m_nodeList.GetImageList(LVSIL_NORMAL), images);
        EXPECT_NE(self.m_nodeList.GetStyle() & LVS_SHAREIMAGELISTS, 0u);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    // Both lists are destroyed; the image list is still the dialog object's, whole.
    EXPECT_EQ(dialog.m_images.m_hImageList, images);
    EXPECT_EQ(::ImageList_GetImageCount(images), 1);
}

// The console's list never erases: whatever lies behind it (the console's picture) stays, even
// where the list view would fill its background colour.
TEST(ListControl, TheConsolesListLeavesItsBackgroundUnpainted) {
    ControlsDialog dialog(IDD_CONTROLS, [](ScriptedDialog& d) {
        CListCtrlEx& list = Controls(d).m_nodeList;
        list.SendMessage(LVM_SETBKCOLOR, 0, RGB(0, 0, 255));
        HDC screen = ::GetDC(list);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP canvas = ::CreateCompatibleBitmap(screen, 50, 50);
        HGDIOBJ previous = ::SelectObject(memory, canvas);
        const RECT all{0, 0, 50, 50};
        HBRUSH behind = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(memory, &all, behind);
        ::DeleteObject(behind);
        EXPECT_EQ(list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory)), TRUE);
        EXPECT_EQ(::GetPixel(memory, 10, 10), RGB(255, 0, 0));
        ::SelectObject(memory, previous);
        ::DeleteObject(canvas);
        ::DeleteDC(memory);
        ::ReleaseDC(list, screen);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

struct AddressCase {
    const char* text;
    DWORD address;
    int fields;
};

TEST(AddressControl, ReadsTheDottedTextItWasGiven) {
    const AddressCase cases[] = {
        {"192.168.1.10", 0xC0A8010A, 4},
        {"192.168.1.10 ", 0xC0A8010A, 4}, // as the local address file holds it
        {"10.0.0.5", 0x0A000005, 4},
        {"255.255.255.255", 0xFFFFFFFF, 4},
        {"0.0.0.0", 0x00000000, 4},
    };
    ControlsDialog dialog(IDD_CONTROLS, [&](ScriptedDialog& d) {
        CIPAddressCtrl& address = Controls(d).m_address;
        for (const AddressCase& c : cases) {
            SCOPED_TRACE(c.text);
            address.SetWindowText(c.text);
            DWORD value = 1;
            EXPECT_EQ(address.GetAddress(value), c.fields);
            EXPECT_EQ(value, c.address);
            EXPECT_FALSE(address.IsBlank());
        }
        // A field changed by the user stays as typed.
        address.SetWindowText("10.0.0.5");
        ::SetWindowTextA(::GetWindow(address, GW_CHILD), "7");
        DWORD typed = 0;
        EXPECT_EQ(address.GetAddress(typed), 4);
        EXPECT_NE(typed, 0x0A000005u);
        EXPECT_TRUE((typed >> 24) == 7 || (typed & 0xFF) == 7) << std::hex << typed;
        address.SetWindowText("");
        EXPECT_TRUE(address.IsBlank());
        address.SetAddress(0x01020304);
        address.ClearAddress();
        DWORD value = 1;
        EXPECT_EQ(address.GetAddress(value), 0);
        EXPECT_EQ(value, 0u) << "blank fields count as 0";
        EXPECT_TRUE(address.IsBlank());
        address.SetAddress(0x0A000005);
        BYTE a = 0, b = 0, c = 0, e = 0;
        EXPECT_EQ(address.GetAddress(a, b, c, e), 4);
        EXPECT_EQ(a, 10);
        EXPECT_EQ(e, 5);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(AddressControl, ParsesOnlyWholeDottedAddresses) {
    const struct {
        const char* text;
        bool ok;
        DWORD address;
    } cases[] = {
        {"192.168.1.10", true, 0xC0A8010A},
        {" 10.0.0.5 \r\n", true, 0x0A000005},
        {"255.255.255.255", true, 0xFFFFFFFF},
        {"001.002.003.004", true, 0x01020304},
        {"256.1.1.1", false, 0},
        {"1.2.3", false, 0},
        {"1.2.3.4.5", false, 0},
        {"1..3.4", false, 0},
        {"1.2.3.4x", false, 0},
        {"0001.2.3.4", false, 0},
        {"-1.2.3.4", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        DWORD address = 0xDEADBEEF;
        EXPECT_EQ(ParseDottedAddress(c.text, address), c.ok) << c.text;
        EXPECT_EQ(address, c.ok ? c.address : 0xDEADBEEF) << c.text;
    }
}

TEST(OwnerDrawnButton, DrawsItsFaceThroughThePassedOnDrawItem) {
    ControlsDialog dialog(IDD_CONTROLS, [](ScriptedDialog& d) {
        DrawnButton& button = Controls(d).m_drawn;
        d.ShowWindow(SW_SHOWNOACTIVATE);
        button.Invalidate(FALSE);
        button.UpdateWindow();
        EXPECT_GE(button.m_draws, 1);
        EXPECT_EQ(button.m_lastId, static_cast<UINT>(IDC_DRAWN_BUTTON));
        EXPECT_EQ(button.m_lastItem, button.m_hWnd);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(PictureControl, ShowsTheBitmapItIsGiven) {
    CBitmap picture;
    ASSERT_TRUE(picture.LoadBitmap(IDB_TEST_PICTURE));
    ControlsDialog dialog(IDD_CONTROLS, [&](ScriptedDialog& d) {
        CStatic& control = Controls(d).m_picture;
        EXPECT_EQ(control.GetBitmap(), nullptr);
        control.SetBitmap(picture);
        EXPECT_EQ(control.GetBitmap(), static_cast<HBITMAP>(picture));
        control.SetBitmap(nullptr);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(DialogItems, BoundControlsAreTheirObjectsOthersAreKeptViews) {
    ControlsDialog dialog(IDD_CONTROLS, [](ScriptedDialog& d) {
        EXPECT_EQ(d.GetDlgItem(IDC_ADDRESS), &Controls(d).m_address);
        CWnd* text = d.GetDlgItem(IDC_PLAIN_TEXT);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(d.GetDlgItem(IDC_PLAIN_TEXT), text);
        EXPECT_EQ(text->GetDlgCtrlID(), IDC_PLAIN_TEXT);
        EXPECT_EQ(text->GetParent(), &d);
        std::string caption;
        text->GetWindowText(caption);
        EXPECT_EQ(caption, "plain");
        EXPECT_EQ(d.GetDlgItem(4242), nullptr);
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
}

TEST(RuntimeClass, NamesTheClassAndItsBases) {
    CListCtrlEx list;
    const CRuntimeClass* runtimeClass = list.GetRuntimeClass();
    EXPECT_STREQ(runtimeClass->m_lpszClassName, "CListCtrlEx");
    EXPECT_STREQ(runtimeClass->m_pBaseClass->m_lpszClassName, "CListCtrl");
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CListCtrl)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(list.IsKindOf(RUNTIME_CLASS(CButton)));
    EXPECT_FALSE(list.IsKindOf(nullptr));
    DrawnButton button; // no declaration of its own: its nearest base's
    EXPECT_STREQ(button.GetRuntimeClass()->m_lpszClassName, "CButton");
    ControlsDialog dialog(IDD_CONTROLS);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CDialogEx)));
}

} // namespace
