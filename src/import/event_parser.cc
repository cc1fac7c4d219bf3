// The event parser. Line 2 gives date and time behind its first colon, line 4 the two
// teams behind its first colon, line 6 the venue behind its last comma, and the third
// comma-separated field behind line 6 the league. Every reliance on that layout is
// checked against the end of the loaded text, so that no event, however malformed, makes
// the parser read past the text or write past a field; such an event is refused.
#include "import/event_parser.h"

#include <cctype>
#include <cstring>

#include "driver/bounded_text.h"
#include "import/venue.h"
#include "import/weekday.h"

namespace {

// The start value: YYYYMMDD, one separator character, HHMM; seconds and a UTC mark are ignored.
constexpr int k_date_digits = 8;
constexpr int k_time_digits = 4;
constexpr int k_year_digits = 4;
constexpr int k_pair_digits = 2;   // month, day, hour and minute
constexpr int k_month_offset = 4;  // within the date
constexpr int k_day_offset = 6;
constexpr int k_lines_before_start = 2;  // the "UID:" line and the line behind it
constexpr int k_league_commas_skipped = 2;  // the league is the third field behind the location line
constexpr int k_separator_length = sizeof summary_separator - 1;

// Index of the first byte c in file_buffer[from, end), or -1.
int find_byte(const RunState& state, int from, int end, char c) {
    if (from >= end) return -1;
    const void* hit = std::memchr(state.file_buffer + from, c, static_cast<size_t>(end - from));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - state.file_buffer);
}

// Index of the last byte c in file_buffer[from, end), or -1.
int find_last_byte(const RunState& state, int from, int end, char c) {
    for (int i = end - 1; i >= from; --i) {
        if (state.file_buffer[i] == c) return i;
    }
    return -1;
}

// Index of the line feed that ends the line starting at from, or -1 when the text ends first.
int line_end(const RunState& state, int from) { return find_byte(state, from, state.file_length, '\n'); }

// Bytes of the UTF-8 character at pos, never reaching end: dropping "one character"
// must not leave half a multi-byte sequence behind.
int character_length(const RunState& state, int pos, int end) {
    const unsigned char lead = static_cast<unsigned char>(state.file_buffer[pos]);
    int length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return pos + length <= end ? length : end - pos;
}

// True when file_buffer[pos, pos + count) lies before end and holds decimal digits only.
bool digits_at(const RunState& state, int pos, int count, int end) {
    if (pos + count > end) return false;
    for (int i = pos; i < pos + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(state.file_buffer[i]))) return false;
    }
    return true;
}

// The last digit of the team name, its first character not counted; a name without
// one is the club's first team.
char team_digit_of(const char* own_team) {
    const size_t length = strnlen(own_team, k_team_name_size);
    for (size_t i = length; i > 1; --i) {
        if (std::isdigit(static_cast<unsigned char>(own_team[i - 1]))) return own_team[i - 1];
    }
    return '1';
}

// Line 2: date and time behind the line's first colon. pos is the line's start; returns
// the start of the next line, or -1.
int take_start_line(RunState& state, MatchRecord& row, int pos) {
    const int end = line_end(state, pos);
    if (end < 0) return -1;
    const int colon = find_byte(state, pos, end, ':');
    if (colon < 0) return -1;
    const int date = colon + 1;
    if (!digits_at(state, date, k_date_digits, end)) return -1;
    const int separator = date + k_date_digits;
    if (separator >= end) return -1;  // the separator must not be the line feed
    const int time = separator + character_length(state, separator, end);
    if (!digits_at(state, time, k_time_digits, end)) return -1;

    const char* text = state.file_buffer;
    copy_bytes(row.year, sizeof row.year, text + date, k_year_digits);
    copy_bytes(row.month, sizeof row.month, text + date + k_month_offset, k_pair_digits);
    copy_bytes(row.day, sizeof row.day, text + date + k_day_offset, k_pair_digits);
    compute_weekday(row);
    copy_bytes(row.hour, sizeof row.hour, text + time, k_pair_digits);
    copy_bytes(row.minute, sizeof row.minute, text + time + k_pair_digits, k_pair_digits);
    return end + 1;
}

// Line 4: the two teams behind the line's first colon, home or away and the opponent.
int take_summary_line(RunState& state, MatchRecord& row, int pos) {
    const int end = line_end(state, pos);
    if (end < 0) return -1;
    const int colon = find_byte(state, pos, end, ':');
    if (colon < 0) return -1;
    state.buffer_pos = colon + 1;
    if (split_summary(state, row.opponent, sizeof row.opponent) != SummarySplit::done) return -1;
    const int away_length = end - state.buffer_pos;
    if (away_length >= k_opponent_size) return -1;

    // The club plays at home when its name stands inside the home team's name.
    if (std::strstr(row.opponent, state.own_team) != nullptr) {
        std::memset(row.opponent, 0, sizeof row.opponent);  // no byte of the home name stays behind
        copy_bytes(row.opponent, sizeof row.opponent, state.file_buffer + state.buffer_pos,
                   static_cast<size_t>(away_length));
        row.is_home = 1;
    } else {
        row.is_home = 0;
    }
    trim_name(row.opponent);
    row.team_digit = team_digit_of(state.own_team);
    return end + 1;
}

// Line 6: the venue behind the line's last comma. Returns the index of the line's line feed.
int take_location_line(RunState& state, MatchRecord& row, int pos) {
    const int end = line_end(state, pos);
    if (end < 0) return -1;
    const int comma = find_last_byte(state, pos, end, ',');
    if (comma < 0) return -1;
    int venue = comma + 1;
    // One character behind the comma (normally a blank) is dropped, but never the line feed.
    if (venue < end) venue += character_length(state, venue, end);
    shorten_venue(row.venue, state.file_buffer + venue, static_cast<size_t>(end - venue));
    return end;
}

// The league: the third comma-separated field behind the location line, which must lie
// before the next event. Returns the index behind the comma that ends it.
int take_league(RunState& state, MatchRecord& row, int pos) {
    int limit = find_in_text(state, pos, state.file_length, k_event_marker);
    if (limit < 0) limit = state.file_length;
    for (int i = 0; i < k_league_commas_skipped; ++i) {
        const int comma = find_byte(state, pos, limit, ',');
        if (comma < 0) return -1;
        pos = comma + 1;
    }
    if (pos >= limit) return -1;
    const int start = pos + character_length(state, pos, limit);
    const int comma = find_byte(state, start, limit, ',');
    if (comma < 0) return -1;
    int end = comma;
    if (end > start && state.file_buffer[end - 1] == '\\') --end;  // the escape of "\," is no part of the league
    if (end - start >= k_league_size || find_byte(state, start, end, '\n') >= 0) return -1;
    copy_bytes(row.league, sizeof row.league, state.file_buffer + start, static_cast<size_t>(end - start));
    return comma + 1;
}

// Passes over count lines from pos; returns the start of the line behind them, or -1.
int skip_lines(const RunState& state, int pos, int count) {
    for (int i = 0; i < count && pos >= 0; ++i) {
        const int end = line_end(state, pos);
        pos = end < 0 ? -1 : end + 1;
    }
    return pos;
}

bool fill_row(RunState& state, MatchRecord& row) {
    int pos = skip_lines(state, state.buffer_pos, k_lines_before_start);
    if (pos >= 0) pos = take_start_line(state, row, pos);
    if (pos >= 0) pos = skip_lines(state, pos, 1);
    if (pos >= 0) pos = take_summary_line(state, row, pos);
    if (pos >= 0) pos = skip_lines(state, pos, 1);
    if (pos >= 0) pos = take_location_line(state, row, pos);
    if (pos >= 0) pos = take_league(state, row, pos);
    if (pos < 0) return false;
    state.buffer_pos = pos;
    return true;
}

}  // namespace

int find_in_text(const RunState& state, int from, int end, const char* needle) {
    const int length = static_cast<int>(std::strlen(needle));
    if (from < 0 || end > state.file_length) return -1;
    if (length == 0) return from <= end ? from : -1;
    // memchr finds each candidate start quickly; memcmp only confirms it.
    const char* text = state.file_buffer;
    int i = from;
    while (i + length <= end) {
        const void* first = std::memchr(text + i, needle[0], static_cast<size_t>(end - length + 1 - i));
        if (first == nullptr) return -1;
        i = static_cast<int>(static_cast<const char*>(first) - text);
        if (std::memcmp(text + i, needle, static_cast<size_t>(length)) == 0) return i;
        ++i;
    }
    return -1;
}

void trim_name(char* name) {
    const size_t length = std::strlen(name);
    if (length > 0 && name[length - 1] == ' ') name[length - 1] = '\0';
}

SummarySplit split_summary(RunState& state, char* target, size_t target_size) {
    const int start = state.buffer_pos;
    const int end_of_line = line_end(state, start);
    const int end = end_of_line < 0 ? state.file_length : end_of_line;
    const int separator = find_in_text(state, start, end, summary_separator);
    if (separator < 0) return SummarySplit::no_separator;
    const size_t length = static_cast<size_t>(separator - start);
    if (length >= target_size) return SummarySplit::too_long;
    copy_bytes(target, target_size, state.file_buffer + start, length);
    state.buffer_pos = separator + k_separator_length;
    return SummarySplit::done;
}

bool parse_event(RunState& state) {
    if (state.current_row < 0 || state.current_row >= k_table_rows) return false;
    if (state.file_length < 0 || state.file_length >= k_file_buffer_size || state.buffer_pos < 0 ||
        state.buffer_pos > state.file_length) {
        return false;
    }
    MatchRecord& row = state.match_table[state.current_row];
    if (fill_row(state, row)) return true;
    std::memset(&row, 0, sizeof row);  // no half-filled row stays behind
    return false;
}
