// What changed since the last run: this run's matches against the earlier club calendar's,
// the same match known by its source UID, else by its home and away team and league.
#pragma once

#include "core/run_state.h"

// Compares the match table with state.earlier (read before) at the run's time utc_stamp
// ("YYYYMMDDTHHMMSSZ"): fills the changes (new, moved, called off) in date order and the
// earlier teams no file of this run holds; a match row keeps its earlier identity and a
// SEQUENCE one above the earlier one where it changed; a called-off earlier match (marked
// so before, or gone from its team's files before its date) is carried into the table as
// a called-off row of its team.
void compare_with_earlier(RunState& state, const char* utc_stamp);
