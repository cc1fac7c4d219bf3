#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, fatal
# UndefinedBehaviorSanitizer) and runs both at once, each for a bounded time (300 s by
# default, TERMARIUM_FUZZ_SECONDS to change it), starting from the seed corpus in the
# repository. Fails on any finding: a crash, a sanitizer report, a failed output check,
# a leak, a hang. The input of a finding is printed in base64, to become a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${TERMARIUM_FUZZ_SECONDS:-300}
build=${TERMARIUM_FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERMARIUM_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target calendar_file_fuzzer calendar_files_fuzzer >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Seeds: the hand-made calendars and the sample calendars.
seeds=(fuzz/corpus/calendar_file examples)

# run_target NAME MAX_LEN EXTRA_SEED_DIR...: new inputs go to a scratch folder, never
# into the repository.
run_target() {
  local name=$1 max_len=$2
  shift 2
  mkdir -p "$work/$name" "$work/artifacts"
  "$build/fuzz/$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -dict=fuzz/calendar.dict -print_final_stats=1 -artifact_prefix="$work/artifacts/$name-" \
    "$work/$name" "$@" "${seeds[@]}" >"$work/$name.log" 2>&1
}

run_target calendar_file_fuzzer 2097152 &
one=$!
run_target calendar_files_fuzzer 1048576 fuzz/corpus/calendar_files &
many=$!
status=0
wait "$one" || status=1
wait "$many" || status=1

for name in calendar_file_fuzzer calendar_files_fuzzer; do
  echo "== $name =="
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$work/$name.log" || true
done
if [ "$status" -ne 0 ]; then
  for name in calendar_file_fuzzer calendar_files_fuzzer; do tail -n 40 "$work/$name.log"; done
  for artifact in "$work"/artifacts/*; do
    [ -e "$artifact" ] || continue
    echo "== finding $(basename "$artifact") (base64) =="
    base64 "$artifact"
  done
  echo "fuzzing: FINDING"
  exit 1
fi
echo "fuzzing: no findings in ${seconds} s per target"
