// The season schedule as an HTML table fragment for the club's web page.
#pragma once

#include <cstdio>

#include "core/run_state.h"

// Writes the fragment to stream (state.html_file), then closes every open stream;
// false when a write or a close failed.
bool write_html_table(RunState& state, FILE* stream);
