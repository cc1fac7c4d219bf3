// The workbook styles that colour one row: a colour family per team category and a
// shade per team number.
#pragma once

#include "core/run_state.h"
#include "output/team_category.h"

// Sets all four row_styles from category, that of the league of match_table[current_row], and its team_digit.
void select_row_styles(RunState& state, TeamCategory category);
