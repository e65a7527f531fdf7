// The language service on a 1,000-line configuration file held in memory: all its
// diagnostics (budget 20 ms), one hover and one completion (budget 1 ms each), and its
// objects for the design tools (budget 5 ms in the browser).
#include <benchmark/benchmark.h>

#include <string>

#include "language/overlay_folder.h"
#include "language/service.h"

namespace orvanta {
namespace {

// A file of every kind of line, mistakes included, repeated to 1,000 lines.
std::string thousandLines() {
    const char* kinds[] = {
        "Tacho;10;20;30;60;0",
        "SetColor;2016",
        "SetBGColor;0xF800",
        "LED;100;10;12;5",
        "Kompass;64;64;90;2",
        "tacho;1;2;3;4;5",
        "RoundPointer;64;64;50;0;270",
        "ToggleText;0;120;ALTITUDE 1200 FT;1;3",
        "DigitCounter;80;0;4;2;1",
        "image;panel.bmp",
        "Radar;64;64;100",
        "GyroHorizonRect;0;0;128;64;0",
        "LED;9;9;9;0;extra",
        "LoadConfig;next.txt;30",
    };
    std::string text;
    for (int i = 0; i < 1000; ++i) text += std::string(kinds[i % std::size(kinds)]) + "\r\n";
    return text;
}

struct Fixture {
    Fixture() {
        folder.put("panel.bmp", std::string(54, '\0'));
        folder.put("next.txt", "LoadConfig;config.txt;5\n");
        workspace.setText("config.txt", thousandLines());
    }
    language::OverlayFolder folder;
    language::Workspace workspace{folder};
};

void BM_DiagnosticsOfAThousandLines(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.workspace.diagnostics("config.txt"));
}
BENCHMARK(BM_DiagnosticsOfAThousandLines)->Unit(benchmark::kMillisecond);

void BM_HoverOnAColourInAThousandLines(benchmark::State& state) {
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.workspace.hover("config.txt", {505, 10})); // SetColor;2016
}
BENCHMARK(BM_HoverOnAColourInAThousandLines)->Unit(benchmark::kMicrosecond);

void BM_CompletionOfAKeywordInAThousandLines(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.workspace.completions("config.txt", {500, 2}));
}
BENCHMARK(BM_CompletionOfAKeywordInAThousandLines)->Unit(benchmark::kMicrosecond);

void BM_ObjectsOfAThousandLines(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.workspace.objects("config.txt"));
}
BENCHMARK(BM_ObjectsOfAThousandLines)->Unit(benchmark::kMillisecond);

// A removal reads the file, plans the edit and reads the result again to see whether any
// colour line changes its object.
void BM_RemoveAnObjectFromAThousandLines(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.workspace.remove("config.txt", {500}));
}
BENCHMARK(BM_RemoveAnObjectFromAThousandLines)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvanta
