// The season schedule as an HTML table fragment for the club's web page.
#pragma once

#include <cstdio>

#include "driver/run_state.h"

// Sets html_class_index (0..6) from league and team_digit of match_table[current_row].
void select_html_class(RunState& state);

// Writes the fragment to stream (state.html_file), then closes every open stream;
// false when a write or a close failed.
bool write_html_table(RunState& state, FILE* stream);
