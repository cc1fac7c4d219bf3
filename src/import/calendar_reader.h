// Reading one calendar file into the match table: loading, deciding the club's team,
// parsing every event, and the per-file console line.
#pragma once

#include <cstddef>
#include <cstdio>

#include "driver/run_state.h"

// Loads input_files[file_index], fills one row per event from current_row on and prints
// the per-file line; any result but ok means nothing of the file may be relied on.
ReadResult read_calendar_file(RunState& state, int file_index);

// Writes the German text of a failure reason (with the event number where it has one).
void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size);

// Loads the whole stream into file_buffer as text (CR LF as LF, folded lines joined) and checks it is UTF-8.
ReadResult load_calendar_text(RunState& state, FILE* stream);
