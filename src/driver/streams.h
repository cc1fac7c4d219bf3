// The program's own file handling: opening inputs, writing an output through a
// temporary file beside it, and closing every stream the program opened.
#pragma once

#include <cstdio>

#include "driver/run_state.h"

// Opens a calendar file for reading; nullptr unless it is a readable regular file.
FILE* open_input(const char* path);

// Builds state.temp_path from state.output_path and opens it for writing in text mode.
FILE* open_output_temp(RunState& state);

// Closes every stream in input_files, spreadsheet_file and html_file and clears them;
// false when any close failed (a close also flushes, so a full disk shows here).
bool close_all_streams(RunState& state);

// Moves the written temporary file over state.output_path; false when that failed.
bool commit_output(RunState& state);

// Removes the temporary file after a failure, leaving an older output untouched.
void discard_output(RunState& state);
