#!/usr/bin/env bash
# Checks every tracked text file: no blank or tab at a line's end, no tab at all, and LF
# line ends only. Calendar files (*.ics and the fuzz corpus) are test data whose blanks
# and tabs are content; of them, only the files kept on purpose with CR LF may hold a CR.
# Prints each offending line and fails; run from anywhere inside the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."

crlf_data=(
  examples/Spielplan_2025-2026_Herren3.ics
  examples/andere-seiten/Fussball_2025-2026_Herren1.ics
  examples/andere-seiten/Handball_2026-2027_Frauen3.ics
  examples/andere-seiten/Handball_2026-2027_mC1.ics
  examples/mehrere-sportarten/Handball_2025-2026_Herren1.ics
  examples/mehrere-sportarten/Handball_2025-2026_Herren2.ics
  examples/mehrere-sportarten/Handball_2025-2026_mA1.ics
  examples/mehrere-sportarten/Handball_2025-2026_mC1.ics
  examples/mehrere-sportarten/Tischtennis_2025-2026_Herren2.ics
  tests/e2e/golden/Termarium_2025-2026.ics
  fuzz/corpus/calendar_file/season_crlf.ics
  fuzz/corpus/calendar_file/size_1048575_after_crlf.ics
)

is_calendar_data() {
  case "$1" in
    *.ics | fuzz/corpus/*) return 0 ;;
    *) return 1 ;;
  esac
}

is_crlf_data() {
  local kept
  for kept in "${crlf_data[@]}"; do
    [ "$1" = "$kept" ] && return 0
  done
  return 1
}

status=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  grep -qI . "$file" || continue  # binary or empty
  if ! is_crlf_data "$file" && grep -nP '\r' "$file" | head -3 | sed "s|^|$file: CR: |" | grep .; then
    status=1
  fi
  if is_calendar_data "$file"; then continue; fi
  if grep -nP '[ \t]\r?$' "$file" | head -3 | sed "s|^|$file: trailing blank: |" | grep .; then
    status=1
  fi
  if grep -nP '\t' "$file" | head -3 | sed "s|^|$file: tab: |" | grep .; then
    status=1
  fi
done < <(git ls-files -z)

if [ "$status" -ne 0 ]; then
  echo "text files: fix the lines above (see .editorconfig)" >&2
  exit 1
fi
echo "text files: clean"
