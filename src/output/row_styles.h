// The workbook styles that colour one row: a colour family per team category and a
// shade per team number.
#pragma once

#include "core/run_state.h"

// Sets all four row_styles from league and team_digit of match_table[current_row].
void select_row_styles(RunState& state);
