// How both writers read the match table: where its used rows end.
#pragma once

#include "core/run_state.h"

// First row from 1 on whose day[0] is NUL; never past the table's last row.
int end_of_table_row(const RunState& state);
