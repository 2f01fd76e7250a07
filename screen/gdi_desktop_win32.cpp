#include "screen/gdi_desktop_win32.h"

#include "screen/key_map.h"

#include <cstring>
#include <iterator>
#include <memory>

namespace {

struct GdiObjectDeleter {
    void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;

struct ScreenDc {
    ScreenDc() : dc(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc != nullptr) {
            ::ReleaseDC(nullptr, dc);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC dc;
};

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as 0xAARRGGBB words, rows from the top; empty on failure.
std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    BITMAPINFO info = TopDown32(width, height);
    ScreenDc screen;
    if (::GetDIBits(screen.dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                    DIB_RGB_COLORS) != height) {
        pixels.clear();
    }
    return pixels;
}

// A cursor's picture. A colour cursor with an alpha channel is drawn where it is mostly opaque;
// one without, where its AND mask is clear. A two-colour cursor has its AND mask above its XOR
// mask: clear and clear is black, clear and set white, set and clear transparent, and set and
// set (which inverts the screen) is drawn black so that it shows on any background.
CursorShape ShapeOf(HCURSOR handle) {
    ICONINFO icon{};
    if (handle == nullptr || !::GetIconInfo(handle, &icon)) {
        return {};
    }
    OwnedBitmap mask(icon.hbmMask);
    OwnedBitmap colour(icon.hbmColor);
    BITMAP maskInfo{};
    if (!mask || ::GetObject(mask.get(), sizeof maskInfo, &maskInfo) == 0) {
        return {};
    }
    CursorShape shape;
    shape.width = maskInfo.bmWidth;
    shape.height = colour ? maskInfo.bmHeight : maskInfo.bmHeight / 2;
    shape.hotX = static_cast<int>(icon.xHotspot);
    shape.hotY = static_cast<int>(icon.yHotspot);
    std::vector<std::uint32_t> andXor = BitmapPixels(mask.get(), shape.width, maskInfo.bmHeight);
    std::vector<std::uint32_t> colours;
    if (colour) {
        colours = BitmapPixels(colour.get(), shape.width, shape.height);
    }
    const std::size_t count = static_cast<std::size_t>(shape.width) * shape.height;
    if (shape.width <= 0 || shape.height <= 0 || andXor.empty() ||
        (colour && colours.size() != count)) {
        return {};
    }
    bool hasAlpha = false;
    for (std::uint32_t pixel : colours) {
        hasAlpha = hasAlpha || (pixel >> 24) != 0;
    }
    shape.pixels.resize(count);
    shape.opaque.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        bool andSet = (andXor[i] & 0xffffff) != 0;
        if (colour) {
            shape.pixels[i] = colours[i] & 0xffffff;
            shape.opaque[i] = hasAlpha ? (colours[i] >> 24) >= 0x80 : !andSet;
        } else {
            bool xorSet = (andXor[i + count] & 0xffffff) != 0;
            shape.pixels[i] = !andSet && xorSet ? 0xffffff : 0;
            shape.opaque[i] = !andSet || xorSet;
        }
    }
    return shape;
}

void Send(INPUT input) {
    ::SendInput(1, &input, sizeof input);
}

} // namespace

GdiDesktop::GdiDesktop() = default;

GdiDesktop::~GdiDesktop() {
    FreeBitmap();
}

FrameSize GdiDesktop::Size() {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

void GdiDesktop::FreeBitmap() {
    if (memory_ != nullptr) {
        ::SelectObject(memory_, oldBitmap_);
        ::DeleteDC(memory_);
        memory_ = nullptr;
    }
    if (bitmap_ != nullptr) {
        ::DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    bits_ = nullptr;
}

bool GdiDesktop::PrepareBitmap(FrameSize size) {
    if (bitmap_ != nullptr && size == bitmapSize_) {
        return true;
    }
    FreeBitmap();
    ScreenDc screen;
    BITMAPINFO info = TopDown32(size.width, size.height);
    memory_ = ::CreateCompatibleDC(screen.dc);
    bitmap_ = ::CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (memory_ == nullptr || bitmap_ == nullptr) {
        FreeBitmap();
        return false;
    }
    oldBitmap_ = ::SelectObject(memory_, bitmap_);
    bitmapSize_ = size;
    return true;
}

bool GdiDesktop::Capture(std::uint32_t* pixels, FrameSize size, const ScreenRect& area) {
    if (!PrepareBitmap(size)) {
        return false;
    }
    ScreenDc screen;
    // CAPTUREBLT takes in layered windows too (tooltips, menus' shadows, translucent windows).
    if (screen.dc == nullptr || !::BitBlt(memory_, area.x, area.y, area.width, area.height,
                                          screen.dc, area.x, area.y, SRCCOPY | CAPTUREBLT)) {
        return false; // the desktop is not ours now (a secure desktop, a locked session)
    }
    ::GdiFlush();
    const auto* bits = static_cast<const std::uint32_t*>(bits_);
    for (int y = area.y; y < area.y + area.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * size.width;
        for (int x = area.x; x < area.x + area.width; ++x) {
            pixels[row + x] = bits[row + x] & 0xffffff;
        }
    }
    return true;
}

CursorShape GdiDesktop::Cursor() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetCursorInfo(&info) || (info.flags & CURSOR_SHOWING) == 0) {
        // Hidden: a cursor of one transparent pixel.
        shownCursor_ = nullptr;
        return {1, 1, 0, 0, {0}, {0}};
    }
    if (info.hCursor != shownCursor_) {
        shownCursor_ = info.hCursor;
        cursor_ = ShapeOf(info.hCursor);
    }
    return cursor_;
}

PointerPosition GdiDesktop::Pointer() {
    POINT point{};
    ::GetCursorPos(&point);
    return {point.x, point.y};
}

void GdiDesktop::MovePointer(int x, int y, int buttons) {
    FrameSize size = Size();
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary monitor.
    move.mi.dx = size.width > 1 ? static_cast<LONG>(x * 65535LL / (size.width - 1)) : 0;
    move.mi.dy = size.height > 1 ? static_cast<LONG>(y * 65535LL / (size.height - 1)) : 0;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(move);
    struct Button {
        int bit;
        DWORD down;
        DWORD up;
    };
    constexpr Button kButtons[] = {{1, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                   {2, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
                                   {4, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}};
    for (const Button& button : kButtons) {
        if ((buttons & button.bit) != (buttons_ & button.bit)) {
            INPUT press{};
            press.type = INPUT_MOUSE;
            press.mi.dwFlags = (buttons & button.bit) != 0 ? button.down : button.up;
            Send(press);
        }
    }
    // Wheel "buttons" 4 and 5 turn the wheel one notch as they go down.
    for (int bit : {8, 16}) {
        if ((buttons & bit) != 0 && (buttons_ & bit) == 0) {
            INPUT wheel{};
            wheel.type = INPUT_MOUSE;
            wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
            wheel.mi.mouseData = static_cast<DWORD>(bit == 8 ? WHEEL_DELTA : -WHEEL_DELTA);
            Send(wheel);
        }
    }
    buttons_ = buttons;
}

void GdiDesktop::PressKey(std::uint32_t keysym, bool down) {
    KeyTarget target = MapKeysym(keysym);
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    WORD virtualKey = target.code;
    if (target.kind == KeyTarget::Kind::character) {
        // The key of the user's layout that types it with Shift at most; else the character.
        SHORT scan = ::VkKeyScanW(static_cast<WCHAR>(target.code));
        if (scan == -1 || (HIBYTE(scan) & 6) != 0) {
            key.ki.wScan = target.code;
            key.ki.dwFlags |= KEYEVENTF_UNICODE;
            Send(key);
            return;
        }
        virtualKey = LOBYTE(scan);
    } else if (target.kind == KeyTarget::Kind::none) {
        return;
    }
    key.ki.wVk = virtualKey;
    key.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    if (target.extended) {
        key.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    Send(key);
}
