// Turning one event of a calendar file into a match row, by the names of its properties:
// DTSTART and SUMMARY are required; LOCATION, DESCRIPTION, CATEGORIES, STATUS, UID and
// SEQUENCE are used where they are. An event is the block from its BEGIN:VEVENT line to
// its END:VEVENT line (or the next BEGIN:VEVENT line, or the text's end); the text comes
// in as a span. Which side of the summary is the club's is decided afterwards, once the
// file's team is known.
#pragma once

#include "core/run_state.h"
#include "import/text_search.h"
#include "import/time_zones.h"

// What one event gives: its match row and what the club calendar keeps beyond it.
struct ParsedEvent {
    MatchRecord row;                  // the match as the table shows it, the club's side not yet set
    char home[k_opponent_size];       // the home team as the summary names it
    char away[k_opponent_size];       // the away team as the summary names it
    char location[k_location_size];   // the whole location, unescaped, cut on a character boundary
    char uid[k_uid_size];             // the event's UID, empty when it has none (or kept as its hash when longer)
    int32_t sequence;                 // its SEQUENCE, 0 when it has none
    bool cancelled;                   // STATUS:CANCELLED: the match is off
    int next;                         // where the search for the next event goes on
};

// How reading an event went.
enum class EventRead {
    done,          // event holds it
    layout,        // no start or no summary of two names
    unknown_zone,  // a start in a time zone that is neither German time nor UTC
};

// How reading an event's two team names went.
enum class TeamsRead {
    done,        // home and away hold the names
    no_summary,  // the event has no SUMMARY with a separator (summary_sides.h) nor labelled sides
    bad_name,    // a name is empty or longer than 51 bytes
};

// Start of the first BEGIN:VEVENT line at or behind the line that starts at from, or -1.
int next_event_begin(TextSpan text, int from);

// The home and the away team of the summary of the event that begins at begin: trimmed,
// a result and a league taken off.
TeamsRead event_teams(TextSpan text, int begin, char (&home)[k_opponent_size], char (&away)[k_opponent_size]);

// Fills event from the event that begins at begin (text is the whole file), its start read
// in the file's zones; anything but done leaves the row zero.
EventRead parse_event(TextSpan text, int begin, DeclaredZones& zones, ParsedEvent& event);

// Sets which side is the club's (own_team) in a row whose teams the summary named home and
// away: the side equal to own_team, else the home side when own_team stands inside its
// name; the opponent is the other side; the team number is own_team's.
void take_club_side(MatchRecord& row, const char* home, const char* away, const char* own_team);

// The number of the club's team: the last digit of its name, its first character not
// counted; else a last word that is a Roman numeral from II to IX; else '1'.
char team_digit_of(const char* own_team);
