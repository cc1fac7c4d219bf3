// Reading calendar files into the match table: the club's team of each file, its events
// in file order, the per-file console line, and the loop over all files of a run.
#pragma once

#include <cstddef>

#include "core/run_state.h"
#include "import/read_result.h"

// Imports input_files[0 .. files-1] in order from row 0, each behind a separator row of
// its own, printing one line per file; stops at the first failure and names that file's
// index in failed_file.
ReadResult import_calendar_files(RunState& state, int files, int& failed_file);

// Writes the German text of a failure reason (with the event number where it has one).
void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size);
