// Reading an event by its property names, for the calendars of league sites that write
// their own order of properties: DTSTART and SUMMARY required, LOCATION and DESCRIPTION
// where they are, times in UTC turned into German time, results and leagues taken out of
// the summary. The event is the text of its lines, [begin, end).
#pragma once

#include "core/run_state.h"
#include "import/text_search.h"

// How reading an event's two team names went.
enum class TeamsRead {
    done,        // home and away hold the names
    no_summary,  // the event has no SUMMARY with " - "
    bad_name,    // a name is empty or longer than 51 bytes
};

// The home and the away team of the event's summary, trimmed, its result and league taken off.
TeamsRead event_teams(TextSpan text, int begin, int end, char (&home)[k_opponent_size],
                      char (&away)[k_opponent_size]);

// Fills row from the event read by property name; false (row left zero) when its start
// or its summary is missing or out of form.
bool parse_event_by_name(TextSpan text, int begin, int end, const char* own_team, MatchRecord& row);

// What the club calendar keeps of an event: its whole location text, unescaped and cut on
// a character boundary where it is longer (empty when it has none), and the home and the
// away team as its summary names them; false (the teams left as they were) when the
// summary names no two teams that fit.
bool event_calendar_text(TextSpan text, int begin, int end, char (&home)[k_opponent_size],
                         char (&away)[k_opponent_size], char (&location)[k_location_size]);

// True when the event is marked as called off (STATUS:CANCELLED).
bool is_cancelled(TextSpan text, int begin, int end);
