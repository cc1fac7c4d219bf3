// Turning one event of a calendar file into a match row, by the names of its properties:
// DTSTART and SUMMARY are required, LOCATION, DESCRIPTION and STATUS are used where they
// are. An event is the block from its BEGIN:VEVENT line to its END:VEVENT line (or the
// next BEGIN:VEVENT line, or the text's end); the text comes in as a span.
#pragma once

#include "core/run_state.h"
#include "import/text_search.h"

// The separator between the home and the away team in a summary.
inline constexpr char summary_separator[] = " - ";

// What one event gives: its match row and what the club calendar keeps beyond it.
struct ParsedEvent {
    MatchRecord row;                  // the match as the table shows it
    char home[k_opponent_size];       // the home team as the summary names it
    char away[k_opponent_size];       // the away team as the summary names it
    char location[k_location_size];   // the whole location, unescaped, cut on a character boundary
    bool cancelled;                   // STATUS:CANCELLED: the match is off
    int next;                         // where the search for the next event goes on
};

// How reading an event's two team names went.
enum class TeamsRead {
    done,        // home and away hold the names
    no_summary,  // the event has no SUMMARY with " - "
    bad_name,    // a name is empty or longer than 51 bytes
};

// Start of the first BEGIN:VEVENT line at or behind the line that starts at from, or -1.
int next_event_begin(TextSpan text, int from);

// The home and the away team of the summary of the event that begins at begin: trimmed,
// a result and a league taken off.
TeamsRead event_teams(TextSpan text, int begin, char (&home)[k_opponent_size], char (&away)[k_opponent_size]);

// Fills event from the event that begins at begin; false (row left zero) when its start or
// its summary is missing or out of form. The club plays at home when own_team stands inside
// the home team's name.
bool parse_event(TextSpan text, int begin, const char* own_team, ParsedEvent& event);

// The number of the club's team: the last digit of its name, its first character not
// counted; else a last word that is a Roman numeral from II to IX; else '1'.
char team_digit_of(const char* own_team);
