#!/usr/bin/env bash
# Tests of the release, as CI runs them after the other suites:
#  1. the release is built twice, from the same commit, in two fresh clones in two
#     folders, and both the zip and the .deb come out byte for byte the same;
#  2. the zip, unpacked into a fresh folder, holds a termarium.exe that carries its icon
#     and its version, and that writes under Wine, on the sample calendars the zip holds,
#     the same two schedules as the Linux program (CR LF aside);
#  3. the .deb passes lintian without an error, installs with dpkg -i, and the program
#     started by the launcher's Exec line writes the same schedules as well.
# Needs what .ci/run installs (the release's tools, wine, icoutils, lintian) and root
# for dpkg -i. TERMARIUM_RELEASE_REPO names the repository to clone (default: this one).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
repository=${TERMARIUM_RELEASE_REPO:-$source_dir}
work=$(mktemp -d "${TMPDIR:-/tmp}/termarium-release.XXXXXX")
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "${TERMARIUM_RELEASE_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...: runs the command, reports and counts the outcome
    local what=$1
    shift
    if "$@"; then echo "ok     $what"; else echo "FAILED $what"; failures=$((failures + 1)); fi
}

for tool in git cmake python3 wine wineboot wineserver wrestool lintian dpkg desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "release tests: $tool is missing (see .ci/run)" >&2; exit 1; }
done

# --- 1. Two builds from the same commit --------------------------------------------------
commit=$(git -C "$repository" rev-parse HEAD)
for side in first second; do
    git clone -q "$repository" "$work/$side"
    git -C "$work/$side" checkout -q "$commit"
    echo "== release build in $work/$side"
    if ! (cd "$work/$side" && cmake --workflow --preset release >"$work/$side.log" 2>&1); then
        tail -n 60 "$work/$side.log"
        echo "FAILED the release build in $work/$side"
        exit 1
    fi
done
dist=$work/first/build-release/dist
version=$(sed -n 's/^project(termarium VERSION \([0-9.]*\) .*/\1/p' "$work/first/CMakeLists.txt")
zip=$dist/Termarium-$version-win64.zip
deb=$dist/termarium_${version}_amd64.deb
check "the release holds $(basename "$zip") and $(basename "$deb")" test -f "$zip" -a -f "$deb"
same_release_file() {  # same_release_file FILE: the second build's file is the same; else says where not
    local other=$work/second/build-release/dist/$(basename "$1")
    cmp -s "$1" "$other" && return 0
    mkdir -p "$work/differs/a" "$work/differs/b"
    case "$1" in
        *.zip) python3 -m zipfile -e "$1" "$work/differs/a"; python3 -m zipfile -e "$other" "$work/differs/b" ;;
        *.deb) dpkg-deb -R "$1" "$work/differs/a/$(basename "$1")"; dpkg-deb -R "$other" "$work/differs/b/$(basename "$1")" ;;
    esac
    diff -rq "$work/differs/a" "$work/differs/b" | sed 's/^/   /' || true
    return 1
}
for file in "$zip" "$deb"; do
    check "$(basename "$file") is byte for byte the same from both builds" same_release_file "$file"
done

# The Linux program's schedules of the sample calendars, in the order a volunteer drops them.
samples=(Spielplan_2025-2026_Herren1.ics Spielplan_2025-2026_Herren2.ics Spielplan_2025-2026_Herren3.ics
         Spielplan_2025-2026_U19-1.ics Spielplan_2025-2026_U19-2.ics Spielplan_2025-2026_U15-1.ics)
mkdir "$work/linux"
cp "$work/first/examples/"*.ics "$work/linux/"
(cd "$work/linux" && "$work/first/build-release/src/termarium" "${samples[@]}" </dev/null >/dev/null)

# same_schedules FOLDER: its schedules, CR LF read as LF, are the Linux program's, and so
# is its club calendar byte for byte, CR LF and all, the time stamps of the runs aside.
same_schedules() {
    local name
    for name in Termarium_2025-2026.xml Termarium_2025-2026.html Termarium_2025-2026.ics; do
        python3 - "$1/$name" "$work/linux/$name" <<'EOF' || return 1
import re
import sys
produced, linux = (open(path, "rb").read() for path in sys.argv[1:3])
if sys.argv[1].endswith(".ics"):
    # The run's time: its stamps, and its German time in the calendar's description.
    stamp = re.compile(rb"\r\nDTSTAMP:\d{8}T\d{6}Z\r\n")
    produced, linux = (stamp.sub(b"\r\nDTSTAMP:\r\n", text) for text in (produced, linux))
    produced, linux = (re.sub(rb"Stand: [^\r\n]*", b"Stand:", text) for text in (produced, linux))
else:
    produced = produced.replace(b"\r\n", b"\n")
sys.exit(0 if produced == linux else 1)
EOF
    done
}

# --- 2. The Windows bundle ---------------------------------------------------------------
mkdir "$work/unpacked"
python3 -m zipfile -e "$zip" "$work/unpacked"
bundle=$work/unpacked/Termarium-$version
exe=$bundle/termarium.exe
for entry in termarium.exe termarium.html Anleitung.html termarium-tabelle.css "${samples[@]/#/Beispiele/}"; do
    check "the bundle holds $entry" test -s "$bundle/$entry"
done
resources=$(wrestool -l "$exe")
check "termarium.exe carries an icon" grep -q -- '--type=14 ' <<<"$resources"
check "termarium.exe carries version information" grep -q -- '--type=16 ' <<<"$resources"
version_info=$(wrestool -x --raw --type=16 "$exe" | python3 -c 'import sys; print(sys.stdin.buffer.read().decode("utf-16-le", "replace"))')
check "its version information names Termarium $version" \
    python3 -c 'import sys; t = sys.stdin.read(); sys.exit(0 if "Termarium" in t and sys.argv[1] in t else 1)' \
    "$version" <<<"$version_info"

wineboot --init >/dev/null 2>&1
mkdir "$work/windows"
cp "$bundle/Beispiele/"*.ics "$work/windows/"
windows_paths=()
for sample in "${samples[@]}"; do windows_paths+=("Z:${work//\//\\}\\windows\\$sample"); done
console=$(cd "$work/windows" && LC_ALL=C.UTF-8 wine "$exe" "${windows_paths[@]}" </dev/null | tr -d '\r')
check "termarium.exe from the bundle completes its run under Wine" grep -q "^=== Termarium $version:" <<<"$console"
check "termarium.exe writes the Linux program's schedules (CR LF aside)" same_schedules "$work/windows"

# --- 3. The Debian package ---------------------------------------------------------------
check "lintian finds no error in $(basename "$deb")" lintian --fail-on error "$deb"
check "dpkg -i installs $(basename "$deb")" dpkg -i "$deb"
launcher=/usr/share/applications/termarium.desktop
check "the launcher is valid" desktop-file-validate "$launcher"
exec_line=$(sed -n 's/^Exec=//p' "$launcher")
mkdir "$work/menu"
cp "$work/first/examples/"*.ics "$work/menu/"
# The menu hands the dropped files over in place of %F.
read -r -a command <<<"${exec_line/\%F/}"
(cd "$work/menu" && "${command[@]}" "${samples[@]}" </dev/null >/dev/null) || true
check "the launcher's command ($exec_line) writes the Linux program's schedules" same_schedules "$work/menu"
check "the guide and the stylesheet are installed" \
    test -s /usr/share/doc/termarium/Anleitung.html -a -s /usr/share/doc/termarium/termarium-tabelle.css
check "the icon is installed" test -s /usr/share/icons/hicolor/scalable/apps/termarium.svg
dpkg -r termarium >/dev/null

if [ "$failures" -ne 0 ]; then
    echo "release tests: $failures check(s) failed"
    exit 1
fi
echo "release tests: all passed"
