// German time of a match start that a calendar gives in UTC: UTC+2 from the last Sunday
// of March at 01:00 UTC up to the last Sunday of October at 01:00 UTC, UTC+1 otherwise.
#pragma once

#include "core/run_state.h"

// Reads the row's date and time texts as UTC and writes them back as German time; the
// date moves with the hours, and the weekday is computed anew. A row whose texts are no
// real date or time is left as it is (false).
bool utc_to_german_time(MatchRecord& row);
