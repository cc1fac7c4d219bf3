// Reading calendar files into the match table: the club's team of each file, its events
// in file order, the per-file console line, and the loop over all files of a run.
#pragma once

#include <cstddef>

#include "core/run_state.h"
#include "import/read_result.h"

// Imports input_files[0 .. files-1] in order from row 0, each behind a separator row of
// its own (an input with the same bytes as an earlier one adds nothing), with a report per
// file in file_reports; stops at the first failure and names that file's index in
// failed_file. files_read tells how many files got through.
ReadResult import_calendar_files(RunState& state, int files, int& failed_file);

// Room for the console lines of one file: two names of files, a team, a league and words.
constexpr int k_file_lines_size = 2 * k_display_name_size + k_team_name_size + k_league_size + 128;

// Writes the console lines of file k that the import got through: its team, league and
// matches, and a warning where an earlier file holds the same team and league; or that it
// held the same bytes as an earlier file and was left out.
void describe_file(const RunState& state, int file, char* out, size_t size);

// Writes the German text of a failure reason (with the event number where it has one).
void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size);
