// Reading, checking and echoing a case at the model's capacities, and building its grid.
#include <benchmark/benchmark.h>

#include <sstream>

#include "bench/bench_support.hpp"
#include "engine/run.hpp"
#include "input/echo.hpp"
#include "input/input_reader.hpp"
#include "model/grid.hpp"

namespace pileaxial {
namespace {

void BM_ReadEchoAndBuildGrid(benchmark::State& state) {
    const std::string input = bench::LargeCase(80);
    const std::string sounding = bench::LargeSounding(1000);
    std::ostringstream sink;
    for (auto _ : state) {
        sink.str("");
        RunEnvironment env;
        env.console = &sink;
        Run run(env);
        run.report.attach(&sink);
        std::istringstream in(input);
        ReadInputFile(run, in, "bench.in");
        SetUnitLabels(run);
        std::istringstream cpt(sounding);
        ReadCptFile(run, cpt, "bench.cpt");
        run.pile.batterAngle = run.pile.batterAngle * (kSinglePi / 180.0);
        run.pile.embeddedLength = run.pile.totalLength - run.pile.stickupLength;
        if (!CheckSoilExtent(run)) state.SkipWithError("soil profile too shallow");
        WriteInputEcho(run);
        run.pile.totalLength = run.pile.embeddedLength;
        SnapSoilPoints(run);
        run.pile.segmentCount = ComputeSegmentCount(run.pile);
        if (run.pile.segmentCount != 500) state.SkipWithError("expected 500 segments");
        BuildSegmentGrid(run);
        benchmark::DoNotOptimize(run.grid.segStressCapped[500]);
    }
}
BENCHMARK(BM_ReadEchoAndBuildGrid)->Unit(benchmark::kMicrosecond);

// The grid alone, as each analysis pass rebuilds it.
void BM_BuildGrid(benchmark::State& state) {
    std::ostringstream sink;
    RunEnvironment env;
    env.console = &sink;
    Run run(env);
    std::istringstream in(bench::LargeCase(80));
    ReadInputFile(run, in, "bench.in");
    run.pile.embeddedLength = run.pile.totalLength - run.pile.stickupLength;
    SnapSoilPoints(run);
    run.pile.segmentCount = ComputeSegmentCount(run.pile);
    for (auto _ : state) {
        BuildSegmentGrid(run);
        benchmark::DoNotOptimize(run.grid.segStressCapped[500]);
    }
}
BENCHMARK(BM_BuildGrid)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pileaxial



namespace pileaxial {
namespace {

// Creating the run object: the model and the result arrays, zeroed.
void BM_CreateRun(benchmark::State& state) {
    for (auto _ : state) {
        Run run;
        benchmark::DoNotOptimize(&run);
    }
}
BENCHMARK(BM_CreateRun)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pileaxial
