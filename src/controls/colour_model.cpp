#include "controls/colour_model.h"

#include <algorithm>

namespace {

// A value 0 to 240 on the HSL scale as a channel 0 to 255, rounded to the nearest.
int ScaleToChannel(int value) {
    return (value * kChannelScale + kHslHalf) / kHslScale;
}

int HexDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The white space of the C locale; bytes above 127 are never white space.
bool IsCSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads one "%02X" field at text, advancing it past what the field took. Returns false when
// no number can be read there.
bool ReadHexField(const char*& text, std::uint8_t& channel) {
    const char* p = text;
    while (IsCSpace(static_cast<unsigned char>(*p))) {
        ++p;
    }
    int width = 2;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
        --width;
    }
    // "0x" opens a hexadecimal number but fills the whole field, leaving no digit: the
    // Windows C library and the C standard both treat that as no number at all.
    if (width == 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        return false;
    }
    unsigned value = 0;
    int digits = 0;
    while (digits < width) {
        int digit = HexDigitValue(static_cast<unsigned char>(p[digits]));
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<unsigned>(digit);
        ++digits;
    }
    if (digits == 0) {
        return false;
    }
    if (negative) {
        value = 0u - value;
    }
    channel = static_cast<std::uint8_t>(value & 0xFF);
    text = p + digits;
    return true;
}

} // namespace

void RgbToHsl(PackedColour colour, std::uint8_t& hue, std::uint8_t& luminance,
              std::uint8_t& saturation) {
    const int red = RedOf(colour);
    const int green = GreenOf(colour);
    const int blue = BlueOf(colour);
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const int sum = max + min;
    const int twiceFull = 2 * kChannelScale;

    const int lum = (sum * kHslScale + kChannelScale) / twiceFull;
    luminance = static_cast<std::uint8_t>(lum);
    if (max == min) {
        saturation = 0;
        hue = kGreyHue;
        return;
    }
    const int diff = max - min;
    if (lum <= kHslHalf) {
        saturation = static_cast<std::uint8_t>((diff * kHslScale + sum / 2) / sum);
    } else {
        saturation = static_cast<std::uint8_t>((diff * kHslScale + (twiceFull - sum) / 2) /
                                               (twiceFull - sum));
    }

    // How far each channel lies below the maximum, in sixths of the circle.
    auto delta = [&](int channel) { return ((max - channel) * kHueSector + diff / 2) / diff; };
    int h;
    if (red == max) {
        h = delta(blue) - delta(green);
    } else if (green == max) {
        h = kHueThird + delta(red) - delta(blue);
    } else {
        h = kHueTwoThirds + delta(green) - delta(red);
    }
    if (h < 0) {
        h += kHslScale;
    }
    hue = static_cast<std::uint8_t>(h);
}

int HueToChannel(int low, int high, int h) {
    if (h < 0) {
        h += kHslScale;
    }
    if (h > kHslScale) {
        h -= kHslScale;
    }
    if (h < kHueSector) {
        return low + ((high - low) * h + kHueSector / 2) / kHueSector;
    }
    if (h < kHslHalf) {
        return high;
    }
    if (h < kHueTwoThirds) {
        return low + ((high - low) * (kHueTwoThirds - h) + kHueSector / 2) / kHueSector;
    }
    return low;
}

PackedColour HslToRgb(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance) {
    // Beyond 240 the low value would turn negative and a channel run past 255 into the next
    // byte of the packed colour; the edits never give such values, other callers might.
    const int sat = std::min<int>(saturation, kHslScale);
    const int lum = std::min<int>(luminance, kHslScale);
    if (sat == 0) {
        const auto grey = static_cast<std::uint8_t>(lum * kChannelScale / kHslScale);
        return GreyColour(grey);
    }
    int high;
    if (lum <= kHslHalf) {
        high = (lum * (kHslScale + sat) + kHslHalf) / kHslScale;
    } else {
        high = lum + sat - (lum * sat + kHslHalf) / kHslScale;
    }
    const int low = 2 * lum - high;
    const int red = ScaleToChannel(HueToChannel(low, high, hue + kHueThird));
    const int green = ScaleToChannel(HueToChannel(low, high, hue));
    const int blue = ScaleToChannel(HueToChannel(low, high, hue - kHueThird));
    return MakePackedColour(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                            static_cast<std::uint8_t>(blue));
}

RefText FormatRefText(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return RefText{kDigits[red >> 4],
                   kDigits[red & 0xF],
                   kDigits[green >> 4],
                   kDigits[green & 0xF],
                   kDigits[blue >> 4],
                   kDigits[blue & 0xF],
                   '\0'};
}

int ParseRefText(const char* text, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) {
    if (text == nullptr) {
        return 0;
    }
    std::uint8_t* channels[] = {&red, &green, &blue};
    int read = 0;
    for (std::uint8_t* channel : channels) {
        if (!ReadHexField(text, *channel)) {
            break;
        }
        ++read;
    }
    return read;
}
