// How the writers read the match table: where its used rows end, whose row a row is, and
// what the import kept beside each row.
#pragma once

#include "core/run_state.h"
#include "output/output_buffer.h"

// First row from 1 on whose day[0] is NUL; never past the table's last row.
int end_of_table_row(const RunState& state);

// The club team of the row: the first block of its team's name and league; -1 for none.
int team_of(const RunState& state, int row);

// The club's team of the block the row belongs to ("" for none).
const char* own_team_of(const RunState& state, int row);

// The match's whole location text ("" when the event gave none).
const char* location_of(const RunState& state, int row);

// True when the row's match is called off: the club calendar and the match days show it, the tables do not.
bool called_off(const RunState& state, int row);

// True when both rows' events name the same home and the same away team.
bool same_home_and_away(const RunState& state, int a, int b);

// The row's league and the club team's number, "Kreisliga A / 2.", escaped for markup.
void put_league_and_team(OutputBuffer& out, const MatchRecord& row);

// Writes the row's date and time fields in the order the pattern names them: 'W' the
// weekday, 'D' the day, 'M' the month, 'Y' the year, 'h' the hour, 'm' the minute; any
// other byte of the pattern as it stands ("W, D.M.Y h:m" gives "Sa, 19.09.2015 18:00").
void put_row_date(OutputBuffer& out, const MatchRecord& row, const char* pattern);
