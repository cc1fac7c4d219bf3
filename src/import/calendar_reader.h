// Reading calendar files into the match table: loading one file, deciding the club's
// team, parsing every event, the per-file console line, and the loop over all files.
#pragma once

#include <cstddef>
#include <cstdio>

#include "driver/run_state.h"
#include "import/text_search.h"

// Loads input_files[file_index], fills one row per event from current_row on and prints
// the per-file line; any result but ok means nothing of the file may be relied on.
ReadResult read_calendar_file(RunState& state, int file_index);

// Imports input_files[0 .. files-1] in order from row 0, each behind a separator row of
// its own; stops at the first failure and names that file's index in failed_file.
ReadResult import_calendar_files(RunState& state, int files, int& failed_file);

// Writes the German text of a failure reason (with the event number where it has one).
void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size);

// Loads the whole stream into file_buffer as text (CR LF as LF, folded lines joined); fails when too large.
ReadResult load_calendar_text(RunState& state, FILE* stream);

// Checks a loaded text: it ends with "END:VCALENDAR" (else it is incomplete) and is UTF-8.
ReadResult check_calendar_text(TextSpan text);
