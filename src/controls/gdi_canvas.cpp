#include "controls/gdi_canvas.h"

#include <windows.h>

#include <type_traits>

static_assert(std::is_same_v<HDC, HDC__*> && std::is_same_v<HBITMAP, HBITMAP__*>,
              "the handle types named in gdi_canvas.h are the window system's own");
static_assert(sizeof(COLORREF) == sizeof(PackedColour) &&
                  RGB(0x12, 0x34, 0x56) == MakePackedColour(0x12, 0x34, 0x56),
              "a packed colour is a COLORREF");

namespace {

// Owners of the GDI objects and device contexts each operation needs for a moment.
class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back at the end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool Selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

class OwnedPen {
public:
    explicit OwnedPen(COLORREF colour) : pen_(::CreatePen(PS_SOLID, 1, colour)) {}
    ~OwnedPen() {
        if (pen_ != nullptr) {
            ::DeleteObject(pen_);
        }
    }
    OwnedPen(const OwnedPen&) = delete;
    OwnedPen& operator=(const OwnedPen&) = delete;
    HPEN Get() const { return pen_; }

private:
    HPEN pen_;
};

BITMAPINFO DibInfo(const DibView& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = pixels.height; // positive: rows stored bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP MakeScreenBitmap(const DibView& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0 || pixels.bits == nullptr ||
        pixels.stride != DibStride(pixels.width)) {
        return nullptr;
    }
    ScreenDc screen;
    if (screen.Get() == nullptr) {
        return nullptr;
    }
    BITMAPINFO info = DibInfo(pixels);
    return ::CreateDIBitmap(screen.Get(), &info.bmiHeader, CBM_INIT, pixels.bits, &info,
                            DIB_RGB_COLORS);
}

} // namespace

bool GdiImage::Assign(const CanvasImage& source) {
    Release();
    source_ = &source;
    bitmap_ = MakeScreenBitmap(source.Pixels());
    return bitmap_ != nullptr;
}

void GdiImage::Release() {
    if (bitmap_ != nullptr) {
        ::DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
}

DibView GdiImage::Pixels() const {
    return source_ != nullptr ? source_->Pixels() : DibView{0, 0, 0, nullptr};
}

void GdiCanvas::FillRect(const ClientRect& rect, PackedColour colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    // An opaque empty text fills its rectangle with the background colour without a brush.
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    const COLORREF previous = ::SetBkColor(dc_, colour);
    ::ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    if (previous != CLR_INVALID) {
        ::SetBkColor(dc_, previous);
    }
}

void GdiCanvas::DrawLine(ClientPoint from, ClientPoint to, PackedColour colour) {
    OwnedPen pen(colour);
    if (pen.Get() == nullptr) {
        return;
    }
    Selection selected(dc_, pen.Get());
    POINT previous{};
    ::MoveToEx(dc_, from.x, from.y, &previous);
    ::LineTo(dc_, to.x, to.y);
    ::MoveToEx(dc_, previous.x, previous.y, nullptr);
}

void GdiCanvas::CopyImage(const CanvasImage& image, ClientPoint at) {
    const DibView pixels = image.Pixels();
    Blit(image, {at.x, at.y, at.x + pixels.width, at.y + pixels.height});
}

void GdiCanvas::StretchImage(const CanvasImage& image, const ClientRect& destination) {
    Blit(image, destination);
}

void GdiCanvas::Blit(const CanvasImage& image, const ClientRect& destination) {
    const DibView pixels = image.Pixels();
    if (destination.Width() <= 0 || destination.Height() <= 0 || pixels.width <= 0 ||
        pixels.height <= 0) {
        return;
    }
    GdiImage temporary;
    HBITMAP bitmap = nullptr;
    if (const auto* prepared = dynamic_cast<const GdiImage*>(&image)) {
        bitmap = prepared->Handle();
    }
    if (bitmap == nullptr && temporary.Assign(image)) {
        bitmap = temporary.Handle();
    }
    if (bitmap == nullptr) {
        return;
    }
    MemoryDc source(dc_);
    if (source.Get() == nullptr) {
        return;
    }
    Selection selected(source.Get(), bitmap);
    if (!selected.Selected()) {
        return;
    }
    if (destination.Width() == pixels.width && destination.Height() == pixels.height) {
        ::BitBlt(dc_, destination.left, destination.top, pixels.width, pixels.height, source.Get(),
                 0, 0, SRCCOPY);
    } else {
        ::StretchBlt(dc_, destination.left, destination.top, destination.Width(),
                     destination.Height(), source.Get(), 0, 0, pixels.width, pixels.height,
                     SRCCOPY);
    }
}

PackedColour GdiCanvas::SystemColourOf(SystemColour which) const {
    int index = COLOR_BTNFACE;
    switch (which) {
    case SystemColour::ButtonFace:
        index = COLOR_BTNFACE;
        break;
    case SystemColour::ButtonShadow:
        index = COLOR_BTNSHADOW;
        break;
    case SystemColour::ButtonHighlight:
        index = COLOR_BTNHIGHLIGHT;
        break;
    }
    return ::GetSysColor(index) & 0xFFFFFF;
}
