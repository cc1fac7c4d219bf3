// The season schedule as an HTML table fragment for the club's web page.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "output/match_plan.h"

// Writes the fragment to stream, its rows coloured by the plan's categories; false when a
// write failed. The caller closes the stream.
bool write_html_table(RunState& state, const MatchPlan& plan, FILE* stream);
