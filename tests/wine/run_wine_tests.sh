#!/usr/bin/env bash
# Tests the Windows program under Wine: cross-builds termarium.exe and the unit tests
# with MinGW-w64, checks that the program needs no DLL beyond Windows' own, runs the unit
# tests in a throw-away Wine prefix, then runs the native end-to-end suite against
# termarium.exe. Needs Debian's g++-mingw-w64-x86-64, wine and wine64; no display.
#
# Environment: TERMARIUM_WIN_BUILD (default build-win) and TERMARIUM_LINUX_BUILD (default
# build, configured here if missing) name the build folders; TERMARIUM_JOBS the parallel jobs.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
win_build=${TERMARIUM_WIN_BUILD:-$source_dir/build-win}
linux_build=${TERMARIUM_LINUX_BUILD:-$source_dir/build}
jobs=${TERMARIUM_JOBS:-$(nproc)}

for tool in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-objdump wine wineserver wineboot; do
    if ! command -v "$tool" >/dev/null; then
        echo "wine tests: $tool is missing (apt-get install g++-mingw-w64-x86-64 wine wine64)" >&2
        exit 1
    fi
done

echo "== Windows build in $win_build"
cmake -S "$source_dir" --preset windows -B "$win_build"
cmake --build "$win_build" -j "$jobs"
program="$win_build/src/termarium.exe"

# A plain Windows machine has these; anything else would have to ship beside the program.
echo "== DLLs termarium.exe imports"
x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | while read -r dll; do
    echo "   $dll"
    case "${dll,,}" in
        kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-*.dll | user32.dll | shell32.dll | advapi32.dll) ;;
        *) echo "wine tests: termarium.exe needs $dll, which Windows does not ship" >&2; exit 1 ;;
    esac
done

# A prefix of its own, removed afterwards; one persistent wineserver for all the runs,
# since starting it anew for each test program costs seconds.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/termarium-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Wine turns the command line into UTF-16 through the locale's character set.
export LC_ALL=C.UTF-8
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

echo "== Wine prefix in $WINEPREFIX"
wineserver --persistent </dev/null >/dev/null 2>&1
boot_log=$(mktemp)
if ! wineboot --init >"$boot_log" 2>&1; then
    cat "$boot_log" >&2
    rm -f "$boot_log"
    exit 1
fi
rm -f "$boot_log"

# Both suites run even when the first fails, so that one run shows every failure.
status=0
echo "== Unit tests under Wine"
# Now and then a test program under Wine ends before it printed anything, when several
# start at once; such a run is tried once more. A test that fails for real fails twice.
ctest --test-dir "$win_build" -j "$jobs" --output-on-failure --no-tests=error --repeat until-pass:2 || status=1

echo "== End-to-end tests against termarium.exe"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    cmake -S "$source_dir" --preset default -B "$linux_build"
fi
cmake --build "$linux_build" --target termarium_e2e_tests -j "$jobs"
# The harness hands the program Windows paths (Z:\... with backslashes), as a drop would.
TERMARIUM_PROGRAM="$program" TERMARIUM_LAUNCHER=wine TERMARIUM_EXPECT_CRLF=1 TERMARIUM_PATH_STYLE=windows \
    TERMARIUM_HOLD_OPEN="$win_build/tests/wine/termarium_hold_open.exe" \
    ctest --test-dir "$linux_build/tests/e2e" -j "$jobs" --output-on-failure --no-tests=error || status=1
exit "$status"
