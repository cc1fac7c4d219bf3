// How the writers read the match table: where its used rows end, and whose row a row is.
#pragma once

#include "core/run_state.h"
#include "output/output_buffer.h"

// First row from 1 on whose day[0] is NUL; never past the table's last row.
int end_of_table_row(const RunState& state);

// The club's team of the file the row comes from ("" for none).
const char* own_team_of(const RunState& state, int row);

// The row's league and the club team's number, "Kreisliga A / 2.", escaped for markup.
void put_league_and_team(OutputBuffer& out, const MatchRecord& row);
