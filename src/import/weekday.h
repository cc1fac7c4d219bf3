// Day of the week of a match row, from the row's date texts, with Gauss's formula for
// the Gregorian calendar; written as the German two-letter abbreviation.
#pragma once

#include "core/run_state.h"

// Sets day_number, month_number, year_number and weekday from the row's day, month and year.
void compute_weekday(MatchRecord& record);
