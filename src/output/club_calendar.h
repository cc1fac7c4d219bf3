// The club calendar: every match of every team of the club as one iCalendar file that
// members subscribe to on their phones or import.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/run_state.h"
#include "output/match_plan.h"

// Writes one event per match row (a match that stands in two files of the club once),
// in table order, stamped with state.run_stamp; false when the stream refused a write.
// The plan goes unused. The caller closes the stream.
bool write_club_calendar(RunState& state, const MatchPlan& plan, FILE* stream);

// Puts the run's time (seconds since 1970 UTC) as "YYYYMMDDTHHMMSSZ" into state.run_stamp.
void stamp_run_time(RunState& state, int64_t seconds_since_1970);
