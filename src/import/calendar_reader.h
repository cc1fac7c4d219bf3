// Reading calendar files into the match table: the club's team of each file, its events
// in file order, what each file's console line reports, and the loop over all files of a run.
#pragma once

#include "core/run_state.h"
#include "import/read_result.h"

// Imports input_files[0 .. files-1] in order from row 0, each behind a separator row of
// its own (an input with the same bytes as an earlier one adds nothing), with a report per
// file in file_reports; stops at the first failure and names that file's index in
// failed_file. files_read tells how many files got through.
ReadResult import_calendar_files(RunState& state, int files, int& failed_file);
