// The largest run the program takes, as a benchmark workload: 40 season calendars of
// 11 or 12 matches each, so that separators and matches fill all 499 usable rows; in the
// league site's own layout, or in another site's (read by property name, times in UTC).
#pragma once

#include <string>
#include <vector>

// Whose layout the calendars have.
enum class WorkloadStyle { league_site, other_site };

// Text of calendar number index (0..39) of the workload.
std::string workload_calendar(int index, WorkloadStyle style = WorkloadStyle::league_site);

// Writes the 40 calendars into folder; returns their paths in argument order.
std::vector<std::string> write_workload(const std::string& folder, WorkloadStyle style = WorkloadStyle::league_site);
