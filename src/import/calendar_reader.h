// Reading calendar files into the match table: the club's team of each file, its events
// in file order, what each file's console line reports, and the loop over all files of a run.
#pragma once

#include "core/run_state.h"
#include "import/read_result.h"

// Imports every argument of input_files[0 .. files-1] that input_kinds marks as a
// calendar, in order from row 0, in blocks behind a separator row each: a team's file one,
// a league's file one per team of the run's clubs (the club known before, the clubs of the
// teams' files); an input with the same bytes as an earlier one adds nothing. A report per
// file in file_reports, one per block in blocks. A file that fails leaves no row behind,
// and the files after it are still read. results[k] tells how file k went (ok for one not
// read); returns how many files failed. Ends with the club of the own teams in club.
int import_calendar_files(RunState& state, int files, ReadResult (&results)[k_max_arguments]);

// True when a league's file was read without a club to read it for (no team's file, no
// club known): its block holds all its matches and no team; the import must run again
// once the club is known.
bool league_files_waiting(const RunState& state);
