// The run's club: which club the league files are read for. It is the club of the own
// teams, else the one an earlier club calendar names, else the one the user picks from
// the clubs of the league files.
#pragma once

#include <cstdio>

#include "core/run_state.h"

// Adds the club of team to league_clubs unless it is there already (or its name is too long to be the club's).
void note_league_club(RunState& state, const char* team);

// Sets club from the answer: a number of league_clubs from 1 on, or one of their names,
// letter case and blanks around it aside; false when it is neither.
bool choose_club(RunState& state, const char* answer);

// Sets club to the club most own teams of the blocks belong to (the first on a tie), as
// its first team writes it, without the team number; leaves it as it is without such teams.
void take_run_club(RunState& state);

// Sets club from an earlier club calendar's name "Spielplan <club> <season>", read from
// the stream's start; false when the stream holds no such name.
bool remembered_club(RunState& state, FILE* calendar);
