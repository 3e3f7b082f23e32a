// The capacity analysis on a 500-segment profile: the first pass alone (grid rebuilt, FHWA, USACE and
// Revised Lambda computed, post-processed and printed), and the whole analysis of a run (both passes,
// every method built, the load-settlement analysis with its report and plot records).
#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/bench_support.hpp"
#include "capacity/driver.hpp"
#include "engine/run.hpp"
#include "input/input_reader.hpp"
#include "model/grid.hpp"

namespace pileaxial {
namespace {

// A run environment whose console goes to `console`.
RunEnvironment ConsoleTo(std::ostream& console) {
    RunEnvironment env;
    env.console = &console;
    return env;
}

// A run read from the large case and made ready for the capacity analysis, writing into strings.
void PrepareLargeRun(Run& run, std::ostringstream& report, std::ostringstream& plot) {
    std::istringstream in(bench::LargeCase(80));
    ReadInputFile(run, in, "bench.in");
    SetUnitLabels(run);
    run.pile.embeddedLength = run.pile.totalLength - run.pile.stickupLength;
    ComputeSectionArea(run.pile);
    run.pile.totalLength = run.pile.embeddedLength;
    SnapSoilPoints(run);
    run.pile.segmentCount = ComputeSegmentCount(run.pile);
    run.report.attach(&report);
    run.plot.attach(&plot);
}

void BM_FirstPass(benchmark::State& state) {
    std::ostringstream report, plot, console;
    Run run(ConsoleTo(console));
    // The case selects the three onshore methods, so every table is printed.
    PrepareLargeRun(run, report, plot);
    for (auto _ : state) {
        report.str("");
        plot.str("");
        RunCapacityPass(run, 1);
        benchmark::DoNotOptimize(run.capacity().method[kLambda].SavedSkin[run.capacity().pileNodeCount]);
    }
    if (run.pile.segmentCount != 500) state.SkipWithError("expected 500 segments");
}
BENCHMARK(BM_FirstPass)->Unit(benchmark::kMicrosecond);

// The target: a whole analysis of a 500-segment case, load-settlement included, in under a millisecond.
// The print interval of 5 gives 91 printed lengths, so 91 t-z curves and increments for 13 tip movements.
void BM_FullAnalysis_500Segments(benchmark::State& state) {
    std::ostringstream report, plot, console;
    Run run(ConsoleTo(console));
    PrepareLargeRun(run, report, plot);
    for (auto _ : state) {
        report.str("");
        plot.str("");
        RunCapacityAnalysis(run);
        benchmark::DoNotOptimize(run.loadSettlement().points[1].topLoad);
    }
    if (run.pile.segmentCount != 500) state.SkipWithError("expected 500 segments");
    if (!run.loadSettlement().computed) state.SkipWithError("no load-settlement curve");
}
BENCHMARK(BM_FullAnalysis_500Segments)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pileaxial
