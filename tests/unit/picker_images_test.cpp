#include "controls/colour_model.h"
#include "controls/picker_geometry.h"
#include "controls/picker_images.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Rgb {
    int red, green, blue;
};

void ExpectPixel(const DibView& image, int x, int y, Rgb rgb) {
    SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
    const PackedColour got = DibPixel(image, x, y);
    EXPECT_EQ(RedOf(got), rgb.red);
    EXPECT_EQ(GreenOf(got), rgb.green);
    EXPECT_EQ(BlueOf(got), rgb.blue);
}

TEST(PickerImages, FieldIsA24BitBottomUpDibWithPaddedRows) {
    auto field = std::make_unique<FieldBitmap>();
    BuildFieldBitmap(*field);
    const DibView view = field->Pixels();
    EXPECT_EQ(view.width, 190);
    EXPECT_EQ(view.height, 190);
    EXPECT_EQ(view.stride, 572);
    EXPECT_EQ(field->Bytes().size(), 572u * 190u);
    // The first stored row is the bottom row: flat grey 125 stored blue, green, red.
    EXPECT_EQ(field->Bytes()[0], 125);
    EXPECT_EQ(field->Bytes()[1], 125);
    EXPECT_EQ(field->Bytes()[2], 125);
    // The last stored row is the top row: its first pixel is 255, 45, 45 stored blue first.
    const std::size_t top = 572u * 189u;
    EXPECT_EQ(field->Bytes()[top + 0], 45);
    EXPECT_EQ(field->Bytes()[top + 1], 45);
    EXPECT_EQ(field->Bytes()[top + 2], 255);
    for (std::size_t row = 0; row < 190; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(field->Bytes()[row * 572 + 570], 0);
        EXPECT_EQ(field->Bytes()[row * 572 + 571], 0);
    }
}

TEST(PickerImages, FieldPixels) {
    auto field = std::make_unique<FieldBitmap>();
    BuildFieldBitmap(*field);
    const struct {
        int x, y;
        Rgb rgb;
    } cases[] = {
        {0, 0, {255, 45, 45}},   {0, 189, {125, 125, 125}},   {62, 0, {45, 255, 45}},
        {95, 0, {45, 255, 255}}, {123, 0, {45, 51, 255}},     {0, 94, {213, 77, 77}},
        {189, 0, {255, 75, 45}}, {189, 189, {125, 125, 125}},
    };
    for (const auto& c : cases) {
        ExpectPixel(field->Pixels(), c.x, c.y, c.rgb);
    }
}

// The whole field against its description: hue 1.3 x, luminance j / 1.48, lift (250 - j) / 2.
TEST(PickerImages, EveryFieldPixelFollowsItsColumnAndRow) {
    auto field = std::make_unique<FieldBitmap>();
    BuildFieldBitmap(*field);
    int failures = 0;
    for (int y = 0; y < 190; ++y) {
        const int j = 189 - y;
        const int luminance = static_cast<int>(j / 1.48); // 1.48 as a double lies just below
        const int lift = (250 - j) / 2;
        for (int x = 0; x < 190; ++x) {
            const int hue = static_cast<int>(x * 1.3); // 1.3 as a double lies just above
            const PackedColour base =
                HslToRgb(static_cast<std::uint8_t>(hue), 240, static_cast<std::uint8_t>(luminance));
            auto lifted = [&](int channel) { return std::min(channel + lift, 255); };
            const PackedColour expected =
                MakePackedColour(static_cast<std::uint8_t>(lifted(RedOf(base))),
                                 static_cast<std::uint8_t>(lifted(GreenOf(base))),
                                 static_cast<std::uint8_t>(lifted(BlueOf(base))));
            if (DibPixel(field->Pixels(), x, y) != expected && ++failures <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(PickerImages, BarRampsFromBlackForTheCrossHairsHueAndSaturation) {
    LumBitmap bar;
    BuildLumBitmap(0, 0, bar); // hue 0, saturation 240
    const DibView view = bar.Pixels();
    EXPECT_EQ(view.width, 1);
    EXPECT_EQ(view.height, 190);
    EXPECT_EQ(view.stride, 4);
    ExpectPixel(view, 0, 189, {0, 0, 0});
    ExpectPixel(view, 0, 0, {255, 251, 251});
    for (int row = 0; row < 190; ++row) {
        EXPECT_EQ(bar.Bytes()[row * 4 + 3], 0) << "padding of row " << row;
    }

    // Luminance 240 j / 190 for row j from the bottom, hue and saturation from the cross-hair.
    const struct { int cx, cy; } crosses[] = {{0, 0}, {95, 95}, {190, 190}, {79, 19}, {174, 0}};
    for (const auto& cross : crosses) {
        SCOPED_TRACE(testing::Message() << "cross " << cross.cx << "," << cross.cy);
        BuildLumBitmap(cross.cx, cross.cy, bar);
        for (int j = 0; j < 190; ++j) {
            const PackedColour expected = HslToRgb(HueFromCrossX(cross.cx), SatFromCrossY(cross.cy),
                                                   static_cast<std::uint8_t>(240 * j / 190));
            ASSERT_EQ(DibPixel(bar.Pixels(), 0, 189 - j), expected) << "row " << j;
        }
    }
}

TEST(PickerImages, BarOfTheFieldsBottomEdgeIsAGreyRamp) {
    LumBitmap bar;
    BuildLumBitmap(95, 190, bar); // saturation 0
    for (int y = 0; y < 190; ++y) {
        const PackedColour pixel = DibPixel(bar.Pixels(), 0, y);
        EXPECT_EQ(RedOf(pixel), GreenOf(pixel));
        EXPECT_EQ(GreenOf(pixel), BlueOf(pixel));
    }
    ExpectPixel(bar.Pixels(), 0, 0, {252, 252, 252}); // luminance 238
}

} // namespace
