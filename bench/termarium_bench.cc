// Benchmarks of the largest runs: the import of 40 calendars, the plan of the match days and
// each writer of the driver's outputs over a full 499-row table and over the large
// workload's 4,840 rows (argument 1), and the whole run_schedule with its four outputs in a
// temporary folder, at both sizes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/bounded_text.h"
#include "driver/driver.h"
#include "driver/outputs.h"
#include "import/calendar_reader.h"
#include "output/match_plan.h"
#include "platform/streams.h"
#include "workload.h"

namespace {

RunState g_state;

struct Workload {
    std::string folder;
    std::vector<std::string> paths;
    long long input_bytes = 0;
};

Workload make_workload(WorkloadStyle style, WorkloadSize size = WorkloadSize::full_table) {
    Workload made;
    char pattern[] = "/tmp/termarium-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    made.folder = pattern;
    made.paths = write_workload(made.folder, style, size);
    if (made.paths.empty()) std::abort();
    for (int i = 0; i < static_cast<int>(made.paths.size()); ++i) {
        made.input_bytes += static_cast<long long>(workload_calendar(i, style, size).size());
    }
    return made;
}

// The workload in the league site's layout, or in another site's; the large one in the
// league site's.
const Workload& workload(WorkloadStyle style = WorkloadStyle::league_site, WorkloadSize size = WorkloadSize::full_table) {
    static Workload league_site = make_workload(WorkloadStyle::league_site);
    static Workload other_site = make_workload(WorkloadStyle::other_site);
    static Workload large = make_workload(WorkloadStyle::league_site, WorkloadSize::large);
    if (size == WorkloadSize::large) return large;
    return style == WorkloadStyle::league_site ? league_site : other_site;
}

// The size a benchmark's argument names: 0 the full table, 1 the large workload.
WorkloadSize size_of(const benchmark::State& bench) {
    return bench.range(0) == 0 ? WorkloadSize::full_table : WorkloadSize::large;
}

// Opens every workload file and imports it as the driver does; aborts on any failure.
void import_workload(RunState& state, WorkloadStyle style = WorkloadStyle::league_site,
                     WorkloadSize size = WorkloadSize::full_table) {
    const Workload& w = workload(style, size);
    reset_run_state(state);
    for (size_t i = 0; i < w.paths.size(); ++i) {
        state.input_files[i] = open_input(w.paths[i].c_str());
        if (state.input_files[i] == nullptr) std::abort();
    }
    ReadResult results[k_max_arguments] = {};
    if (import_calendar_files(state, static_cast<int>(w.paths.size()), results) != 0) std::abort();
    close_all_streams(state);
}

void BM_ImportFortyFiles(benchmark::State& bench) {
    for (auto _ : bench) {
        import_workload(g_state, WorkloadStyle::league_site, size_of(bench));
        benchmark::DoNotOptimize(g_state.current_row);
    }
    bench.SetBytesProcessed(bench.iterations() * workload(WorkloadStyle::league_site, size_of(bench)).input_bytes);
}
BENCHMARK(BM_ImportFortyFiles)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same matches in another league site's calendars, each event read by property name.
void BM_ImportFortyFilesOtherSite(benchmark::State& bench) {
    for (auto _ : bench) {
        import_workload(g_state, WorkloadStyle::other_site);
        benchmark::DoNotOptimize(g_state.current_row);
    }
    bench.SetBytesProcessed(bench.iterations() * workload(WorkloadStyle::other_site).input_bytes);
}
BENCHMARK(BM_ImportFortyFilesOtherSite)->Unit(benchmark::kMicrosecond);

MatchPlan g_plan;

// The full table (459 matches) or the large workload (4,800), imported, stamped and its
// match days planned.
void prepare_full_table(benchmark::State& bench) {
    import_workload(g_state, WorkloadStyle::league_site, size_of(bench));
    copy_text(g_state.run_stamp, sizeof g_state.run_stamp, "20251201T120000Z");
    if (g_state.files_read != 40) bench.SkipWithError("workload not read whole");
    plan_match_days(g_state, g_plan);
}

// The matches sorted, by week and by hall, with the collisions of their halls.
void BM_PlanMatchDays(benchmark::State& bench) {
    prepare_full_table(bench);
    for (auto _ : bench) {
        plan_match_days(g_state, g_plan);
        benchmark::DoNotOptimize(g_plan.collision_count);
    }
    bench.SetItemsProcessed(bench.iterations() * g_plan.count);
}
BENCHMARK(BM_PlanMatchDays)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Writes one output of the full table or of the large workload to /dev/null again and again; the size written once
// to a scratch file gives the bytes-per-second figure. Registered for each of the driver's outputs.
void bench_writer(benchmark::State& bench, const Output& output) {
    prepare_full_table(bench);
    FILE* scratch = std::tmpfile();
    if (scratch == nullptr || !output.write(g_state, g_plan, scratch)) std::abort();
    const long long size = std::ftell(scratch);
    std::fclose(scratch);
    for (auto _ : bench) {
        FILE* f = std::fopen("/dev/null", "wb");
        output.write(g_state, g_plan, f);
        std::fclose(f);
    }
    bench.SetBytesProcessed(bench.iterations() * size);
}

void BM_WholeRun(benchmark::State& bench) {
    const Workload& w = workload(WorkloadStyle::league_site, size_of(bench));
    std::vector<char*> argv;
    static char program[] = "termarium";
    argv.push_back(program);
    for (const std::string& p : w.paths) argv.push_back(const_cast<char*>(p.c_str()));
    for (auto _ : bench) {
        reset_run_state(g_state);
        if (run_schedule(g_state, static_cast<int>(argv.size()), argv.data()) != 0) {
            bench.SkipWithError("run failed");
            break;
        }
    }
    bench.SetBytesProcessed(bench.iterations() * w.input_bytes);
}
BENCHMARK(BM_WholeRun)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // The program prints progress and waits for Enter: feed it end of input, and keep
    // its console lines out of the benchmark report (which goes to standard error).
    if (std::freopen("/dev/null", "r", stdin) == nullptr) return 1;
    for (const Output& output : k_outputs) {
        const std::string name = std::string("BM_WriteFullTable/Termarium") + output.extension;
        benchmark::RegisterBenchmark(name.c_str(), [&output](benchmark::State& bench) { bench_writer(bench, output); })
            ->Arg(0)
            ->Arg(1)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::fflush(stdout);
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::string command = "rm -rf '" + workload().folder + "' '" + workload(WorkloadStyle::other_site).folder + "' '" +
                          workload(WorkloadStyle::league_site, WorkloadSize::large).folder + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
