// The colour picker's work on the user interface thread: building the field image once per
// dialog (36,100 colour conversions), rebuilding the luminance bar (190 conversions) on every
// drag step, and painting the whole picker on the canvas in memory (and, on Windows, through
// GDI). Prints the median time of each operation over several runs.
#include "bench_support.h"
#include "controls/picker_drawing.h"
#include "controls/picker_images.h"
#include "controls/software_canvas.h"

#if defined(_WIN32)
#include "controls/gdi_canvas.h"

#include <windows.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Client area of the colour dialog (277 x 183 dialog units in an 8 point font).
constexpr int kClientWidth = 416;
constexpr int kClientHeight = 297;

// Median wall and CPU time of one call, from `runs` samples of `repeat` calls each.
template <typename Body> void Time(const char* what, int runs, int repeat, Body body) {
    std::vector<bench::Sample> samples = bench::Measure(runs, [&] {
        for (int i = 0; i < repeat; ++i) {
            body(i);
        }
    });
    std::vector<double> wall, cpu;
    for (const bench::Sample& sample : samples) {
        wall.push_back(sample.wallMs * 1000.0 / repeat);
        cpu.push_back(sample.cpuMs * 1000.0 / repeat);
    }
    std::printf("%-44s %3d runs x %5d calls  median %9.2f us/call  (cpu %9.2f us, fastest run "
                "%9.2f us)\n",
                what, runs, repeat, bench::Median(wall), bench::Median(cpu),
                *std::min_element(wall.begin(), wall.end()));
}

void PaintAll(Canvas& canvas, const CanvasImage& field, const CanvasImage& bar,
              const std::array<PackedColour, kCustomColourCount>& custom, int cx) {
    DrawBackground(canvas, kClientWidth, kClientHeight);
    DrawField(canvas, field);
    DrawLumBar(canvas, bar);
    DrawCrossHair(canvas, cx, 95);
    DrawLumMarker(canvas, 120);
    DrawCurrentColor(canvas, MakePackedColour(255, 0, 0));
    DrawNewColor(canvas, MakePackedColour(0, 128, 255));
    DrawCustomColors(canvas, custom);
}

#if defined(_WIN32)
// The same paints through GDI into a 32-bit bitmap in memory, as the dialog paints its window
// (without the window system's own transfer to the screen).
unsigned TimeGdi(int runs, const FieldBitmap& field, LumBitmap& bar,
                 const std::array<PackedColour, kCustomColourCount>& custom) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kClientWidth;
    info.bmiHeader.biHeight = -kClientHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP surface = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc == nullptr || surface == nullptr) {
        std::printf("GDI: no memory bitmap\n");
        return 0;
    }
    HGDIOBJ previous = ::SelectObject(dc, surface);
    GdiCanvas canvas(dc);
    GdiImage preparedField(field);
    GdiImage preparedBar(bar);
    Time("full picker paint, GDI canvas", runs, 50, [&](int i) {
        PaintAll(canvas, preparedField, preparedBar, custom, i % 191);
        ::GdiFlush();
    });
    Time("field drag step, GDI canvas", runs, 200, [&](int i) {
        const int cx = i % 191;
        DrawField(canvas, preparedField);
        DrawCrossHair(canvas, cx, 40);
        BuildLumBitmap(cx, 40, bar);
        preparedBar.Assign(bar);
        DrawLumBar(canvas, preparedBar);
        DrawNewColor(canvas, MakePackedColour(0, 128, 255));
        ::GdiFlush();
    });
    const unsigned sample = static_cast<const std::uint32_t*>(bits)[100 * kClientWidth + 100];
    ::SelectObject(dc, previous);
    ::DeleteObject(surface);
    ::DeleteDC(dc);
    return sample;
}
#endif

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    auto field = std::make_unique<FieldBitmap>();
    LumBitmap bar;
    std::array<PackedColour, kCustomColourCount> custom;
    custom.fill(kWhiteColour);
    SoftwareCanvas canvas(kClientWidth, kClientHeight, GreyColour(240));
    unsigned checksum = 0;

    Time("BuildFieldBitmap (36,100 conversions)", runs, 20, [&](int) {
        BuildFieldBitmap(*field);
        checksum += field->Bytes()[1000];
    });
    Time("BuildLumBitmap (190 conversions)", runs, 2000, [&](int i) {
        BuildLumBitmap(i % 191, (i / 191) % 191, bar);
        checksum += bar.Bytes()[400];
    });
    Time("full picker paint, software canvas", runs, 50, [&](int i) {
        PaintAll(canvas, *field, bar, custom, i % 191);
        checksum += canvas.Pixel(100, 100);
    });
    Time("field drag step (bar rebuilt, parts redrawn)", runs, 200, [&](int i) {
        const int cx = i % 191;
        DrawField(canvas, *field);
        DrawCrossHair(canvas, cx, 40);
        BuildLumBitmap(cx, 40, bar);
        DrawLumBar(canvas, bar);
        DrawNewColor(canvas, MakePackedColour(0, 128, 255));
        checksum += canvas.Pixel(228, 100);
    });
#if defined(_WIN32)
    checksum += TimeGdi(runs, *field, bar, custom);
#endif
    std::printf("(checksum %u)\n", checksum);
    return 0;
}
