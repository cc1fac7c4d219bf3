// Reading calendar files into the match table: the club's team of each file, its events
// in file order, what each file's console line reports, and the loop over all files of a run.
#pragma once

#include "core/run_state.h"
#include "import/read_result.h"

// Imports every argument of input_files[0 .. files-1] that input_kinds marks as a
// calendar, in order from row 0, each behind a separator row of its own (an input with the
// same bytes as an earlier one adds nothing), with a report per file in file_reports. A
// file that fails leaves no row behind, and the files after it are still read. results[k]
// tells how file k went (ok for one not read); returns how many files failed.
int import_calendar_files(RunState& state, int files, ReadResult (&results)[k_max_arguments]);
