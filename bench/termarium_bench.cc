// Benchmarks of the largest runs: the import of 40 calendars, each writer over a full
// 499-row table and over the large workload's 4,840 rows (argument 1), and the whole
// run_schedule with its four outputs in a temporary folder, at both sizes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/bounded_text.h"
#include "driver/driver.h"
#include "import/calendar_reader.h"
#include "output/club_calendar.h"
#include "output/html_writer.h"
#include "output/match_days.h"
#include "output/spreadsheet_writer.h"
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
    int failed_file = -1;
    if (import_calendar_files(state, static_cast<int>(w.paths.size()), failed_file) != ReadResult::ok) std::abort();
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

using Writer = bool (*)(RunState&, FILE*);

// Writes one output of the full table (459 matches) or of the large workload (4,800) to
// /dev/null again and again; the size written once to a scratch file gives the
// bytes-per-second figure.
void bench_writer(benchmark::State& bench, Writer write) {
    import_workload(g_state, WorkloadStyle::league_site, size_of(bench));
    copy_text(g_state.run_stamp, sizeof g_state.run_stamp, "20251201T120000Z");
    if (g_state.files_read != 40) bench.SkipWithError("workload not read whole");
    FILE* scratch = std::tmpfile();
    if (scratch == nullptr || !write(g_state, scratch)) std::abort();
    const long long size = std::ftell(scratch);
    std::fclose(scratch);
    for (auto _ : bench) {
        FILE* f = std::fopen("/dev/null", "wb");
        write(g_state, f);
        std::fclose(f);
    }
    bench.SetBytesProcessed(bench.iterations() * size);
}

void BM_WriteSpreadsheetFullTable(benchmark::State& bench) { bench_writer(bench, write_spreadsheet); }
BENCHMARK(BM_WriteSpreadsheetFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_WriteHtmlFullTable(benchmark::State& bench) { bench_writer(bench, write_html_table); }
BENCHMARK(BM_WriteHtmlFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Every match escaped and folded.
void BM_WriteClubCalendarFullTable(benchmark::State& bench) { bench_writer(bench, write_club_calendar); }
BENCHMARK(BM_WriteClubCalendarFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The matches sorted, by week and by hall, with the collisions of their halls.
void BM_WriteMatchDaysFullTable(benchmark::State& bench) { bench_writer(bench, write_match_days); }
BENCHMARK(BM_WriteMatchDaysFullTable)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
