// The season workbook: the match table as a SpreadsheetML 2003 document.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "output/match_plan.h"

// Writes the whole workbook to stream, its rows coloured by the plan's categories; false
// when a write failed. The caller closes the stream.
bool write_spreadsheet(RunState& state, const MatchPlan& plan, FILE* stream);
