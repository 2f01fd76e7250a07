// The colour picker's work on the user interface thread: building the field image once per
// dialog (36,100 colour conversions), rebuilding the luminance bar (190 conversions) on every
// drag step, and painting the whole picker, here on the canvas in memory. Prints the median
// time of each operation over several runs.
#include "bench_support.h"
#include "controls/picker_drawing.h"
#include "controls/picker_images.h"
#include "controls/software_canvas.h"

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
        DrawBackground(canvas, kClientWidth, kClientHeight);
        DrawField(canvas, *field);
        DrawLumBar(canvas, bar);
        DrawCrossHair(canvas, i % 191, 95);
        DrawLumMarker(canvas, 120);
        DrawCurrentColor(canvas, MakePackedColour(255, 0, 0));
        DrawNewColor(canvas, MakePackedColour(0, 128, 255));
        DrawCustomColors(canvas, custom);
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
    std::printf("(checksum %u)\n", checksum);
    return 0;
}
