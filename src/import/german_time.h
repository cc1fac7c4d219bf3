// German time of a match start that a calendar gives in UTC: UTC+2 from the last Sunday
// of March at 01:00 UTC up to the last Sunday of October at 01:00 UTC, UTC+1 otherwise.
#pragma once

#include "core/run_state.h"

// Reads the row's date and time texts as UTC and writes them back as German time; the
// date moves with the hours, and the weekday is computed anew. A row whose texts are no
// real date or time is left as it is (false).
bool utc_to_german_time(MatchRecord& row);

// The German time of a UTC stamp "YYYYMMDDTHHMMSSZ" as a match row's date, time and
// weekday; false when the stamp is no real time.
bool german_row_of_stamp(const char* utc_stamp, MatchRecord& row);

// The German time of a UTC stamp "YYYYMMDDTHHMMSSZ" as the outputs' "Stand:" shows it,
// "Di, 09.12.2025 07:45", into text; false (text empty) when the stamp is no real time.
bool german_time_of_stamp(const char* utc_stamp, char (&text)[k_run_time_size]);
