// Turning one event of the loaded calendar text into a match row. The event's lines are
// walked by their position behind its "UID:" line, in one fixed layout; property names
// are never looked at. Also the text searches that the calendar reader shares.
#pragma once

#include <cstddef>

#include "driver/run_state.h"

// The text that starts every event.
inline constexpr char k_event_marker[] = "UID:";

// How cutting a summary at its separator went.
enum class SummarySplit {
    done,          // target holds the home team's name, buffer_pos stands behind the separator
    no_separator,  // the line at buffer_pos holds no " - "
    too_long,      // the name before the separator does not fit target
};

// Index of the first occurrence of needle in file_buffer[from, end), or -1.
int find_in_text(const RunState& state, int from, int end, const char* needle);

// Removes exactly one trailing blank from a team name.
void trim_name(char* name);

// Copies the text before the first " - " of the line at buffer_pos into target and moves buffer_pos behind the separator.
SummarySplit split_summary(RunState& state, char* target, size_t target_size);

// Fills match_table[current_row] from the event at buffer_pos; false (row left zero) when the event breaks the layout.
bool parse_event(RunState& state);
