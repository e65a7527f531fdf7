// Each drawing primitive at the size an instrument uses and with coordinates near the
// 32-bit limits, and text at scales 1 to 3. A huge shape should cost no more than one
// that covers the same part of the surface.
#include <benchmark/benchmark.h>

#include <functional>

#include "core/display/primitives.h"
#include "core/display/surface.h"
#include "core/display/text.h"

namespace {

using namespace orvanta;

constexpr int32_t kFar = 2000000000;

// The display every benchmark draws on.
Display display;

// Times `draw`, alternating the colour so every call really paints.
void timeDrawing(benchmark::State& state, const std::function<void(int32_t)>& draw) {
    int32_t colour = 0;
    for (auto _ : state) {
        draw(colour);
        colour ^= 0xFFFF;
        benchmark::ClobberMemory();
    }
}

void BM_LineTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { strokeLine(display, 20, 30, 70, 55, c); });
}
void BM_LineHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { strokeLine(display, -kFar, 3, kFar, 90, c); });
}
void BM_OutlineRectTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { outlineRect(display, 30, 40, 60, 40, c); });
}
void BM_OutlineRectHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { outlineRect(display, -kFar, 20, INT32_MAX, 80, c); });
}
void BM_TriangleTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidTriangle(display, 64, 64, 100, 30, 90, 95, c); });
}
void BM_TriangleHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) {
        solidTriangle(display, -1000000000, -1000000000, 1000000000, 1000000000, -1000000000,
                      1000000000, c);
    });
}
void BM_QuadTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidQuad(display, 10, 90, 70, 90, 70, 30, 10, 30, c); });
}
void BM_QuadHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) {
        solidQuad(display, -kFar, kFar, kFar, kFar, kFar, -kFar, -kFar, -kFar, c);
    });
}
void BM_DiscTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidCircle(display, 64, 64, 30, c); });
}
void BM_DiscHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidCircle(display, 0, 0, kFar, c); });
}
void BM_RingTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { ringCircle(display, 64, 64, 40, c); });
}
void BM_RingHuge(benchmark::State& s) {
    // The ring's left edge runs through the surface.
    timeDrawing(s, [](int32_t c) { ringCircle(display, 64 + kFar, 64, kFar, c); });
}
void BM_RoundBoxTypical(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidRoundBox(display, 20, 40, 60, 40, 10, c); });
}
void BM_RoundBoxHuge(benchmark::State& s) {
    timeDrawing(s, [](int32_t c) { solidRoundBox(display, -kFar, 10, INT32_MAX, 100, kFar, c); });
}

BENCHMARK(BM_LineTypical);
BENCHMARK(BM_LineHuge);
BENCHMARK(BM_OutlineRectTypical);
BENCHMARK(BM_OutlineRectHuge);
BENCHMARK(BM_TriangleTypical);
BENCHMARK(BM_TriangleHuge);
BENCHMARK(BM_QuadTypical);
BENCHMARK(BM_QuadHuge);
BENCHMARK(BM_DiscTypical);
BENCHMARK(BM_DiscHuge);
BENCHMARK(BM_RingTypical);
BENCHMARK(BM_RingHuge);
BENCHMARK(BM_RoundBoxTypical);
BENCHMARK(BM_RoundBoxHuge);

// Ten digits with a background, as a counter prints them, at the scale given.
void BM_PrintText(benchmark::State& s) {
    const auto scale = static_cast<int32_t>(s.range(0));
    timeDrawing(s, [scale](int32_t c) {
        setTextScale(display, scale);
        setTextColors(display, c, c ^ 0xFFFF);
        moveCursor(display, 0, 40);
        printText(display, "0123456789");
    });
}
BENCHMARK(BM_PrintText)->Arg(1)->Arg(2)->Arg(3);

} // namespace
