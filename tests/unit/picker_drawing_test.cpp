// The picker drawn on the canvas in memory, checked pixel by pixel against a description of
// what each drawing operation must leave on the screen.
#include "controls/picker_drawing.h"
#include "controls/picker_images.h"
#include "controls/software_canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kWidth = 416; // a client area of 277 x 183 dialog units in the usual font
constexpr int kHeight = 297;
constexpr PackedColour kBackground = MakePackedColour(0x12, 0x34, 0x56);
constexpr SystemColourScheme kScheme{MakePackedColour(11, 22, 33), MakePackedColour(44, 55, 66),
                                     MakePackedColour(77, 88, 99)};
const PackedColour kFace = kScheme.buttonFace;
const PackedColour kGrey120 = GreyColour(120);
const PackedColour kGrey160 = GreyColour(160);

// What a pixel should be; nullopt where the operation leaves the background.
using Expectation = std::function<std::optional<PackedColour>(int x, int y)>;

testing::AssertionResult CanvasMatches(const SoftwareCanvas& canvas, const Expectation& expect) {
    int mismatches = 0;
    testing::Message first;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const PackedColour wanted = expect(x, y).value_or(kBackground);
            const PackedColour got = canvas.Pixel(x, y);
            if (got != wanted && ++mismatches <= 8) {
                first << "\n  (" << x << "," << y << ") is " << std::hex << got << ", wanted "
                      << wanted << std::dec;
            }
        }
    }
    if (mismatches == 0) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << mismatches << " pixels differ" << first;
}

bool Inside(const ClientRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A frame as the window system's 3D rectangle draws it: the top row and the left column, each
// but its last pixel, in topLeft; the whole right column and bottom row in bottomRight.
std::optional<PackedColour> FrameAt(const ClientRect& r, PackedColour topLeft,
                                    PackedColour bottomRight, int x, int y) {
    if ((x == r.right - 1 && y >= r.top && y <= r.bottom - 1) ||
        (y == r.bottom - 1 && x >= r.left && x <= r.right - 1)) {
        return bottomRight;
    }
    if ((y == r.top && x >= r.left && x <= r.right - 2) ||
        (x == r.left && y >= r.top && y <= r.bottom - 2)) {
        return topLeft;
    }
    return std::nullopt;
}

// A filled swatch inside an inner grey 120 frame and an outer grey 160 and white frame.
std::optional<PackedColour> SwatchAt(const SwatchLayout& swatch, PackedColour fill, int x, int y) {
    if (auto outer = FrameAt(swatch.outerFrame, kGrey160, kWhiteColour, x, y)) {
        return outer;
    }
    if (auto inner = FrameAt(swatch.innerFrame, kGrey120, kGrey120, x, y)) {
        return inner;
    }
    if (Inside(swatch.fill, x, y)) {
        return fill;
    }
    return std::nullopt;
}

SoftwareCanvas NewCanvas() {
    return SoftwareCanvas(kWidth, kHeight, kBackground, kScheme);
}

TEST(PickerDrawing, BackgroundIsAStripOfGreysUnderAnEtchedLine) {
    for (const auto& size : {std::array<int, 2>{kWidth, kHeight}, std::array<int, 2>{60, 40}}) {
        const int w = size[0];
        const int h = size[1];
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        SoftwareCanvas canvas(w, h, kBackground, kScheme);
        DrawBackground(canvas, w, h);
        EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
            const int fromBottom = h - y; // 1 for the bottom row
            if (fromBottom >= 1 && fromBottom <= 30) {
                return GreyColour(static_cast<std::uint8_t>(255 - 2 * fromBottom));
            }
            if (fromBottom == 34 && x >= 3 && x < w - 3) {
                return kScheme.buttonShadow;
            }
            if (fromBottom == 33 && x >= 3 && x < w - 3) {
                return kScheme.buttonHighlight;
            }
            return std::nullopt;
        }));
        EXPECT_EQ(canvas.Pixel(0, h - 1), GreyColour(253));
        EXPECT_EQ(canvas.Pixel(w - 1, h - 30), GreyColour(195));
        EXPECT_EQ(canvas.Pixel(0, h - 31), kBackground);
    }
}

TEST(PickerDrawing, BackgroundOfATinyClientAreaIsClipped) {
    SoftwareCanvas canvas(2, 3, kBackground, kScheme);
    DrawBackground(canvas, 2, 3);
    EXPECT_EQ(canvas.Pixel(0, 2), GreyColour(253));
    EXPECT_EQ(canvas.Pixel(1, 0), GreyColour(249));
}

// An image whose every pixel is different, so that a shifted or mirrored copy shows.
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

TEST(PickerDrawing, FieldImageSitsInsideItsTwoFrames) {
    const auto field = PatternImage<FieldBitmap>();
    SoftwareCanvas canvas = NewCanvas();
    DrawField(canvas, *field);
    EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
        if (auto outer = FrameAt({12, 11, 206, 205}, kGrey160, kWhiteColour, x, y)) {
            return outer;
        }
        if (auto inner = FrameAt({13, 12, 205, 204}, kGrey120, kGrey120, x, y)) {
            return inner;
        }
        if (x >= 14 && x < 14 + 190 && y >= 13 && y < 13 + 190) {
            return DibPixel(field->Pixels(), x - 14, y - 13);
        }
        return std::nullopt;
    }));
    // The corners of the outer frame: only the top-left one is in the darker grey.
    EXPECT_EQ(canvas.Pixel(12, 11), kGrey160);
    EXPECT_EQ(canvas.Pixel(205, 11), kWhiteColour);
    EXPECT_EQ(canvas.Pixel(12, 204), kWhiteColour);
    EXPECT_EQ(canvas.Pixel(205, 204), kWhiteColour);
    EXPECT_EQ(canvas.Pixel(14, 13), DibPixel(field->Pixels(), 0, 0));
    EXPECT_EQ(canvas.Pixel(203, 202), DibPixel(field->Pixels(), 189, 189));
}

TEST(PickerDrawing, LumBarIsStretchedTwentyWideInsideItsTwoFrames) {
    const auto bar = PatternImage<LumBitmap>();
    SoftwareCanvas canvas = NewCanvas();
    DrawLumBar(canvas, *bar);
    EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
        if (auto outer = FrameAt({216, 11, 240, 205}, kGrey160, kWhiteColour, x, y)) {
            return outer;
        }
        if (auto inner = FrameAt({217, 12, 239, 204}, kGrey120, kGrey120, x, y)) {
            return inner;
        }
        if (x >= 218 && x < 238 && y >= 13 && y < 203) {
            return DibPixel(bar->Pixels(), 0, y - 13);
        }
        return std::nullopt;
    }));
}

bool InAnyMargin(int x, int y) {
    const ClientRect margins[] = {
        {4, 3, 205, 11}, {4, 11, 12, 204}, {4, 205, 205, 214}, {206, 3, 215, 213}};
    for (const ClientRect& margin : margins) {
        if (Inside(margin, x, y)) {
            return true;
        }
    }
    return false;
}

// Arms of 8 pixels on each side, starting 3 pixels from the centre.
bool OnCrossHairArm(int centreX, int centreY, int x, int y) {
    const int dx = x - centreX;
    const int dy = y - centreY;
    return (dx == 0 && ((dy >= -10 && dy <= -3) || (dy >= 3 && dy <= 10))) ||
           (dy == 0 && ((dx >= -10 && dx <= -3) || (dx >= 3 && dx <= 10)));
}

TEST(PickerDrawing, CrossHairClearsTheMarginsAndDrawsFourArmsAroundAGap) {
    const ClientPoint crosses[] = {{0, 0}, {95, 95}, {190, 190}, {0, 190}, {190, 0}, {7, 183}};
    for (const ClientPoint cross : crosses) {
        SCOPED_TRACE(testing::Message() << "cross-hair " << cross.x << "," << cross.y);
        SoftwareCanvas canvas = NewCanvas();
        DrawCrossHair(canvas, cross.x, cross.y);
        const int cx = cross.x + 14;
        const int cy = cross.y + 13;
        EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
            if (OnCrossHairArm(cx, cy, x, y)) {
                return kBlackColour;
            }
            if (InAnyMargin(x, y)) {
                return kFace;
            }
            return std::nullopt;
        }));
        for (int d = -2; d <= 2; ++d) {
            EXPECT_NE(canvas.Pixel(cx + d, cy), kBlackColour) << "gap at x offset " << d;
            EXPECT_NE(canvas.Pixel(cx, cy + d), kBlackColour) << "gap at y offset " << d;
        }
    }
}

TEST(PickerDrawing, CrossHairOutsideTheFieldIsHeldToItsEdge) {
    SoftwareCanvas held = NewCanvas();
    DrawCrossHair(held, 500, -20);
    SoftwareCanvas edge = NewCanvas();
    DrawCrossHair(edge, 190, 0);
    EXPECT_TRUE(CanvasMatches(held, [&](int x, int y) { return edge.Pixel(x, y); }));
}

// Moving the cross-hair repaints the field and then draws the new cross-hair: wherever the old
// one stood, nothing of it may be left over.
TEST(PickerDrawing, MovingTheCrossHairLeavesNoTrail) {
    const auto field = PatternImage<FieldBitmap>();
    std::vector<ClientPoint> from;
    for (int v = 0; v <= 190; ++v) {
        from.insert(from.end(), {{v, 0}, {v, 190}, {0, v}, {190, v}});
    }
    for (int v = 0; v <= 190; v += 19) {
        for (int w = 0; w <= 190; w += 19) {
            from.push_back({v, w});
        }
    }
    const ClientPoint to{95, 95};
    SoftwareCanvas clean(250, 230, kBackground, kScheme);
    DrawField(clean, *field);
    DrawCrossHair(clean, to.x, to.y);
    int trails = 0;
    for (const ClientPoint old : from) {
        SoftwareCanvas moved(250, 230, kBackground, kScheme);
        DrawField(moved, *field);
        DrawCrossHair(moved, old.x, old.y);
        DrawField(moved, *field);
        DrawCrossHair(moved, to.x, to.y);
        const testing::AssertionResult same =
            CanvasMatches(moved, [&](int x, int y) { return clean.Pixel(x, y); });
        if (!same && ++trails <= 3) {
            ADD_FAILURE() << "from " << old.x << "," << old.y << ": " << same.message();
        }
    }
    EXPECT_EQ(trails, 0);
}

TEST(PickerDrawing, LumMarkerIsASolidArrowInACleanColumn) {
    const struct {
        int lum;
        int tip;
    } cases[] = {{0, 204}, {1, 203}, {120, 109}, {240, 14}, {255, 14}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "luminance " << c.lum);
        SoftwareCanvas canvas = NewCanvas();
        DrawLumMarker(canvas, static_cast<std::uint8_t>(c.lum));
        EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
            const int k = x - 240;
            if (k >= 1 && k <= 5 && y >= c.tip - k && y < c.tip + k) {
                return kBlackColour;
            }
            if (x >= 240 && x < 248 && y >= 5 && y < 209) {
                return kFace;
            }
            return std::nullopt;
        }));
        // Column by column: 0, 2, 4, 6, 8 and 10 black pixels, none beyond x = 245.
        for (int k = 0; k < 8; ++k) {
            int black = 0;
            for (int y = 0; y < kHeight; ++y) {
                black += canvas.Pixel(240 + k, y) == kBlackColour;
            }
            EXPECT_EQ(black, k <= 5 ? 2 * k : 0) << "column " << 240 + k;
        }
    }
}

TEST(PickerDrawing, CurrentAndNewColourSwatches) {
    const PackedColour colour = MakePackedColour(250, 10, 99);
    SoftwareCanvas current = NewCanvas();
    DrawCurrentColor(current, colour);
    EXPECT_TRUE(CanvasMatches(current, [&](int x, int y) {
        return SwatchAt({{272, 30, 316, 49}, {271, 29, 317, 50}, {270, 28, 318, 51}, {}}, colour, x,
                        y);
    }));
    SoftwareCanvas fresh = NewCanvas();
    DrawNewColor(fresh, colour);
    EXPECT_TRUE(CanvasMatches(fresh, [&](int x, int y) {
        return SwatchAt({{359, 30, 403, 49}, {358, 29, 404, 50}, {357, 28, 405, 51}, {}}, colour, x,
                        y);
    }));
    EXPECT_EQ(fresh.Pixel(359, 30), colour);
    EXPECT_EQ(fresh.Pixel(402, 48), colour);
    EXPECT_EQ(fresh.Pixel(403, 49), kGrey120);
    EXPECT_EQ(fresh.Pixel(357, 28), kGrey160);
    EXPECT_EQ(fresh.Pixel(404, 50), kWhiteColour);
}

TEST(PickerDrawing, CustomColourCellsInTwoRowsWithTheirFrames) {
    std::array<PackedColour, kCustomColourCount> table{};
    for (int i = 0; i < kCustomColourCount; ++i) {
        table[i] = MakePackedColour(static_cast<std::uint8_t>(10 * i), 200, 7);
    }
    SoftwareCanvas canvas = NewCanvas();
    DrawCustomColors(canvas, table);
    EXPECT_TRUE(CanvasMatches(canvas, [&](int x, int y) -> std::optional<PackedColour> {
        for (int i = 0; i < kCustomColourCount; ++i) {
            const int left = 11 + 24 * (i % 10);
            const int top = 215 + 25 * (i / 10);
            const SwatchLayout cell{{left, top + 1, left + 14, top + 14},
                                    {left - 1, top, left + 15, top + 15},
                                    {left - 2, top - 1, left + 16, top + 16},
                                    {}};
            if (auto pixel = SwatchAt(cell, table[i], x, y)) {
                return pixel;
            }
        }
        return std::nullopt;
    }));
    // The lower row's fill starts at 241, two rows above its hit zone.
    EXPECT_EQ(canvas.Pixel(11, 241), table[10]);
    EXPECT_EQ(canvas.Pixel(11, 240), kGrey120);
    EXPECT_EQ(canvas.Pixel(227, 216), table[9]);
}

TEST(PickerDrawing, AFullPaintLeavesEachPartWhereItBelongs) {
    auto field = std::make_unique<FieldBitmap>();
    BuildFieldBitmap(*field);
    LumBitmap bar;
    BuildLumBitmap(95, 95, bar);
    std::array<PackedColour, kCustomColourCount> table;
    table.fill(kWhiteColour);
    table[3] = MakePackedColour(1, 2, 3);

    SoftwareCanvas canvas = NewCanvas();
    DrawBackground(canvas, kWidth, kHeight);
    DrawField(canvas, *field);
    DrawLumBar(canvas, bar);
    DrawCrossHair(canvas, 95, 95);
    DrawLumMarker(canvas, 120);
    DrawCurrentColor(canvas, MakePackedColour(255, 0, 0));
    DrawNewColor(canvas, MakePackedColour(0, 0, 255));
    DrawCustomColors(canvas, table);

    EXPECT_EQ(canvas.Pixel(14, 13), MakePackedColour(255, 45, 45));
    EXPECT_EQ(canvas.Pixel(109 - 5, 108), kBlackColour);                  // left arm over the field
    EXPECT_EQ(canvas.Pixel(109, 108), DibPixel(field->Pixels(), 95, 95)); // the gap
    EXPECT_EQ(canvas.Pixel(228, 13), DibPixel(bar.Pixels(), 0, 0));
    EXPECT_EQ(canvas.Pixel(245, 109), kBlackColour);
    EXPECT_EQ(canvas.Pixel(280, 40), MakePackedColour(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(380, 40), MakePackedColour(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(11 + 24 * 3, 220), MakePackedColour(1, 2, 3));
    EXPECT_EQ(canvas.Pixel(11, 220), kWhiteColour);
    EXPECT_EQ(canvas.Pixel(200, kHeight - 1), GreyColour(253));
    EXPECT_EQ(canvas.Pixel(5, 5), kFace);
    EXPECT_EQ(canvas.Pixel(300, 100), kBackground); // left to the dialog's own background
}

} // namespace
