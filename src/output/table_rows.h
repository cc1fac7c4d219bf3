// How both writers read the match table: where its used rows end, and which category
// of club team a row's league text names.
#pragma once

#include <cstddef>

#include "driver/run_state.h"

// Team categories in the order their league-text tests are made.
enum class TeamCategory { u19, u15, adult, other };

// First row from 1 on whose day[0] is NUL; never past the table's last row.
int end_of_table_row(const RunState& state);

// Category of a league text (at most size bytes): "U19", else "U15", else "liga" or "klasse".
TeamCategory team_category(const char* league, size_t size);
