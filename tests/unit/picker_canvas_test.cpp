// The canvas in memory: each drawing primitive, its clipping, and the odd arguments that must
// not write outside the canvas.
#include "controls/picker_images.h"
#include "controls/software_canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr PackedColour kPaper = MakePackedColour(1, 1, 1);
constexpr PackedColour kInk = MakePackedColour(200, 0, 0);
constexpr PackedColour kOther = MakePackedColour(0, 0, 200);

// The canvas as rows of characters: '.' paper, '#' ink, 'o' the other colour, '?' anything else.
std::vector<std::string> Picture(const SoftwareCanvas& canvas) {
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            const PackedColour c = canvas.Pixel(x, y);
            row += c == kPaper ? '.' : c == kInk ? '#' : c == kOther ? 'o' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

TEST(SoftwareCanvas, FillRectExcludesTheRightColumnAndBottomRowAndClips) {
    const struct {
        const char* what;
        ClientRect rect;
        Rows picture;
    } cases[] = {
        {"inside", {1, 1, 3, 2}, {".....", ".##..", "....."}},
        {"over every edge", {-5, -5, 50, 50}, {"#####", "#####", "#####"}},
        {"right and bottom edges", {3, 1, 9, 9}, {".....", "...##", "...##"}},
        {"empty", {2, 1, 2, 3}, {".....", ".....", "....."}},
        {"inverted", {4, 2, 1, 0}, {".....", ".....", "....."}},
        {"far away", {INT_MIN, INT_MIN, -1, -1}, {".....", ".....", "....."}},
        {"whole range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {"#####", "#####", "#####"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoftwareCanvas canvas(5, 3, kPaper);
        canvas.FillRect(c.rect, kInk);
        EXPECT_EQ(Picture(canvas), c.picture);
    }
}

TEST(SoftwareCanvas, LinesStopBeforeTheirEndPointInEveryDirection) {
    const struct {
        const char* what;
        ClientPoint from, to;
        Rows picture;
    } cases[] = {
        {"rightwards", {1, 1}, {4, 1}, {".....", ".###.", "....."}},
        {"leftwards", {4, 1}, {1, 1}, {".....", "..###", "....."}},
        {"downwards", {2, 0}, {2, 2}, {"..#..", "..#..", "....."}},
        {"upwards", {2, 2}, {2, 0}, {".....", "..#..", "..#.."}},
        {"no length", {2, 1}, {2, 1}, {".....", ".....", "....."}},
        {"one pixel", {2, 1}, {3, 1}, {".....", "..#..", "....."}},
        {"clipped on both ends", {-100, 2}, {100, 2}, {".....", ".....", "#####"}},
        {"outside", {0, 7}, {5, 7}, {".....", ".....", "....."}},
        {"extreme coordinates", {INT_MIN, 0}, {INT_MAX, 0}, {"#####", ".....", "....."}},
        {"extreme backwards", {INT_MAX, 1}, {INT_MIN, 1}, {".....", "#####", "....."}},
        {"extreme column", {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {".....", ".....", "....."}},
        {"slanted", {0, 0}, {3, 3}, {"#....", ".#...", "..#.."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoftwareCanvas canvas(5, 3, kPaper);
        canvas.DrawLine(c.from, c.to, kInk);
        EXPECT_EQ(Picture(canvas), c.picture);
    }
}

TEST(SoftwareCanvas, Draw3dRectPaintsTopLeftThenBottomRight) {
    const struct {
        const char* what;
        ClientRect rect;
        Rows picture;
    } cases[] = {
        {"four by three", {0, 0, 4, 3}, {"###o.", "#..o.", "oooo."}},
        {"two by two", {1, 0, 3, 2}, {".#o..", ".oo..", "....."}},
        {"one by one", {2, 1, 3, 2}, {".....", "..o..", "....."}},
        {"one pixel wide", {1, 0, 2, 3}, {".o...", ".o...", ".o..."}},
        {"one pixel high", {0, 1, 5, 2}, {".....", "ooooo", "....."}},
        {"partly outside", {-1, -1, 3, 2}, {"..o..", "ooo..", "....."}},
        {"empty", {2, 1, 2, 1}, {".....", ".....", "....."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoftwareCanvas canvas(5, 3, kPaper);
        canvas.Draw3dRect(c.rect, kInk, kOther);
        EXPECT_EQ(Picture(canvas), c.picture);
    }
}

template <int W, int H> DibPixels<W, H> Numbered() {
    DibPixels<W, H> image;
    for (int j = 0; j < H; ++j) {
        for (int x = 0; x < W; ++x) {
            std::uint8_t* pixel = image.PixelFromBottom(x, j);
            pixel[0] = static_cast<std::uint8_t>(x);         // blue: the column
            pixel[1] = static_cast<std::uint8_t>(H - 1 - j); // green: the row from the top
            pixel[2] = 7;
        }
    }
    return image;
}

TEST(SoftwareCanvas, CopyImagePutsTheTopRowOnTopAndClips) {
    const auto image = Numbered<3, 2>();
    const struct {
        const char* what;
        ClientPoint at;
    } cases[] = {{"inside", {1, 1}},
                 {"over the top-left corner", {-1, -1}},
                 {"over the bottom-right corner", {4, 2}},
                 {"far away", {INT_MAX - 1, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoftwareCanvas canvas(6, 4, kPaper);
        canvas.CopyImage(image, c.at);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const long long ix = static_cast<long long>(x) - c.at.x;
                const long long iy = static_cast<long long>(y) - c.at.y;
                const PackedColour wanted = ix >= 0 && ix < 3 && iy >= 0 && iy < 2
                                                ? MakePackedColour(7, static_cast<std::uint8_t>(iy),
                                                                   static_cast<std::uint8_t>(ix))
                                                : kPaper;
                EXPECT_EQ(canvas.Pixel(x, y), wanted) << x << "," << y;
            }
        }
    }
}

TEST(SoftwareCanvas, StretchImageRepeatsEachSourcePixel) {
    const auto column = Numbered<1, 3>();
    SoftwareCanvas wide(6, 4, kPaper);
    wide.StretchImage(column, {1, 0, 5, 3});
    for (int y = 0; y < 3; ++y) {
        for (int x = 1; x < 5; ++x) {
            EXPECT_EQ(wide.Pixel(x, y), MakePackedColour(7, static_cast<std::uint8_t>(y), 0));
        }
        EXPECT_EQ(wide.Pixel(0, y), kPaper);
        EXPECT_EQ(wide.Pixel(5, y), kPaper);
    }
    EXPECT_EQ(wide.Pixel(2, 3), kPaper);

    const auto square = Numbered<2, 2>();
    SoftwareCanvas doubled(4, 4, kPaper);
    doubled.StretchImage(square, {0, 0, 4, 4});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(doubled.Pixel(x, y), MakePackedColour(7, static_cast<std::uint8_t>(y / 2),
                                                            static_cast<std::uint8_t>(x / 2)));
        }
    }

    SoftwareCanvas untouched(4, 4, kPaper);
    untouched.StretchImage(square, {3, 3, 3, 5});
    untouched.StretchImage(square, {3, 3, 1, 1});
    EXPECT_EQ(Picture(untouched), (Rows{"....", "....", "....", "...."}));
}

TEST(SoftwareCanvas, EmptyAndNegativeSizesHoldNothing) {
    SoftwareCanvas empty(0, 0, kPaper);
    SoftwareCanvas negative(-4, 7, kPaper);
    for (SoftwareCanvas* canvas : {&empty, &negative}) {
        EXPECT_EQ(canvas->Width() * canvas->Height(), 0);
        canvas->FillRect({0, 0, 10, 10}, kInk);
        canvas->DrawLine({0, 0}, {10, 0}, kInk);
        canvas->Draw3dRect({0, 0, 10, 10}, kInk, kOther);
        canvas->CopyImage(Numbered<2, 2>(), {0, 0});
        canvas->StretchImage(Numbered<2, 2>(), {0, 0, 5, 5});
    }
}

TEST(SoftwareCanvas, SystemColoursComeFromItsScheme) {
    const SystemColourScheme scheme{MakePackedColour(1, 2, 3), MakePackedColour(4, 5, 6),
                                    MakePackedColour(7, 8, 9)};
    SoftwareCanvas canvas(1, 1, kPaper, scheme);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonFace), scheme.buttonFace);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonShadow), scheme.buttonShadow);
    EXPECT_EQ(canvas.SystemColourOf(SystemColour::ButtonHighlight), scheme.buttonHighlight);
}

} // namespace
