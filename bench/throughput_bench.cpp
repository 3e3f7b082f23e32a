// Many runs at once: whole runs of the twenty mixed cases in one process on 1, 2 and N threads (runs
// per second), and the cost of a whole process for one run against a process that does nothing.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/run.hpp"
#include "tests/mixed_cases.hpp"
#include "tests/test_support.hpp"

extern char** environ;

namespace pileaxial {
namespace {

// The mixed cases with their input files written once, a directory for each thread in one scratch
// directory.  With all threads in one directory of an ext4 file system, creating and renaming the
// files serialise on that directory's lock in the kernel: two threads there managed fewer runs per
// second than one, each run taking twice the processor time, while on tmpfs, or in a directory per
// thread, they do not interfere.  The engine shares nothing between runs; the directory is the
// caller's to choose.
class MixedRuns : public benchmark::Fixture {
public:
    void SetUp(benchmark::State& state) override {
        // The other threads wait at the start of the timed loop until this is done.
        if (state.thread_index() != 0) return;
        dir_ = std::make_unique<testing::TempDir>();
        cases_ = testing::MixedCases(PILEAXIAL_SOURCE_DIR);
        files_.clear();
        for (int t = 0; t < state.threads(); ++t) {
            const std::string threadDir = "thread" + std::to_string(t);
            std::filesystem::create_directory(dir_->path() / threadDir);
            for (const testing::MixedCase& c : cases_) {
                files_.push_back(testing::MixedCaseFiles(*dir_, c, threadDir + "/"));
            }
        }
        next_ = 0;
    }
    void TearDown(benchmark::State& state) override {
        if (state.thread_index() == 0) dir_.reset();
    }

protected:
    std::unique_ptr<testing::TempDir> dir_;
    std::vector<testing::MixedCase> cases_;
    std::vector<RunFileSet> files_;  // thread t, case k at t * cases + k
    std::atomic<std::size_t> next_{0};
};

// Each iteration is one whole run, a fresh Run object on the heap, of the next case of the set.
BENCHMARK_DEFINE_F(MixedRuns, WholeRuns)(benchmark::State& state) {
    std::ostringstream console, errors;
    RunEnvironment env;
    env.console = &console;
    env.errors = &errors;
    env.fixedTime = testing::fixedTime(2026, 3, 1, 0, 0, 0);
    for (auto _ : state) {
        const std::size_t k = next_.fetch_add(1, std::memory_order_relaxed) % cases_.size();
        console.str("");
        errors.str("");
        auto run = std::make_unique<pileaxial::Run>(env);
        const int status =
            run->execute(files_[static_cast<std::size_t>(state.thread_index()) * cases_.size() + k]);
        if (status != cases_[k].status) {
            state.SkipWithError(("case " + cases_[k].name + " ended with status " + std::to_string(status)).c_str());
            break;
        }
    }
    // Summed over the threads and divided by the wall-clock time: runs per second of the process.
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

void MixedRunThreads(benchmark::internal::Benchmark* b) {
    b->Threads(1)->Threads(2);
    const int n = static_cast<int>(std::thread::hardware_concurrency());
    if (n > 2) b->Threads(n);
}
BENCHMARK_REGISTER_F(MixedRuns, WholeRuns)->Apply(MixedRunThreads)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Starts `argv` with its output sent to /dev/null, waits for it, and returns the seconds it took, or a
// negative value when it could not be started or did not exit with `expectedStatus`.
double timeProcess(const std::vector<std::string>& args, int expectedStatus) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != expectedStatus) return -1;
    return took.count();
}

// One process that does nothing (/bin/true), the host printing its version, and the host running the
// English example with --quiet (report and plot-data file beside the input), in turn, so that a
// change of the machine's load reaches all three.  The counters give the mean wall-clock time of
// each and the ratio of a run to /bin/true.
void BM_WholeProcess_RunVersusTrue(benchmark::State& state) {
    testing::TempDir dir;
    const std::string input =
        dir.write("english-pipe.in", testing::readFile(std::string(PILEAXIAL_SOURCE_DIR) +
                                                       "/examples/english-pipe/english-pipe.in"));
    // PILEAXIAL_BENCH_HOST names another build of the host to compare with this one.
    const char* otherHost = std::getenv("PILEAXIAL_BENCH_HOST");
    const std::string host = otherHost != nullptr && *otherHost != '\0' ? otherHost : PILEAXIAL_HOST_PATH;
    double trueSeconds = 0, versionSeconds = 0, runSeconds = 0;
    for (auto _ : state) {
        const double t = timeProcess({"/bin/true"}, 0);
        const double v = timeProcess({host, "--version"}, 0);
        // Each run creates its report and plot-data file, as the first run in a directory does.
        // Putting a file in place over an earlier one costs more on some file systems (ext4 writes
        // the new file out first, so that a crash cannot leave it empty), and that is the disk's time.
        std::filesystem::remove(dir.file("english-pipe.out"));
        std::filesystem::remove(dir.file("english-pipe.plt"));
        const double r = timeProcess({host, input, "--quiet"}, 0);
        if (t < 0 || v < 0 || r < 0) {
            state.SkipWithError("a process could not be started or failed");
            break;
        }
        trueSeconds += t;
        versionSeconds += v;
        runSeconds += r;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["true_ms"] = 1e3 * trueSeconds / n;
    state.counters["version_ms"] = 1e3 * versionSeconds / n;
    state.counters["run_ms"] = 1e3 * runSeconds / n;
    state.counters["run/true"] = trueSeconds > 0 ? runSeconds / trueSeconds : 0;
}
BENCHMARK(BM_WholeProcess_RunVersusTrue)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pileaxial
