#include "controls/colour_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Rgb {
    int red, green, blue;
};
struct Hsl {
    int hue, saturation, luminance;
};

Hsl HslOf(Rgb rgb) {
    std::uint8_t hue = 99, luminance = 99, saturation = 99;
    RgbToHsl(MakePackedColour(static_cast<std::uint8_t>(rgb.red),
                              static_cast<std::uint8_t>(rgb.green),
                              static_cast<std::uint8_t>(rgb.blue)),
             hue, luminance, saturation);
    return {hue, saturation, luminance};
}

TEST(ColourModel, RgbToHslTable) {
    const struct {
        Rgb rgb;
        Hsl hsl;
    } cases[] = {
        {{255, 0, 0}, {0, 240, 120}},       {{255, 255, 0}, {40, 240, 120}},
        {{0, 255, 0}, {80, 240, 120}},      {{0, 255, 255}, {120, 240, 120}},
        {{0, 0, 255}, {160, 240, 120}},     {{255, 0, 255}, {200, 240, 120}},
        {{255, 0, 128}, {220, 240, 120}},   {{255, 0, 20}, {237, 240, 120}},
        {{200, 100, 50}, {13, 144, 118}},   {{1, 0, 0}, {0, 240, 0}},
        {{254, 255, 255}, {120, 240, 240}}, {{0, 0, 0}, {160, 0, 0}},
        {{128, 128, 128}, {160, 0, 120}},   {{255, 255, 255}, {160, 0, 240}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "RGB " << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue);
        const Hsl got = HslOf(c.rgb);
        EXPECT_EQ(got.hue, c.hsl.hue);
        EXPECT_EQ(got.saturation, c.hsl.saturation);
        EXPECT_EQ(got.luminance, c.hsl.luminance);
    }
}

TEST(ColourModel, RgbToHslIgnoresTheTopByte) {
    std::uint8_t hue = 0, luminance = 0, saturation = 0;
    RgbToHsl(0xFF000000u | MakePackedColour(200, 100, 50), hue, luminance, saturation);
    EXPECT_EQ(hue, 13);
    EXPECT_EQ(saturation, 144);
    EXPECT_EQ(luminance, 118);
}

TEST(ColourModel, HslToRgbTable) {
    const struct {
        Hsl hsl;
        Rgb rgb;
    } cases[] = {
        {{0, 240, 120}, {255, 0, 0}},     {{80, 240, 120}, {0, 255, 0}},
        {{160, 240, 120}, {0, 0, 255}},   {{200, 240, 120}, {255, 0, 255}},
        {{239, 240, 120}, {255, 0, 6}},   {{79, 240, 120}, {6, 255, 0}},
        {{10, 240, 60}, {128, 32, 0}},    {{100, 120, 200}, {191, 234, 213}},
        {{5, 240, 127}, {255, 45, 15}},   {{245, 240, 127}, {255, 45, 15}},
        {{160, 0, 120}, {127, 127, 127}}, {{0, 240, 240}, {255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "HSL " << c.hsl.hue << "," << c.hsl.saturation << "," << c.hsl.luminance);
        const PackedColour got = HslToRgb(static_cast<std::uint8_t>(c.hsl.hue),
                                          static_cast<std::uint8_t>(c.hsl.saturation),
                                          static_cast<std::uint8_t>(c.hsl.luminance));
        EXPECT_EQ(RedOf(got), c.rgb.red);
        EXPECT_EQ(GreenOf(got), c.rgb.green);
        EXPECT_EQ(BlueOf(got), c.rgb.blue);
        EXPECT_EQ(got >> 24, 0u);
    }
}

TEST(ColourModel, HueToChannelRampsUpHoldsRampsDownAndFoldsOnce) {
    const struct {
        int low, high, h, expected;
    } cases[] = {
        {0, 240, 0, 0},     {0, 240, 1, 6},     {0, 240, 20, 120},   {0, 240, 39, 234},
        {0, 240, 40, 240},  {0, 240, 119, 240}, {0, 240, 120, 240},  {0, 240, 140, 120},
        {0, 240, 159, 6},   {0, 240, 160, 0},   {0, 240, 239, 0},    {0, 240, 240, 0},
        {0, 240, -1, 0},    {0, 240, -80, 0},   {0, 240, -200, 240}, {0, 240, 241, 6},
        {0, 240, 320, 240}, {60, 180, 10, 90},  {60, 180, 150, 90},  {100, 100, 30, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "low " << c.low << " high " << c.high << " h " << c.h);
        EXPECT_EQ(HueToChannel(c.low, c.high, c.h), c.expected);
    }
}

TEST(ColourModel, FullSaturationAtTheEndsOfLuminanceIsBlackOrWhiteForEveryHue) {
    for (int hue = 0; hue < 256; ++hue) {
        SCOPED_TRACE(hue);
        EXPECT_EQ(HslToRgb(static_cast<std::uint8_t>(hue), 240, 0), kBlackColour);
        EXPECT_EQ(HslToRgb(static_cast<std::uint8_t>(hue), 240, 240), kWhiteColour);
        EXPECT_EQ(HslToRgb(static_cast<std::uint8_t>(hue), 0, 0), kBlackColour);
    }
}

// Every colour, converted and back: hue, saturation and luminance in range, greys and only
// greys with saturation 0 and hue 160, and the colour come back within 5 of each channel (one
// hue step is 6.4 channel steps at full saturation, so rounding the hue alone may cost 3, and
// rounding saturation and luminance a little more).
TEST(ColourModel, EveryColourConvertsIntoRangeAndBackClosely) {
    int worst = 0;
    PackedColour worstColour = 0;
    int failures = 0;
    for (PackedColour colour = 0; colour <= 0xFFFFFF; ++colour) {
        std::uint8_t hue = 0, luminance = 0, saturation = 0;
        RgbToHsl(colour, hue, luminance, saturation);
        const bool grey = RedOf(colour) == GreenOf(colour) && GreenOf(colour) == BlueOf(colour);
        const bool ok = hue < 240 && saturation <= 240 && luminance <= 240 &&
                        (saturation == 0) == grey && (!grey || hue == 160);
        if (!ok && ++failures <= 5) {
            ADD_FAILURE() << std::hex << "colour " << colour << std::dec << " gives hue " << +hue
                          << " saturation " << +saturation << " luminance " << +luminance;
        }
        const PackedColour back = HslToRgb(hue, saturation, luminance);
        const int error = std::max({std::abs(RedOf(back) - RedOf(colour)),
                                    std::abs(GreenOf(back) - GreenOf(colour)),
                                    std::abs(BlueOf(back) - BlueOf(colour))});
        if (error > worst) {
            worst = error;
            worstColour = colour;
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_LE(worst, 5) << std::hex << "worst at " << worstColour;
}

// Hue climbs steadily along each of the six edges of the colour cube between the pure colours.
TEST(ColourModel, HueClimbsAlongTheEdgesOfTheColourCube) {
    const struct {
        const char* edge;
        int startHue;
        Rgb (*at)(int);
    } edges[] = {
        {"red to yellow", 0,
         [](int t) {
             return Rgb{255, t, 0};
         }},
        {"yellow to green", 40,
         [](int t) {
             return Rgb{255 - t, 255, 0};
         }},
        {"green to cyan", 80,
         [](int t) {
             return Rgb{0, 255, t};
         }},
        {"cyan to blue", 120,
         [](int t) {
             return Rgb{0, 255 - t, 255};
         }},
        {"blue to magenta", 160,
         [](int t) {
             return Rgb{t, 0, 255};
         }},
        {"magenta to red", 200,
         [](int t) {
             return Rgb{255, 0, 255 - t};
         }},
    };
    for (const auto& edge : edges) {
        SCOPED_TRACE(edge.edge);
        int previous = edge.startHue;
        for (int t = 0; t <= 255; ++t) {
            int hue = HslOf(edge.at(t)).hue;
            if (edge.startHue == 200 && hue < 100) {
                hue += 240; // red at the end of the circle
            }
            ASSERT_GE(hue, previous) << "t " << t;
            ASSERT_LE(hue - previous, 1) << "t " << t;
            previous = hue;
        }
        EXPECT_EQ(previous, edge.startHue + 40);
    }
}

// Every input byte, in range or not: no channel runs into the next byte, hues 240 to 255 repeat
// hues 0 to 15, saturation 0 ignores the hue, and values above 240 count as 240.
TEST(ColourModel, HslToRgbOverEveryInputByte) {
    int failures = 0;
    auto fail = [&](int h, int s, int l, const char* what) {
        if (++failures <= 5) {
            ADD_FAILURE() << what << " at hue " << h << " saturation " << s << " luminance " << l;
        }
    };
    for (int h = 0; h < 256; ++h) {
        for (int s = 0; s < 256; ++s) {
            for (int l = 0; l < 256; ++l) {
                const auto hue = static_cast<std::uint8_t>(h);
                const auto sat = static_cast<std::uint8_t>(s);
                const auto lum = static_cast<std::uint8_t>(l);
                const PackedColour colour = HslToRgb(hue, sat, lum);
                if (colour > 0xFFFFFF) {
                    fail(h, s, l, "top byte set");
                }
                if (h >= 240 && colour != HslToRgb(static_cast<std::uint8_t>(h - 240), sat, lum)) {
                    fail(h, s, l, "hue does not come round");
                }
                if (s == 0 &&
                    colour != GreyColour(static_cast<std::uint8_t>(std::min(l, 240) * 255 / 240))) {
                    fail(h, s, l, "saturation 0 is not the grey of the luminance");
                }
                if ((s > 240 || l > 240) &&
                    colour != HslToRgb(hue, static_cast<std::uint8_t>(std::min(s, 240)),
                                       static_cast<std::uint8_t>(std::min(l, 240)))) {
                    fail(h, s, l, "values above 240 do not count as 240");
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(ColourModel, FullColoursHaveOneChannelFullAndOneEmpty) {
    for (int hue = 0; hue < 240; ++hue) {
        SCOPED_TRACE(hue);
        const PackedColour c = HslToRgb(static_cast<std::uint8_t>(hue), 240, 120);
        EXPECT_EQ(std::max({RedOf(c), GreenOf(c), BlueOf(c)}), 255);
        EXPECT_EQ(std::min({RedOf(c), GreenOf(c), BlueOf(c)}), 0);
    }
}

TEST(ColourRefText, FormatsRedFirstInUpperCaseWithLeadingZeros) {
    const struct {
        Rgb rgb;
        const char* text;
    } cases[] = {
        {{255, 0, 0}, "FF0000"},     {{0, 128, 255}, "0080FF"}, {{0, 0, 0}, "000000"},
        {{255, 255, 255}, "FFFFFF"}, {{1, 2, 3}, "010203"},     {{171, 205, 239}, "ABCDEF"},
    };
    for (const auto& c : cases) {
        const RefText text = FormatRefText(static_cast<std::uint8_t>(c.rgb.red),
                                           static_cast<std::uint8_t>(c.rgb.green),
                                           static_cast<std::uint8_t>(c.rgb.blue));
        EXPECT_STREQ(text.data(), c.text);
    }
}

TEST(ColourRefText, EveryColourFormatsAndParsesBackToItself) {
    int failures = 0;
    for (PackedColour colour = 0; colour <= 0xFFFFFF; colour += 0x010101 * 3 + 0x000100) {
        const RefText text = FormatRefText(RedOf(colour), GreenOf(colour), BlueOf(colour));
        std::uint8_t r = 0, g = 0, b = 0;
        const int read = ParseRefText(text.data(), r, g, b);
        if ((read != 3 || MakePackedColour(r, g, b) != colour) && ++failures <= 5) {
            ADD_FAILURE() << text.data();
        }
    }
    EXPECT_EQ(failures, 0);
}

struct ParseCase {
    const char* what;
    const char* text;
    int fields;
    int red, green, blue; // the channels start as 0x11, 0x22, 0x33
};

TEST(ColourRefText, ParsesFieldByFieldLikeTheCLibrary) {
    const ParseCase cases[] = {
        {"lower case", "0080ff", 3, 0x00, 0x80, 0xFF},
        {"upper case", "0080FF", 3, 0x00, 0x80, 0xFF},
        {"one field", "FF", 1, 0xFF, 0x22, 0x33},
        {"a lone digit ends the second field", "FF0", 2, 0xFF, 0x00, 0x33},
        {"empty", "", 0, 0x11, 0x22, 0x33},
        {"letter beyond F", "G12345", 0, 0x11, 0x22, 0x33},
        {"only the first six digits count", "12345678", 3, 0x12, 0x34, 0x56},
        {"a lone digit", "7", 1, 0x07, 0x22, 0x33},
        {"digits, one per field", "1 2 3", 3, 0x01, 0x02, 0x03},
        {"leading white space of every kind", " \t\n\v\f\rAB\t\tCD\n EF", 3, 0xAB, 0xCD, 0xEF},
        {"white space only", " \t ", 0, 0x11, 0x22, 0x33},
        {"white space after a digit ends that field", "A BC", 2, 0x0A, 0xBC, 0x33},
        {"trailing white space", "123456  ", 3, 0x12, 0x34, 0x56},
        {"stops at the first unreadable field", "12G456", 1, 0x12, 0x22, 0x33},
        {"a field of one digit before a letter", "1G", 1, 0x01, 0x22, 0x33},
        {"minus one is FF", "-1", 1, 0xFF, 0x22, 0x33},
        {"a sign counts towards the two characters", "-FF", 2, 0xF1, 0x0F, 0x33},
        {"plus", "+F+1+2", 3, 0x0F, 0x01, 0x02},
        {"minus in a later field", "1 -2+3", 3, 0x01, 0xFE, 0x03},
        {"minus zero", "-0", 1, 0x00, 0x22, 0x33},
        {"lone sign", "-", 0, 0x11, 0x22, 0x33},
        {"sign then space", "- 1", 0, 0x11, 0x22, 0x33},
        {"two signs", "+-1", 0, 0x11, 0x22, 0x33},
        {"sign after digits ends the field", "1-", 1, 0x01, 0x22, 0x33},
        {"0x fills a field with no digit", "0x12", 0, 0x11, 0x22, 0x33},
        {"0X as well", "0XFF00", 0, 0x11, 0x22, 0x33},
        {"0x after white space", "  0x1", 0, 0x11, 0x22, 0x33},
        {"0x in the second field", "FF0x12", 1, 0xFF, 0x22, 0x33},
        {"00 then x", "00x1", 1, 0x00, 0x22, 0x33},
        {"sign, zero, x", "-0x", 1, 0x00, 0x22, 0x33},
        {"x alone", "x1", 0, 0x11, 0x22, 0x33},
        {"non-ASCII byte first",
         "\xA0"
         "12",
         0, 0x11, 0x22, 0x33},
        {"non-ASCII byte inside",
         "1\xA0"
         "2",
         1, 0x01, 0x22, 0x33},
        {"GBK text", "\xba\xec\xc9\xab", 0, 0x11, 0x22, 0x33},
        {"high bytes after a colour", "ABCDEF\xff\xfe", 3, 0xAB, 0xCD, 0xEF},
        {"hash prefix", "#FF0000", 0, 0x11, 0x22, 0x33},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint8_t red = 0x11, green = 0x22, blue = 0x33;
        EXPECT_EQ(ParseRefText(c.text, red, green, blue), c.fields);
        EXPECT_EQ(red, c.red);
        EXPECT_EQ(green, c.green);
        EXPECT_EQ(blue, c.blue);
    }
}

TEST(ColourRefText, NullAndVeryLongTextsAreSafe) {
    std::uint8_t red = 1, green = 2, blue = 3;
    EXPECT_EQ(ParseRefText(nullptr, red, green, blue), 0);
    EXPECT_EQ(MakePackedColour(red, green, blue), MakePackedColour(1, 2, 3));

    const std::string spaces(1 << 20, ' ');
    EXPECT_EQ(ParseRefText(spaces.c_str(), red, green, blue), 0);
    const std::string digits = std::string(1 << 20, 'a');
    EXPECT_EQ(ParseRefText(digits.c_str(), red, green, blue), 3);
    EXPECT_EQ(MakePackedColour(red, green, blue), MakePackedColour(0xAA, 0xAA, 0xAA));
}

// Every text of up to four characters from a small alphabet, read by the C library's own
// sscanf and by ParseRefText. Texts holding "0x" are left out: the C libraries disagree on a
// field of "0x" alone (the table above gives the Windows library's reading), and an empty
// text, which sscanf reports as EOF, counts as 0 fields.
TEST(ColourRefText, AgreesWithTheCLibraryOnShortTexts) {
    static const char kAlphabet[] = {'0', '1', '9', 'a', 'F',  'g',   'x',
                                     'X', '-', '+', ' ', '\t', '\xA0'};
    constexpr int kLetters = sizeof kAlphabet;
    int compared = 0;
    int failures = 0;
    for (int length = 0; length <= 4; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i) {
            combinations *= kLetters;
        }
        for (int n = 0; n < combinations; ++n) {
            char text[5] = {};
            for (int i = 0, rest = n; i < length; ++i, rest /= kLetters) {
                text[i] = kAlphabet[rest % kLetters];
            }
            const std::string view(text);
            if (view.find("0x") != std::string::npos || view.find("0X") != std::string::npos) {
                continue;
            }
            unsigned a = 0x11, b = 0x22, c = 0x33;
            const int expected = std::max(std::sscanf(text, "%02X%02X%02X", &a, &b, &c), 0);
            std::uint8_t red = 0x11, green = 0x22, blue = 0x33;
            const int read = ParseRefText(text, red, green, blue);
            ++compared;
            if ((read != expected || red != (a & 0xFF) || green != (b & 0xFF) ||
                 blue != (c & 0xFF)) &&
                ++failures <= 5) {
                ADD_FAILURE() << "text \"" << text << "\": " << read << " fields, C library "
                              << expected;
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_GT(compared, 20000);
}

} // namespace
