// The picker drawn with GDI into a memory bitmap, compared pixel for pixel with the canvas in
// memory given the same inputs and the desktop's system colours.
#ifdef _WIN32

#include "controls/gdi_canvas.h"
#include "controls/picker_drawing.h"
#include "controls/picker_images.h"
#include "controls/software_canvas.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

namespace {

constexpr int kWidth = 416;
constexpr int kHeight = 297;
constexpr PackedColour kBackground = MakePackedColour(0x12, 0x34, 0x56);

// A 32-bit top-down device-independent bitmap selected into a memory device context.
class DibSurface {
public:
    DibSurface(int width, int height) : width_(width), height_(height) {
        dc_ = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        if (dc_ != nullptr && bitmap_ != nullptr) {
            previous_ = ::SelectObject(dc_, bitmap_);
        }
    }
    ~DibSurface() {
        if (previous_ != nullptr) {
            ::SelectObject(dc_, previous_);
        }
        if (bitmap_ != nullptr) {
            ::DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool Ready() const { return previous_ != nullptr && bits_ != nullptr; }
    HDC Dc() const { return dc_; }

    void Fill(PackedColour colour) {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i) {
            bits_[i] = ToDib(colour);
        }
    }
    PackedColour Pixel(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t v = bits_[y * width_ + x];
        return MakePackedColour((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    static std::uint32_t ToDib(PackedColour c) {
        return static_cast<std::uint32_t>(RedOf(c)) << 16 |
               static_cast<std::uint32_t>(GreenOf(c)) << 8 | BlueOf(c);
    }

    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

SystemColourScheme DesktopScheme() {
    return {::GetSysColor(COLOR_BTNFACE) & 0xFFFFFF, ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF,
            ::GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF};
}

// Draws the same thing on both canvases and compares every pixel.
testing::AssertionResult SameOnBoth(const std::function<void(Canvas&)>& draw) {
    DibSurface surface(kWidth, kHeight);
    if (!surface.Ready()) {
        return testing::AssertionFailure() << "no memory bitmap";
    }
    surface.Fill(kBackground);
    GdiCanvas gdi(surface.Dc());
    draw(gdi);
    SoftwareCanvas software(kWidth, kHeight, kBackground, DesktopScheme());
    draw(software);

    int differences = 0;
    testing::Message first;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const PackedColour drawn = surface.Pixel(x, y);
            const PackedColour wanted = software.Pixel(x, y);
            if (drawn != wanted && ++differences <= 8) {
                first << "\n  (" << x << "," << y << ") GDI " << std::hex << drawn << ", in memory "
                      << wanted << std::dec;
            }
        }
    }
    if (differences == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << differences << " pixels differ" << first;
}

template <typename Image> std::unique_ptr<Image> PatternImage() {
    auto image = std::make_unique<Image>();
    for (int j = 0; j < Image::kHeight; ++j) {
        for (int x = 0; x < Image::kWidth; ++x) {
            std::uint8_t* pixel = image->PixelFromBottom(x, j);
            pixel[0] = static_cast<std::uint8_t>(x);
            pixel[1] = static_cast<std::uint8_t>(j);
            pixel[2] = static_cast<std::uint8_t>(0x80 | (x + j) % 100);
        }
    }
    return image;
}

TEST(GdiCanvas, SystemColoursAreTheDesktops) {
    DibSurface surface(1, 1);
    GdiCanvas canvas(surface.Dc());
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonFace), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonShadow), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonHighlight),
              ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(GdiCanvas, PrimitivesMatchTheCanvasInMemory) {
    const PackedColour ink = MakePackedColour(200, 10, 20);
    const PackedColour other = MakePackedColour(5, 180, 90);
    const struct {
        const char* what;
        std::function<void(Canvas&)> draw;
    } cases[] = {
        {"fills",
         [&](Canvas& c) {
             c.FillRect({10, 10, 50, 30}, ink);
             c.FillRect({-10, -10, 5, 5}, other);
             c.FillRect({400, 290, 500, 400}, ink);
             c.FillRect({60, 60, 60, 70}, ink);
             c.FillRect({80, 80, 70, 70}, ink);
         }},
        {"lines",
         [&](Canvas& c) {
             c.DrawLine({10, 10}, {30, 10}, ink);
             c.DrawLine({30, 20}, {10, 20}, ink);
             c.DrawLine({40, 10}, {40, 30}, other);
             c.DrawLine({50, 30}, {50, 10}, other);
             c.DrawLine({60, 10}, {60, 10}, ink);
             c.DrawLine({-20, 5}, {500, 5}, ink);
             c.DrawLine({70, -20}, {70, 400}, other);
         }},
        {"frames",
         [&](Canvas& c) {
             c.Draw3dRect({10, 10, 40, 30}, ink, other);
             c.Draw3dRect({50, 10, 52, 12}, ink, other);
             c.Draw3dRect({60, 10, 61, 11}, ink, other);
             c.Draw3dRect({70, 10, 71, 20}, ink, other);
             c.Draw3dRect({-5, -5, 8, 8}, ink, other);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameOnBoth(c.draw));
    }
}

TEST(GdiCanvas, ImagesMatchWhetherPreparedOrNot) {
    const auto field = PatternImage<FieldBitmap>();
    const auto bar = PatternImage<LumBitmap>();
    GdiImage preparedField(*field);
    GdiImage preparedBar(*bar);
    ASSERT_NE(preparedField.Handle(), nullptr);
    ASSERT_NE(preparedBar.Handle(), nullptr);
    BITMAP info{};
    ASSERT_NE(::GetObject(preparedField.Handle(), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 190);
    EXPECT_EQ(info.bmHeight, 190);
    EXPECT_EQ(preparedField.Pixels().bits, field->Pixels().bits);

    const struct {
        const char* what;
        std::function<void(Canvas&)> draw;
    } cases[] = {
        {"copy from pixels",
         [&](Canvas& c) {
             c.CopyImage(*field, {20, 30});
         }},
        {"copy prepared",
         [&](Canvas& c) {
             c.CopyImage(preparedField, {20, 30});
         }},
        {"copy over the corner",
         [&](Canvas& c) {
             c.CopyImage(preparedField, {-50, 250});
         }},
        {"stretch from pixels",
         [&](Canvas& c) {
             c.StretchImage(*bar, {218, 13, 238, 203});
         }},
        {"stretch prepared",
         [&](Canvas& c) {
             c.StretchImage(preparedBar, {218, 13, 238, 203});
         }},
        {"stretch to the same size",
         [&](Canvas& c) {
             c.StretchImage(*bar, {5, 5, 6, 195});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameOnBoth(c.draw));
    }
}

TEST(GdiCanvas, PickerOperationsMatchTheCanvasInMemory) {
    auto field = std::make_unique<FieldBitmap>();
    BuildFieldBitmap(*field);
    LumBitmap bar;
    BuildLumBitmap(79, 19, bar);
    GdiImage preparedField(*field);
    GdiImage preparedBar(bar);
    std::array<PackedColour, kCustomColourCount> table{};
    for (int i = 0; i < kCustomColourCount; ++i) {
        table[i] = MakePackedColour(static_cast<std::uint8_t>(12 * i), 255, 40);
    }

    const struct {
        const char* what;
        std::function<void(Canvas&)> draw;
    } cases[] = {
        {"background", [&](Canvas& c) { DrawBackground(c, kWidth, kHeight); }},
        {"background of a narrow area", [&](Canvas& c) { DrawBackground(c, 40, 200); }},
        {"field", [&](Canvas& c) { DrawField(c, preparedField); }},
        {"field from pixels", [&](Canvas& c) { DrawField(c, *field); }},
        {"bar", [&](Canvas& c) { DrawLumBar(c, preparedBar); }},
        {"cross-hair at 0,0", [&](Canvas& c) { DrawCrossHair(c, 0, 0); }},
        {"cross-hair at 95,95", [&](Canvas& c) { DrawCrossHair(c, 95, 95); }},
        {"cross-hair at 190,190", [&](Canvas& c) { DrawCrossHair(c, 190, 190); }},
        {"cross-hair at 0,190", [&](Canvas& c) { DrawCrossHair(c, 0, 190); }},
        {"marker at 0", [&](Canvas& c) { DrawLumMarker(c, 0); }},
        {"marker at 1", [&](Canvas& c) { DrawLumMarker(c, 1); }},
        {"marker at 120", [&](Canvas& c) { DrawLumMarker(c, 120); }},
        {"marker at 240", [&](Canvas& c) { DrawLumMarker(c, 240); }},
        {"current colour", [&](Canvas& c) { DrawCurrentColor(c, MakePackedColour(255, 0, 0)); }},
        {"new colour", [&](Canvas& c) { DrawNewColor(c, MakePackedColour(0, 128, 255)); }},
        {"custom colours", [&](Canvas& c) { DrawCustomColors(c, table); }},
        {"full paint",
         [&](Canvas& c) {
             DrawBackground(c, kWidth, kHeight);
             DrawField(c, preparedField);
             DrawLumBar(c, preparedBar);
             DrawCrossHair(c, 79, 19);
             DrawLumMarker(c, 120);
             DrawCurrentColor(c, MakePackedColour(255, 0, 0));
             DrawNewColor(c, MakePackedColour(1, 2, 3));
             DrawCustomColors(c, table);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameOnBoth(c.draw));
    }
}

TEST(GdiCanvas, ReassigningAnImageFollowsItsNewPixels) {
    LumBitmap bar;
    BuildLumBitmap(0, 0, bar);
    GdiImage prepared(bar);
    BuildLumBitmap(120, 40, bar);
    ASSERT_TRUE(prepared.Assign(bar));
    EXPECT_TRUE(SameOnBoth([&](Canvas& c) { DrawLumBar(c, prepared); }));
    prepared.Release();
    EXPECT_EQ(prepared.Handle(), nullptr);
    // Without its bitmap it is drawn through a bitmap made for the one copy.
    EXPECT_TRUE(SameOnBoth([&](Canvas& c) { DrawLumBar(c, prepared); }));
}

} // namespace

#endif // _WIN32
