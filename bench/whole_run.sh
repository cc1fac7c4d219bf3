#!/usr/bin/env bash
# Times the built program on a 40-file workload against merely reading the same files
# (cat to /dev/null) and against the durable floor (reading them and writing outputs of
# the run's sizes through temporary files flushed to the disk, termarium_durable_floor),
# alternating the three over many runs, and prints the medians and ratios; then the peak
# resident memory of that run and of the bare usage text. The runs after the first are
# second weeks' runs: each compares with the club calendar the run before it left.
# Usage: bench/whole_run.sh [BUILD_DIR] [RUNS] [andere] [gross]   (BUILD_DIR configured
# with -DTERMARIUM_BENCHMARKS=ON; "andere": the workload in another league site's style;
# "gross": the large workload, 120 matches a file, 4,840 table rows, instead of 499 rows)
set -euo pipefail
build=${1:-build-bench}
runs=${2:-200}
shape=("${@:3}")
program=$build/src/termarium
maker=$build/bench/termarium_make_workload
floor=$build/bench/termarium_durable_floor
[ -x "$program" ] && [ -x "$maker" ] && [ -x "$floor" ] ||
  { echo "build $build first (termarium, termarium_make_workload, termarium_durable_floor)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t files < <("$maker" "$work" "${shape[@]}")
# One run first: the floor writes outputs of its sizes under the same names.
"$program" "${files[@]}" </dev/null >/dev/null
mapfile -t outputs < <(ls "$(dirname "${files[0]}")"/Termarium_*)
[ "${#outputs[@]}" -eq 4 ] || { echo "expected the run's four outputs, found: ${outputs[*]}" >&2; exit 1; }
sized=()
for output in "${outputs[@]}"; do sized+=("$output=$(stat -c %s "$output")"); done
# Every timed run is a second week's run: it reads the club calendar the run before left,
# so cat and the floor read it too.
earlier=("$(dirname "${files[0]}")"/Termarium_*.ics)

now_ns() { date +%s%N; }
program_times=()
cat_times=()
floor_times=()
for ((i = 0; i < runs; i++)); do
  t0=$(now_ns); "$program" "${files[@]}" </dev/null >/dev/null; t1=$(now_ns)
  cat "${files[@]}" "${earlier[@]}" >/dev/null; t2=$(now_ns)
  "$floor" "${sized[@]}" -- "${files[@]}" "${earlier[@]}"; t3=$(now_ns)
  program_times+=($((t1 - t0)))
  cat_times+=($((t2 - t1)))
  floor_times+=($((t3 - t2)))
done

median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
pm=$(median "${program_times[@]}")
cm=$(median "${cat_times[@]}")
fm=$(median "${floor_times[@]}")
awk -v p="$pm" -v c="$cm" -v f="$fm" -v n="$runs" 'BEGIN {
  printf "runs: %d each, alternating\n", n
  printf "termarium median:     %.3f ms\n", p / 1e6
  printf "cat median:           %.3f ms\n", c / 1e6
  printf "durable floor median: %.3f ms\n", f / 1e6
  printf "ratio to cat:         %.2f (reading alone, no target: the outputs are what costs)\n", p / c
  printf "ratio to the floor:   %.2f (target at most 1.3)\n", p / f }'

# The usage text ends with exit status 1, as it should; only the memory figure counts here.
peak_run=$( { /usr/bin/time -f '%M' "$program" "${files[@]}" </dev/null >/dev/null || true; } 2>&1 | tail -n 1)
peak_usage=$( { /usr/bin/time -f '%M' "$program" </dev/null >/dev/null || true; } 2>&1 | tail -n 1)
echo "peak resident, 40-file run: ${peak_run} KiB"
echo "peak resident, usage only:  ${peak_usage} KiB"
echo "difference:                 $((peak_run - peak_usage)) KiB (target at most 1024 for the 499-row workload)"
