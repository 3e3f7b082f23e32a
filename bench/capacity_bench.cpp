// The first analysis pass (grid rebuilt, FHWA, USACE and Revised Lambda computed, post-processed and
// printed) on a 500-segment profile.
#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/bench_support.hpp"
#include "capacity/driver.hpp"
#include "engine/run.hpp"
#include "input/input_reader.hpp"
#include "model/grid.hpp"

namespace pileaxial {
namespace {

void BM_FirstPass(benchmark::State& state) {
    std::ostringstream report, plot, console;
    RunEnvironment env;
    env.console = &console;
    Run run(env);
    // The case selects the three onshore methods, so every table is printed.
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
    for (auto _ : state) {
        report.str("");
        plot.str("");
        RunCapacityPass(run, 1);
        benchmark::DoNotOptimize(run.capacity().method[kLambda].SavedSkin[run.capacity().pileNodeCount]);
    }
    if (run.pile.segmentCount != 500) state.SkipWithError("expected 500 segments");
}
BENCHMARK(BM_FirstPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pileaxial
