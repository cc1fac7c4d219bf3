#!/usr/bin/env bash
# Static analysis of the program's sources under src/: clang-tidy with the checks that
# .clang-tidy lists, then cppcheck. Fails on any finding. Needs clang-tidy (Debian's 14)
# and cppcheck; its build folder is configured only for the compile commands.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERMARIUM_ANALYSIS_BUILD:-build-analysis}

cmake -S . -B "$build" -DBUILD_TESTING=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

echo "== clang-tidy over src/ =="
# run-clang-tidy exits non-zero when any file has a finding (.clang-tidy makes every
# warning an error).
run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$PWD/src/"

echo "== cppcheck over src/ =="
# No suppressions: src/ is clean. A justified one goes inline, next to its line, as
# "// cppcheck-suppress <id>" with the reason beside it.
cppcheck --std=c++20 --language=c++ -I src \
  --enable=warning,style,performance,portability \
  --inline-suppr --error-exitcode=1 --quiet -j "$(nproc)" src/
echo "static analysis: no findings"
