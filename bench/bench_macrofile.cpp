// The text of a macro exchange file (MacroXmlText: the document built element by element and
// attribute by attribute) for macros of 110 to 880 steps, the keyboard's whole macro memory.
// Building is linear when each step costs the same however many came before it: the
// per_step counter (time per step) stays flat from 110 to 880 steps, and the fitted complexity
// reads N.
#include <benchmark/benchmark.h>

#include <vector>

#include "macros/MacroXml.h"

namespace {

std::vector<MacroStepRecord> Steps(int count)
{
    std::vector<MacroStepRecord> steps(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        MacroStepRecord& step = steps[static_cast<size_t>(i)];
        step.type = i % 2 == 0 ? 2 : 3;  // key down, key up
        step.value = 'A' + i % 26;
        step.desc = L"A";
        step.record_index = i;
        step.delay_time = 10 + i % 50;
    }
    return steps;
}

void MacroFileText(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    MacroRecord header;
    header.name = L"bench";
    header.play_times = 1;
    const std::vector<MacroStepRecord> steps = Steps(count);
    size_t length = 0;
    for (auto _ : state) {
        const std::wstring text = MacroXmlText(header, steps);
        length = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(count);
    state.counters["characters"] = static_cast<double>(length);
    state.counters["per_step"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * count,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(MacroFileText)
    ->Arg(110)
    ->Arg(220)
    ->Arg(440)
    ->Arg(880)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
