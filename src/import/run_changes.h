// What changed since the last run: this run's matches against the earlier club calendar's,
// the same match known by its source UID, else by its home and away team and league.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "import/earlier_calendar.h"

// Reads the earlier club calendar from the stream and compares the match table with it at
// the run's time utc_stamp ("YYYYMMDDTHHMMSSZ"): fills state.earlier with the changes
// (new, moved, called off) in date order, the earlier teams no file of this run holds and
// the earlier matches a change or the table needs; a match row keeps its earlier identity
// and a SEQUENCE one above the earlier one where it changed; a called-off earlier match
// (marked so before, or gone from its team's files before its date) is carried into the
// table as a called-off row of its team. Unreadable leaves the table as it was.
EarlierRead compare_with_earlier(RunState& state, FILE* stream, const char* utc_stamp);
