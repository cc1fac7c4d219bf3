// The season workbook: the match table as a SpreadsheetML 2003 document.
#pragma once

#include "core/run_state.h"

// Writes the whole workbook to state.spreadsheet_file; false when a write failed.
bool write_spreadsheet(RunState& state);
