// The benchmark workloads: 40 season calendars in the league site's own layout, or in
// another site's (read by property name, times in UTC). The full table is the largest run
// of the old limits: 11 or 12 matches a file, so that separators and matches fill 499
// rows. The large one is a big club's season at the table's size: 120 matches a file,
// 4,800 in all, the teams' home matches shared among five halls.
#pragma once

#include <string>
#include <vector>

// Whose layout the calendars have.
enum class WorkloadStyle { league_site, other_site };

// How many matches the calendars hold.
enum class WorkloadSize { full_table, large };

// Text of calendar number index (0..39) of the workload.
std::string workload_calendar(int index, WorkloadStyle style = WorkloadStyle::league_site,
                              WorkloadSize size = WorkloadSize::full_table);

// Writes the 40 calendars into folder; returns their paths in argument order.
std::vector<std::string> write_workload(const std::string& folder, WorkloadStyle style = WorkloadStyle::league_site,
                                        WorkloadSize size = WorkloadSize::full_table);
