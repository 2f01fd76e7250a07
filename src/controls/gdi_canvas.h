// The canvas of a Windows device context: the picker drawn with GDI, as the dialog shows it.
// The window system's headers stay in gdi_canvas.cpp; its handle types are named here by
// their own declarations.
#pragma once

#include "controls/canvas.h"

struct HDC__;
struct HBITMAP__;

// A bitmap compatible with the screen made from an image's pixels with CreateDIBitmap, so that
// it is converted once and then copied with BitBlt and StretchBlt. Needs no window: it is made
// with a device context of the whole screen. It keeps a reference to its source, which must
// outlive it; after the source's pixels change, Assign it again.
class GdiImage final : public CanvasImage {
public:
    GdiImage() = default;
    explicit GdiImage(const CanvasImage& source) { Assign(source); }
    ~GdiImage() { Release(); }
    GdiImage(const GdiImage&) = delete;
    GdiImage& operator=(const GdiImage&) = delete;

    // Releases the bitmap made before and makes one from the source's pixels. Returns false
    // when the window system could not make it; the image then has no bitmap.
    bool Assign(const CanvasImage& source);
    void Release();

    HBITMAP__* Handle() const { return bitmap_; }
    DibView Pixels() const override;

private:
    const CanvasImage* source_ = nullptr;
    HBITMAP__* bitmap_ = nullptr;
};

// Draws onto a device context that the caller owns and keeps alive, such as a window's client
// area or a memory device context. Every pen and brush it creates is released before the
// operation returns, and the context's selections and background colour are restored.
class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HDC__* dc) : dc_(dc) {}

    void FillRect(const ClientRect& rect, PackedColour colour) override;
    void DrawLine(ClientPoint from, ClientPoint to, PackedColour colour) override;
    // Images that are GdiImages are copied from their bitmap; any other image through a
    // bitmap made for the one copy.
    void CopyImage(const CanvasImage& image, ClientPoint at) override;
    void StretchImage(const CanvasImage& image, const ClientRect& destination) override;
    PackedColour SystemColourOf(SystemColour which) const override;

private:
    void Blit(const CanvasImage& image, const ClientRect& destination);

    HDC__* dc_;
};
