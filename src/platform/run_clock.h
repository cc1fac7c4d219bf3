// The run's time: the clock's, or the one SOURCE_DATE_EPOCH fixes, so that a build or a
// test gets the same outputs on every run. The only place that reads either.
#pragma once

#include <cstdint>

// Latest instant taken, 9999-12-31 23:59:59 UTC: every date a stamp shows has four digits.
constexpr int64_t k_last_run_second = 253402300799;

// Seconds since 1970-01-01 00:00 UTC: SOURCE_DATE_EPOCH when it is set to decimal digits
// alone (at most k_last_run_second), else the clock's.
int64_t run_clock_seconds();
