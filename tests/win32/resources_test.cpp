// The compiled resources, checked the way the program uses them: the dialog templates byte by
// byte and as created windows, the menus, the bitmaps, icons and cursors as the window classes
// load them, and the two button strips beside the executable as GDI+ decodes them.

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialog_template_reader.h"
#include "resource.h"

namespace {

using cluma::test::DialogTemplate;
using cluma::test::ItemClassName;
using cluma::test::NameOrOrdinal;
using cluma::test::ParseDialogTemplate;
using cluma::test::SameClassName;

HINSTANCE Module() {
    return GetModuleHandleW(nullptr);
}

// Plain text of a UTF-16 string for comparisons and failure messages.
std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            wsprintfA(escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

std::string Narrow(const wchar_t* s) {
    return Narrow(std::u16string(reinterpret_cast<const char16_t*>(s)));
}

struct Bytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Resource types (the RT_ macros follow the ANSI or wide choice of the build).
enum ResourceType : WORD {
    kCursor = 1,
    kBitmap = 2,
    kIcon = 3,
    kDialog = 5,
    kGroupCursor = 12,
    kGroupIcon = 14,
};

// The raw bytes of one resource of this program, or nothing.
std::optional<Bytes> ResourceBytes(ResourceType type, int id) {
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (found == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(Module(), found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return std::nullopt;
    }
    return Bytes{static_cast<const std::uint8_t*>(data), SizeofResource(Module(), found)};
}

template <typename T> bool ReadAt(const Bytes& b, std::size_t offset, T& out) {
    if (offset > b.size || sizeof(T) > b.size - offset) {
        return false;
    }
    std::memcpy(&out, b.data + offset, sizeof(T));
    return true;
}

// --- dialog templates ------------------------------------------------------------------------

DialogTemplate LoadTemplate(int id) {
    auto bytes = ResourceBytes(kDialog, id);
    if (!bytes) {
        ADD_FAILURE() << "dialog template " << id << " is missing";
        return {};
    }
    std::string error;
    auto parsed = ParseDialogTemplate(bytes->data, bytes->size, &error);
    if (!parsed) {
        ADD_FAILURE() << "dialog template " << id << ": " << error;
        return {};
    }
    return *parsed;
}

std::string TextOf(const NameOrOrdinal& n) {
    if (n.is_ordinal) {
        return "#" + std::to_string(n.ordinal);
    }
    return Narrow(n.name);
}

struct ExpectedDialog {
    int id;
    DWORD style;
    DWORD ex_style;
    short cx, cy;
    const char* caption;
    const char16_t* window_class; // nullptr: the standard dialog class
    int menu;                     // 0: none
    std::size_t items;
};

constexpr DWORD kTabStopChild = WS_CHILD | WS_TABSTOP;

const ExpectedDialog kDialogs[] = {
    {IDD_CONSOLE,
     WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT,
     WS_EX_APPWINDOW, 573, 394, "ClumaDeck", u"CLumaDeckDlg", IDR_CONSOLE_MENU, 18},
    {IDD_COLOUR_DIALOG, DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 277, 183,
     "Select Colour", nullptr, 0, 19},
    {IDD_SPLASH, DS_CENTER | WS_POPUP | WS_SYSMENU | DS_SETFONT, 0, 525, 361, "", nullptr, 0, 0},
    {IDD_SET_IP, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 232, 135,
     "set ip", nullptr, 0, 3},
};

TEST(DialogTemplates, HeadersAreAsTheWindowsNeedThem) {
    for (const auto& want : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(want.id));
        DialogTemplate t = LoadTemplate(want.id);
        EXPECT_TRUE(t.extended);
        EXPECT_EQ(t.style, want.style) << std::hex << (t.style ^ want.style) << " differ";
        EXPECT_EQ(t.ex_style, want.ex_style);
        EXPECT_EQ(t.x, 0);
        EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.cx, want.cx);
        EXPECT_EQ(t.cy, want.cy);
        EXPECT_EQ(Narrow(t.caption), want.caption);
        if (want.window_class == nullptr) {
            EXPECT_FALSE(t.window_class.present) << TextOf(t.window_class);
        } else {
            EXPECT_FALSE(t.window_class.is_ordinal);
            EXPECT_TRUE(SameClassName(t.window_class.name, want.window_class))
                << Narrow(t.window_class.name);
        }
        if (want.menu == 0) {
            EXPECT_FALSE(t.menu.present) << TextOf(t.menu);
        } else {
            EXPECT_TRUE(t.menu.is_ordinal);
            EXPECT_EQ(t.menu.ordinal, want.menu);
        }
        EXPECT_TRUE(t.has_font);
        EXPECT_EQ(t.point_size, 8);
        EXPECT_EQ(Narrow(t.typeface), "MS Shell Dlg");
        EXPECT_EQ(t.items.size(), want.items);
    }
}

struct ExpectedItem {
    int id;
    const char16_t* window_class;
    const char* text;   // "#188" for a picture given by its resource number
    DWORD style;        // the whole style
    short x, y, cx, cy; // cx 0: the position is the program's to set, not the template's
};

void ExpectItems(int dialog, const std::vector<ExpectedItem>& want) {
    DialogTemplate t = LoadTemplate(dialog);
    ASSERT_EQ(t.items.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const auto& item = t.items[i];
        const auto& w = want[i];
        SCOPED_TRACE("dialog " + std::to_string(dialog) + ", item " + std::to_string(i) + " (id " +
                     std::to_string(w.id) + ")");
        EXPECT_EQ(static_cast<int>(item.id), w.id);
        EXPECT_TRUE(SameClassName(ItemClassName(item.window_class), w.window_class))
            << Narrow(ItemClassName(item.window_class));
        EXPECT_EQ(TextOf(item.text), w.text);
        EXPECT_EQ(item.style, w.style) << std::hex << (item.style ^ w.style) << " differ";
        EXPECT_EQ(item.ex_style, 0u);
        if (w.cx != 0) {
            EXPECT_EQ(item.x, w.x);
            EXPECT_EQ(item.y, w.y);
            EXPECT_EQ(item.cx, w.cx);
            EXPECT_EQ(item.cy, w.cy);
        }
        EXPECT_TRUE(item.creation_data.empty());
    }
}

TEST(DialogTemplates, ConsoleControls) {
    constexpr DWORD push = kTabStopChild | BS_PUSHBUTTON;
    constexpr DWORD owner_drawn = kTabStopChild | BS_OWNERDRAW;
    constexpr DWORD list = kTabStopChild | LVS_ICON | LVS_ALIGNLEFT | LVS_NOCOLUMNHEADER;
    ExpectItems(IDD_CONSOLE,
                {
                    {1000, u"Button", "Button1", push, 0, 0, 0, 0},
                    {1001, u"Static", "Static", WS_CHILD | WS_GROUP | SS_LEFT, 0, 0, 0, 0},
                    {1002, u"Button", "Button2", push, 0, 0, 0, 0},
                    {1003, u"SysListView32", "", list | WS_VISIBLE, 0, 0, 0, 0},
                    {1004, u"SysListView32", "", list, 0, 0, 0, 0},
                    {1005, u"Button", "cutscreen", push, 0, 0, 0, 0},
                    {1006, u"Button", "drawImg", owner_drawn, 0, 0, 0, 0},
                    {1009, u"Button", "Button3", push, 0, 0, 0, 0},
                    {1010, u"Button", "colorSel", push, 0, 0, 0, 0},
                    {1011, u"Button", "paste", push, 0, 0, 0, 0},
                    {1012, u"Button", "copy", push, 0, 0, 0, 0},
                    {1013, u"Button", "drawImg", push, 0, 0, 0, 0},
                    {1014, u"Button", "zoom", push, 0, 0, 0, 0},
                    {1015, u"Button", "exit", push, 0, 0, 0, 0},
                    {1016, u"Static", "#188", WS_CHILD | SS_BITMAP | SS_NOTIFY, 0, 0, 0, 0},
                    {1017, u"Static", "#190", WS_CHILD | SS_BITMAP, 0, 0, 0, 0},
                    {1025, u"Button", "SetIP", owner_drawn | WS_VISIBLE, 0, 0, 0, 0},
                    {1026, u"Button", "help", owner_drawn | WS_VISIBLE, 0, 0, 0, 0},
                });
}

TEST(DialogTemplates, ConsoleShowsOnlyTheNodeListAndTwoButtons) {
    std::set<std::uint32_t> visible;
    for (const auto& item : LoadTemplate(IDD_CONSOLE).items) {
        if (item.style & WS_VISIBLE) {
            visible.insert(item.id);
        }
    }
    EXPECT_EQ(visible, (std::set<std::uint32_t>{IDC_NODE_LIST, IDC_SETIP, IDC_HELP_BUTTON}));
}

TEST(DialogTemplates, ColourDialogControls) {
    constexpr DWORD label = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
    constexpr DWORD edit =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL;
    constexpr DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    ExpectItems(
        IDD_COLOUR_DIALOG,
        {
            {IDOK, u"Button", "&OK", button | BS_DEFPUSHBUTTON, 168, 166, 50, 14},
            {IDCANCEL, u"Button", "&Cancel", button | BS_PUSHBUTTON, 224, 166, 50, 14},
            {-1, u"Static", "Current Colour:", label, 166, 7, 48, 8},
            {-1, u"Static", "New Colour:", label, 224, 7, 40, 8},
            {-1, u"Static", "Hu&e:", label, 171, 72, 16, 8},
            {1103, u"Edit", "", edit, 189, 70, 24, 12},
            {-1, u"Static", "&Sat:", label, 171, 90, 16, 8},
            {1104, u"Edit", "", edit, 189, 88, 24, 12},
            {-1, u"Static", "&Lum:", label, 171, 107, 16, 8},
            {1105, u"Edit", "", edit, 189, 106, 24, 12},
            {-1, u"Static", "&Red:", label, 223, 72, 16, 8},
            {1106, u"Edit", "", edit, 241, 70, 24, 12},
            {-1, u"Static", "&Green:", label, 216, 90, 23, 8},
            {1107, u"Edit", "", edit, 241, 88, 24, 12},
            {-1, u"Static", "&Blue:", label, 222, 107, 17, 8},
            {1108, u"Edit", "", edit, 241, 106, 24, 12},
            {-1, u"Static", "Ref:", label, 167, 46, 15, 8},
            {1112, u"Edit", "", edit, 184, 44, 86, 12},
            {3, u"Button", "<< &Add Custom Colour", button | BS_PUSHBUTTON, 174, 136, 89, 14},
        });
}

// A label's mnemonic moves the focus to the next control in the template: each label with a
// mnemonic must come right before its edit, and the focus must start on OK.
TEST(DialogTemplates, ColourDialogMnemonicsReachTheirEdits) {
    DialogTemplate t = LoadTemplate(IDD_COLOUR_DIALOG);
    ASSERT_FALSE(t.items.empty());
    auto first_tab_stop = std::find_if(t.items.begin(), t.items.end(),
                                       [](const auto& item) { return item.style & WS_TABSTOP; });
    ASSERT_NE(first_tab_stop, t.items.end());
    EXPECT_EQ(first_tab_stop->id, static_cast<std::uint32_t>(IDOK));
    int labels = 0;
    for (std::size_t i = 0; i + 1 < t.items.size(); ++i) {
        const auto& item = t.items[i];
        if (SameClassName(ItemClassName(item.window_class), u"Static") &&
            item.text.name.find(u'&') != std::u16string::npos) {
            ++labels;
            SCOPED_TRACE(Narrow(item.text.name));
            EXPECT_TRUE(SameClassName(ItemClassName(t.items[i + 1].window_class), u"Edit"));
        }
    }
    EXPECT_EQ(labels, 6);
}

TEST(DialogTemplates, SetIpControls) {
    constexpr DWORD visible = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    ExpectItems(IDD_SET_IP,
                {
                    {1024, u"SysIPAddress32", "", visible, 23, 15, 195, 22},
                    {IDOK, u"Button", "OK", visible | BS_DEFPUSHBUTTON, 102, 110, 50, 14},
                    {IDCANCEL, u"Button", "Cancel", visible | BS_PUSHBUTTON, 175, 108, 50, 14},
                });
}

// --- the templates as windows ---------------------------------------------------------------

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class DialogWindow {
public:
    explicit DialogWindow(int id)
        : hwnd_(CreateDialogParamW(Module(), MAKEINTRESOURCEW(id), nullptr, PassiveDialogProc, 0)) {
    }
    ~DialogWindow() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

std::string ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return Narrow(name);
}

class DialogWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES};
        InitCommonControlsEx(&controls);
        // As start-up does: the console's class is a copy of the standard dialog class.
        WNDCLASSW dialog_class{};
        ASSERT_TRUE(GetClassInfoW(nullptr, L"#32770", &dialog_class));
        dialog_class.hInstance = Module();
        dialog_class.lpszClassName = L"CLumaDeckDlg";
        ASSERT_NE(RegisterClassW(&dialog_class), 0);
    }
};

TEST_F(DialogWindows, ConsoleIsCreatedWithItsClassMenuAndPictures) {
    DialogWindow console(IDD_CONSOLE);
    ASSERT_NE(console.get(), nullptr) << "error " << GetLastError();
    EXPECT_EQ(ClassOf(console.get()), "CLumaDeckDlg");
    EXPECT_NE(GetMenu(console.get()), nullptr);
    EXPECT_TRUE(GetWindowLongW(console.get(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(ClassOf(GetDlgItem(console.get(), IDC_NODE_LIST)), "SysListView32");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(console.get(), IDC_SPARE_LIST)));

    struct Picture {
        int control;
        LONG width, height;
    };
    for (const Picture& p :
         {Picture{IDC_CAPTURE_PICTURE, 80, 63}, Picture{IDC_DECK_PICTURE, 70, 55}}) {
        SCOPED_TRACE(p.control);
        auto shown = reinterpret_cast<HBITMAP>(
            SendDlgItemMessageW(console.get(), p.control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(shown, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectW(shown, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, p.width);
        EXPECT_EQ(info.bmHeight, p.height);
    }
}

TEST_F(DialogWindows, EveryDialogIsCreatedWithAllItsControls) {
    struct Case {
        int id;
        int children;
        const char* caption;
    };
    for (const Case& c : {Case{IDD_COLOUR_DIALOG, 19, "Select Colour"}, Case{IDD_SPLASH, 0, ""},
                          Case{IDD_SET_IP, 3, "set ip"}, Case{IDD_CONSOLE, 18, "ClumaDeck"}}) {
        SCOPED_TRACE(c.id);
        DialogWindow dialog(c.id);
        ASSERT_NE(dialog.get(), nullptr) << "error " << GetLastError();
        int direct_children = 0;
        for (HWND child = GetWindow(dialog.get(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            ++direct_children;
        }
        EXPECT_EQ(direct_children, c.children);
        wchar_t caption[64] = {};
        GetWindowTextW(dialog.get(), caption, 64);
        EXPECT_EQ(Narrow(caption), c.caption);
    }
}

TEST_F(DialogWindows, SetIpHoldsAnAddressControl) {
    DialogWindow dialog(IDD_SET_IP);
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(ClassOf(GetDlgItem(dialog.get(), IDC_IP_ADDRESS)), "SysIPAddress32");
}

TEST_F(DialogWindows, SplashHasNeitherCaptionNorBorder) {
    DialogWindow splash(IDD_SPLASH);
    ASSERT_NE(splash.get(), nullptr);
    LONG style = GetWindowLongW(splash.get(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_POPUP, 0);
}

// --- menus ------------------------------------------------------------------------------------

std::vector<UINT> CommandsOf(HMENU menu) {
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            auto inner = CommandsOf(sub);
            commands.insert(commands.end(), inner.begin(), inner.end());
        } else {
            commands.push_back(GetMenuItemID(menu, i));
        }
    }
    return commands;
}

TEST(Menus, LoadWithTheirCommands) {
    struct Case {
        int id;
        std::vector<UINT> commands;
    };
    for (const Case& c : {Case{IDR_CONSOLE_MENU, {IDC_SETIP, IDC_HELP_BUTTON}},
                          Case{IDR_SPARE_MENU, {ID_SPARE_COMMAND}}}) {
        SCOPED_TRACE(c.id);
        HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(c.id));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(CommandsOf(menu), c.commands);
        DestroyMenu(menu);
    }
}

// --- bitmaps ----------------------------------------------------------------------------------

// A 24-bit picture resource, read pixel by pixel.
class Dib24 {
public:
    explicit Dib24(int id) {
        auto bytes = ResourceBytes(kBitmap, id);
        if (!bytes || !ReadAt(*bytes, 0, header_) || header_.biSize < sizeof header_ ||
            header_.biBitCount != 24 || header_.biCompression != BI_RGB || header_.biWidth <= 0 ||
            header_.biHeight == 0) {
            return;
        }
        stride_ = (static_cast<std::size_t>(header_.biWidth) * 3 + 3) & ~std::size_t{3};
        std::size_t rows = static_cast<std::size_t>(std::abs(header_.biHeight));
        if (bytes->size - header_.biSize < stride_ * rows) {
            return;
        }
        bytes_ = *bytes;
        pixels_ = bytes_.data + header_.biSize;
    }
    bool valid() const { return pixels_ != nullptr; }
    int width() const { return header_.biWidth; }
    int height() const { return std::abs(header_.biHeight); }
    COLORREF at(int x, int y) const {
        int row = header_.biHeight > 0 ? height() - 1 - y : y;
        const std::uint8_t* p = pixels_ + static_cast<std::size_t>(row) * stride_ + x * 3;
        return RGB(p[2], p[1], p[0]);
    }

private:
    BITMAPINFOHEADER header_{};
    Bytes bytes_;
    const std::uint8_t* pixels_ = nullptr;
    std::size_t stride_ = 0;
};

TEST(Bitmaps, HaveTheirSizesAndDepth) {
    struct Case {
        int id;
        LONG width, height;
    };
    for (const Case& c :
         {Case{IDB_SPLASH, 500, 400}, Case{IDB_CAPTURE_PICTURE, 80, 63},
          Case{IDB_DECK_PICTURE, 70, 55}, Case{IDB_CONSOLE_BACKGROUND, 1280, 800}}) {
        SCOPED_TRACE(c.id);
        auto bytes = ResourceBytes(kBitmap, c.id);
        ASSERT_TRUE(bytes.has_value());
        BITMAPINFOHEADER header{};
        ASSERT_TRUE(ReadAt(*bytes, 0, header));
        EXPECT_EQ(header.biBitCount, 24);
        EXPECT_EQ(header.biWidth, c.width);
        EXPECT_EQ(header.biHeight, c.height);

        HBITMAP loaded = LoadBitmapW(Module(), MAKEINTRESOURCEW(c.id));
        ASSERT_NE(loaded, nullptr);
        BITMAP info{};
        ASSERT_NE(GetObjectW(loaded, sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        DeleteObject(loaded);
    }
}

int Brightness(COLORREF c) {
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

TEST(Bitmaps, ConsoleBackgroundHasTheBarAtColumns153To157) {
    Dib24 picture(IDB_CONSOLE_BACKGROUND);
    ASSERT_TRUE(picture.valid());
    const COLORREF bar = RGB(0, 102, 255);
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 150; x <= 160; ++x) {
            bool in_bar = x >= 153 && x <= 157;
            if ((picture.at(x, y) == bar) != in_bar) {
                ++wrong;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Bitmaps, ConsoleBackgroundIsDarkBlueWithLightStreaks) {
    Dib24 picture(IDB_CONSOLE_BACKGROUND);
    ASSERT_TRUE(picture.valid());
    long long total = 0;
    int pixels = 0, not_blue = 0;
    std::vector<int> brightness;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (x >= 153 && x <= 157) {
                continue;
            }
            COLORREF c = picture.at(x, y);
            if (GetBValue(c) < GetRValue(c) || GetBValue(c) < GetGValue(c)) {
                ++not_blue;
            }
            total += Brightness(c);
            ++pixels;
            if (x > 160) {
                brightness.push_back(Brightness(c));
            }
        }
    }
    EXPECT_EQ(not_blue, 0);
    EXPECT_LT(total / pixels, 60) << "too light for white names to stay readable";
    // Streaks: a share of the picture clearly lighter than its typical pixel.
    std::sort(brightness.begin(), brightness.end());
    int median = brightness[brightness.size() / 2];
    int lit = static_cast<int>(brightness.end() -
                               std::upper_bound(brightness.begin(), brightness.end(), median + 20));
    EXPECT_GT(lit, static_cast<int>(brightness.size() / 100)) << "median " << median;
}

TEST(Bitmaps, SplashShowsItsNameInTheVisibleRows) {
    Dib24 picture(IDB_SPLASH);
    ASSERT_TRUE(picture.valid());
    int bright_shown = 0, bright_hidden = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            COLORREF c = picture.at(x, y);
            if (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) {
                ++(y < 376 ? bright_shown : bright_hidden);
            }
        }
    }
    EXPECT_GT(bright_shown, 2000);
    EXPECT_EQ(bright_hidden, 0) << "the splash window never shows rows 376 to 399";
}

// --- icons and cursors ------------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved, type, count;
};
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
struct GroupCursorEntry {
    WORD width, height; // height counts the colour rows and the mask rows
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// One icon or cursor image: its header, and whether a pixel is opaque by mask and alpha.
class IconImage {
public:
    IconImage(const Bytes& bytes, std::size_t offset) {
        if (!ReadAt(bytes, offset, header_) || header_.biWidth <= 0 || header_.biHeight <= 0 ||
            (header_.biBitCount != 24 && header_.biBitCount != 32)) {
            return;
        }
        width_ = header_.biWidth;
        height_ = header_.biHeight / 2;
        colour_stride_ = ((width_ * header_.biBitCount + 31) / 32) * 4;
        mask_stride_ = ((width_ + 31) / 32) * 4;
        std::size_t need = offset + header_.biSize + (colour_stride_ + mask_stride_) * height_;
        if (need > bytes.size) {
            return;
        }
        colour_ = bytes.data + offset + header_.biSize;
        mask_ = colour_ + colour_stride_ * height_;
    }
    bool valid() const { return colour_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bits() const { return header_.biBitCount; }
    bool MaskOpaque(int x, int y) const {
        const std::uint8_t* row = mask_ + static_cast<std::size_t>(height_ - 1 - y) * mask_stride_;
        return (row[x / 8] & (0x80 >> (x % 8))) == 0;
    }
    int Alpha(int x, int y) const {
        if (bits() != 32) {
            return MaskOpaque(x, y) ? 255 : 0;
        }
        return colour_[static_cast<std::size_t>(height_ - 1 - y) * colour_stride_ + x * 4 + 3];
    }

private:
    BITMAPINFOHEADER header_{};
    int width_ = 0, height_ = 0;
    std::size_t colour_stride_ = 0, mask_stride_ = 0;
    const std::uint8_t* colour_ = nullptr;
    const std::uint8_t* mask_ = nullptr;
};

TEST(Icons, AreOne48PixelImageWithAlpha) {
    for (int id : {IDI_GLOBE, IDI_MONITOR}) {
        SCOPED_TRACE(id);
        auto group = ResourceBytes(kGroupIcon, id);
        ASSERT_TRUE(group.has_value());
        GroupHeader header{};
        GroupIconEntry entry{};
        ASSERT_TRUE(ReadAt(*group, 0, header));
        ASSERT_EQ(header.count, 1);
        ASSERT_TRUE(ReadAt(*group, sizeof header, entry));
        EXPECT_EQ(entry.width, 48);
        EXPECT_EQ(entry.height, 48);
        EXPECT_EQ(entry.bits, 32);

        auto image_bytes = ResourceBytes(kIcon, entry.id);
        ASSERT_TRUE(image_bytes.has_value());
        IconImage image(*image_bytes, 0);
        ASSERT_TRUE(image.valid());
        EXPECT_EQ(image.width(), 48);
        EXPECT_EQ(image.height(), 48);
        EXPECT_EQ(image.bits(), 32);
        EXPECT_EQ(image.Alpha(0, 0), 0) << "corners are transparent";
        EXPECT_EQ(image.Alpha(24, 20), 255) << "the middle is opaque";
    }
}

TEST(Icons, LoadAsTheConsoleLoadsThem) {
    HICON window_icon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_GLOBE));
    EXPECT_NE(window_icon, nullptr);
    auto node_icon = static_cast<HICON>(
        LoadImageW(Module(), MAKEINTRESOURCEW(IDI_MONITOR), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(node_icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(node_icon, &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(node_icon);
}

struct ExpectedCursorImage {
    int size;
    int bits;
};

void ExpectCursor(int id, const std::vector<ExpectedCursorImage>& want, POINT hot_spot) {
    auto group = ResourceBytes(kGroupCursor, id);
    ASSERT_TRUE(group.has_value());
    GroupHeader header{};
    ASSERT_TRUE(ReadAt(*group, 0, header));
    EXPECT_EQ(header.type, 2);
    ASSERT_EQ(header.count, want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        GroupCursorEntry entry{};
        ASSERT_TRUE(ReadAt(*group, sizeof header + i * sizeof entry, entry));
        // windres writes 1 for the entries' planes and bits (the hot spot takes their place in
        // a .cur file); the window system picks a cursor image by its size.
        EXPECT_EQ(entry.width, want[i].size);
        EXPECT_EQ(entry.height, want[i].size * 2);

        auto bytes = ResourceBytes(kCursor, entry.id);
        ASSERT_TRUE(bytes.has_value());
        WORD hot_x = 0, hot_y = 0;
        ASSERT_TRUE(ReadAt(*bytes, 0, hot_x));
        ASSERT_TRUE(ReadAt(*bytes, 2, hot_y));
        EXPECT_EQ(hot_x, hot_spot.x);
        EXPECT_EQ(hot_y, hot_spot.y);
        IconImage image(*bytes, 4);
        ASSERT_TRUE(image.valid());
        EXPECT_EQ(image.width(), want[i].size);
        EXPECT_EQ(image.bits(), want[i].bits);
        EXPECT_TRUE(image.MaskOpaque(hot_x, hot_y)) << "the hot spot lies on the drawing";
        EXPECT_GE(image.Alpha(hot_x, hot_y), 128);

        // What the window system makes of it at that size.
        auto cursor = static_cast<HCURSOR>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_CURSOR,
                                                      want[i].size, want[i].size, 0));
        ASSERT_NE(cursor, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, static_cast<DWORD>(hot_spot.x));
        EXPECT_EQ(info.yHotspot, static_cast<DWORD>(hot_spot.y));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyCursor(cursor);
    }
    EXPECT_NE(LoadCursorW(Module(), MAKEINTRESOURCEW(id)), nullptr);
}

TEST(Cursors, PenHasItsTipOnTheHotSpotInBothImages) {
    ExpectCursor(IDC_PEN_CURSOR, {{48, 24}, {32, 32}}, POINT{1, 1});
}

TEST(Cursors, PenLiesDiagonallyFromTheTopLeft) {
    auto group = ResourceBytes(kGroupCursor, IDC_PEN_CURSOR);
    ASSERT_TRUE(group.has_value());
    for (std::size_t i = 0; i < 2; ++i) {
        GroupCursorEntry entry{};
        ASSERT_TRUE(ReadAt(*group, sizeof(GroupHeader) + i * sizeof entry, entry));
        auto bytes = ResourceBytes(kCursor, entry.id);
        ASSERT_TRUE(bytes.has_value());
        IconImage image(*bytes, 4);
        ASSERT_TRUE(image.valid());
        int n = image.width();
        SCOPED_TRACE(n);
        EXPECT_TRUE(image.MaskOpaque(n / 2, n / 2)) << "the pen crosses the middle";
        EXPECT_FALSE(image.MaskOpaque(n - 2, 1)) << "top right stays clear";
        EXPECT_FALSE(image.MaskOpaque(1, n - 2)) << "bottom left stays clear";
    }
}

TEST(Cursors, ColourDragLoads) {
    ExpectCursor(IDC_COLOUR_DRAG_CURSOR, {{32, 32}}, POINT{1, 1});
}

// --- the button strips beside the executable --------------------------------------------------

std::wstring BesideExecutable(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, length);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

class ButtonStrips : public ::testing::TestWithParam<const wchar_t*> {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }
    static ULONG_PTR token_;
};
ULONG_PTR ButtonStrips::token_ = 0;

TEST_P(ButtonStrips, AreRgbaPngFiles) {
    std::ifstream file(std::filesystem::path(BesideExecutable(GetParam())), std::ios::binary);
    ASSERT_TRUE(file.good()) << Narrow(GetParam()) << " is not beside the program";
    std::vector<unsigned char> head(26);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    ASSERT_EQ(file.gcount(), 26);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, head.begin()));
    EXPECT_EQ(std::string(head.begin() + 12, head.begin() + 16), "IHDR");
    EXPECT_EQ(head[24], 8) << "8 bits per channel";
    EXPECT_EQ(head[25], 6) << "colour with alpha";
}

TEST_P(ButtonStrips, HoldFourFramesWithTransparency) {
    Gdiplus::Bitmap strip(BesideExecutable(GetParam()).c_str());
    ASSERT_EQ(strip.GetLastStatus(), Gdiplus::Ok);
    const int width = static_cast<int>(strip.GetWidth());
    const int height = static_cast<int>(strip.GetHeight());
    ASSERT_EQ(width % 4, 0);
    const int frame = width / 4;
    // The console gives each button an 80 x 80 cell.
    EXPECT_LE(frame, 80);
    EXPECT_LE(height, 80);
    EXPECT_GE(frame, 32);

    std::vector<std::vector<Gdiplus::ARGB>> frames(4);
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        Gdiplus::Color corner, middle;
        strip.GetPixel(f * frame, 0, &corner);
        strip.GetPixel(f * frame + frame / 2, height / 2, &middle);
        EXPECT_EQ(corner.GetA(), 0) << "what lies beneath shows through";
        EXPECT_GT(middle.GetA(), 128);
        for (int y = 0; y < height; y += 4) {
            for (int x = 0; x < frame; x += 4) {
                Gdiplus::Color c;
                strip.GetPixel(f * frame + x, y, &c);
                frames[f].push_back(c.GetValue());
            }
        }
    }
    // Normal, hover, pressed and the spare look all differ.
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            EXPECT_NE(frames[a], frames[b]) << "frames " << a << " and " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BesideTheProgram, ButtonStrips,
                         ::testing::Values(L"ipSet.PNG", L"help.png"), [](const auto& info) {
                             std::string name = Narrow(info.param);
                             return name.substr(0, name.find('.'));
                         });

// --- the template reader itself ---------------------------------------------------------------

// Every proper prefix of a real template is rejected, and nothing reads past its end.
TEST(DialogTemplateReader, RejectsEveryTruncation) {
    auto bytes = ResourceBytes(kDialog, IDD_SET_IP);
    ASSERT_TRUE(bytes.has_value());
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(bytes->data, bytes->size, &error).has_value()) << error;
    // The template ends with the last item's creation-data count; resources may pad after it.
    std::size_t end = bytes->size;
    while (end > 0 && ParseDialogTemplate(bytes->data, end - 1, nullptr).has_value()) {
        --end;
    }
    EXPECT_GE(end + 3, bytes->size) << "at most alignment padding after the template";
    for (std::size_t n = 0; n < end; ++n) {
        std::vector<std::uint8_t> copy(bytes->data, bytes->data + n); // exact-size buffer
        EXPECT_FALSE(ParseDialogTemplate(copy.data(), copy.size(), &error).has_value())
            << n << " bytes";
    }
}

std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> words) {
    std::vector<std::uint8_t> out;
    for (auto w : words) {
        out.push_back(static_cast<std::uint8_t>(w & 0xFF));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return out;
}

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Version 1, extended signature, help id 0, extended style 0, style WS_POPUP, one item at
// 0, 0, 10 x 10, no menu, class or caption: 32 bytes, so the item needs no padding.
const std::vector<std::uint8_t> kOneItemHeader =
    Words({1, 0xFFFF, 0, 0, 0, 0, 0x0000, 0x8000, 1, 0, 0, 10, 10, 0, 0, 0});
// Help id, extended style, style WS_CHILD | WS_VISIBLE, 1, 2, 3 x 4, id 7, class Static by
// ordinal, text "x", no creation data.
const std::vector<std::uint8_t> kStaticItem =
    Words({0, 0, 0, 0, 0, 0x5000, 1, 2, 3, 4, 7, 0, 0xFFFF, 0x82, 'x', 0, 0});

TEST(DialogTemplateReader, HandlesMalformedAndPlainTemplates) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool parses;
    };
    const Case cases[] = {
        {"empty", {}, false},
        // DLGTEMPLATEEX, 1 item announced, header complete, no item.
        {"missing item", kOneItemHeader, false},
        {"unterminated caption",
         Words({1, 0xFFFF, 0, 0, 0, 0, 0, 0x8000, 0, 0, 0, 10, 10, 0, 0, 'a', 'b'}), false},
        {"menu ordinal cut", Words({1, 0xFFFF, 0, 0, 0, 0, 0, 0x8000, 0, 0, 0, 10, 10, 0xFFFF}),
         false},
        {"font announced, missing",
         Words({1, 0xFFFF, 0, 0, 0, 0, 0x40, 0x8000, 0, 0, 0, 10, 10, 0, 0, 0}), false},
        // DLGTEMPLATE: style WS_POPUP, no items, no menu, class or caption.
        {"plain, no items", Words({0x0000, 0x8000, 0, 0, 0, 0, 0, 20, 30, 0, 0, 0}), true},
        // DLGTEMPLATEEX with one static item: id 7, text "x", no creation data.
        {"extended, one item", Concat(kOneItemHeader, kStaticItem), true},
        {"extended, item text cut",
         Concat(kOneItemHeader,
                Words({0, 0, 0, 0, 0, 0x5000, 1, 2, 3, 4, 7, 0, 0xFFFF, 0x82, 'x'})),
         false},
        {"extended, creation data cut",
         Concat(kOneItemHeader,
                Words({0, 0, 0, 0, 0, 0x5000, 1, 2, 3, 4, 7, 0, 0xFFFF, 0x82, 0, 8, 0xAAAA})),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        auto parsed = ParseDialogTemplate(c.bytes.data(), c.bytes.size(), &error);
        EXPECT_EQ(parsed.has_value(), c.parses) << error;
        if (parsed && !parsed->items.empty()) {
            EXPECT_EQ(parsed->items[0].id, 7u);
            EXPECT_EQ(ItemClassName(parsed->items[0].window_class), u"Static");
            EXPECT_EQ(Narrow(parsed->items[0].text.name), "x");
            EXPECT_EQ(parsed->items[0].style, 0x50000000u);
            EXPECT_EQ(parsed->items[0].cy, 4);
        }
    }
}

} // namespace
