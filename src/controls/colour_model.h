// Arithmetic between the two forms in which the colour dialog shows a colour: red, green and
// blue channels of 0 to 255, and hue, saturation and luminance on a scale of 240 steps; and
// the six-digit hexadecimal reference text shown beside them. Pure integer functions without
// state or allocation: the picker calls HslToRgb once per pixel when it builds its images.
#pragma once

#include "controls/packed_colour.h"

#include <array>
#include <cstdint>

// Hue runs round a circle of 240 steps (red 0, yellow 40, green 80, cyan 120, blue 160,
// magenta 200); saturation and luminance run from 0 to 240.
inline constexpr int kHslScale = 240;
inline constexpr int kChannelScale = 255;
inline constexpr int kHueSector = 40;     // a sixth of the circle
inline constexpr int kHueThird = 80;      // a third of the circle
inline constexpr int kHueTwoThirds = 160; // also the hue given to greys
inline constexpr int kHslHalf = 120;
inline constexpr std::uint8_t kGreyHue = kHueTwoThirds;

// Splits a colour into hue (0 to 239), luminance and saturation (0 to 240 each). A grey gets
// saturation 0 and hue 160. The top byte of the colour is ignored.
void RgbToHsl(PackedColour colour, std::uint8_t& hue, std::uint8_t& luminance,
              std::uint8_t& saturation);

// The colour of hue (0 to 255; 240 and above name the colour of hue - 240), saturation and
// luminance (0 to 240; larger values count as 240). Saturation 0 gives the grey of the
// luminance whatever the hue.
PackedColour HslToRgb(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance);

// One channel on the 240 scale for the ramp between low and high (low <= high, both 0 to 240)
// at hue h, where h may lie one circle below or above 0 to 240.
int HueToChannel(int low, int high, int h);

// Six upper-case hexadecimal digits, red first, zero-terminated.
using RefText = std::array<char, 7>;

// The reference text of a colour: red, green and blue as two upper-case digits each.
RefText FormatRefText(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Reads up to three fields of a reference text into red, green and blue, in that order, by the
// field rules of the C library's "%02X" conversion: white space before a field is skipped; a
// field is an optional sign followed by hexadecimal digits of either case, at most two
// characters in all (a sign counts); a negative field is taken modulo 256; "0x" on its own is
// no number. Reading stops at the first field that cannot be read. Each field read sets its
// channel at once; the channels of fields not read keep their values. Returns how many
// fields were read, 0 to 3 (0 also for an empty text or a null pointer).
int ParseRefText(const char* text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);
