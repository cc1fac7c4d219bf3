// Turning one event in the league site's own layout into a match row: the event's lines
// are walked by their position behind its "UID:" line. Also what both readings of an
// event share: the summary's separator and the club's team number. The text comes in as
// a span and a position; the row comes out.
#pragma once

#include <cstddef>

#include "core/run_state.h"
#include "import/text_search.h"

// The text that starts every event.
inline constexpr char k_event_marker[] = "UID:";

// The separator between the home and the away team in a summary.
inline constexpr char summary_separator[] = " - ";

// How cutting a summary at its separator went.
enum class SummarySplit {
    done,          // target holds the home team's name; next stands behind the separator
    no_separator,  // the line holds no " - "
    too_long,      // the name before the separator does not fit target
};

// The outcome of split_summary and where reading goes on.
struct SplitResult {
    SummarySplit outcome;  // done, or why not
    int next;              // behind the separator when done, else the position given
};

// The number of the club's team: the last digit of its name, its first character not
// counted; else a last word that is a Roman numeral from II to IX; else '1'.
char team_digit_of(const char* own_team);

// True when the lines 2, 4 and 6 behind the "UID:" line at from are named DTSTART,
// SUMMARY and LOCATION, as the layout read by position has them.
bool named_as_layout(TextSpan text, int from);

// Removes exactly one trailing blank from a team name.
void trim_name(char* name);

// Copies the text before the first " - " of the line at from into target.
SplitResult split_summary(TextSpan text, int from, char* target, size_t target_size);

// Fills row from the event whose "UID:" line starts at from; returns the position behind
// the comma that ends its league, or -1 (row left zero) when the event breaks the layout.
int parse_event(TextSpan text, int from, const char* own_team, MatchRecord& row);
