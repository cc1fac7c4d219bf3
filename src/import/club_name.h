// A team's club: its name without the team number at its end ("USC Münster VI" is of
// "USC Münster"), and whether two teams are of one club, letter case aside.
#pragma once

#include <cstddef>

// 2 to 9 for a word that is a Roman team number from II to IX, else 0.
int roman_team_number(const char* word, size_t length);

// Bytes of the club's name in team: the name without a last word that is a number or a
// Roman numeral, and without the blanks in front of that word.
size_t club_length(const char* team);

// True when both teams are of the same club, ASCII and Latin letters in any case.
bool same_club(const char* team, const char* other);
