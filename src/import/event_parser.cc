// The event parser for the league site's own layout. Line 2 gives date and time behind
// its first colon (turned into German time where it is UTC), line 4 the two teams behind
// its first colon, line 6 the venue behind its last comma, and the third comma-separated
// field behind line 6 the league. Every reliance on that layout is
// checked against the end of the loaded text, so that no event, however malformed, makes
// the parser read past the text or write past a field; such an event is refused.
#include "import/event_parser.h"

#include <cctype>
#include <cstring>
#include <iterator>

#include "core/bounded_text.h"
#include "import/german_time.h"
#include "import/properties.h"
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
// The lines the layout reads, by their number behind the "UID:" line, and their names.
constexpr int k_start_line = 2;
constexpr int k_summary_line = 4;
constexpr int k_location_line = 6;

// Team numbers written as Roman numerals ("TB WESTHEIM III"): II to IX give '2' to '9'.
constexpr const char* k_roman_numbers[] = {"II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

// Bytes of the UTF-8 character at pos, never reaching end: dropping "one character"
// must not leave half a multi-byte sequence behind.
int character_length(TextSpan text, int pos, int end) {
    const unsigned char lead = static_cast<unsigned char>(text.bytes[pos]);
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

// True when text[pos, pos + count) lies before end and holds decimal digits only.
bool digits_at(TextSpan text, int pos, int count, int end) {
    if (pos + count > end) return false;
    for (int i = pos; i < pos + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text.bytes[i]))) return false;
    }
    return true;
}

// Line 2: date and time behind the line's first colon. pos is the line's start; returns
// the start of the next line, or -1.
int take_start_line(TextSpan text, MatchRecord& row, int pos) {
    const int end = line_end(text, pos);
    if (end < 0) return -1;
    const int colon = find_byte(text, pos, end, ':');
    if (colon < 0) return -1;
    const int date = colon + 1;
    if (!digits_at(text, date, k_date_digits, end)) return -1;
    const int separator = date + k_date_digits;
    if (separator >= end) return -1;  // the separator must not be the line feed
    const int time = separator + character_length(text, separator, end);
    if (!digits_at(text, time, k_time_digits, end)) return -1;

    copy_bytes(row.year, sizeof row.year, text.bytes + date, k_year_digits);
    copy_bytes(row.month, sizeof row.month, text.bytes + date + k_month_offset, k_pair_digits);
    copy_bytes(row.day, sizeof row.day, text.bytes + date + k_day_offset, k_pair_digits);
    compute_weekday(row);
    copy_bytes(row.hour, sizeof row.hour, text.bytes + time, k_pair_digits);
    copy_bytes(row.minute, sizeof row.minute, text.bytes + time + k_pair_digits, k_pair_digits);
    ContentLine line{};
    read_content_line(text, pos, line);
    if (starts_in_utc(text, line)) utc_to_german_time(row);
    return end + 1;
}

// Line 4: the two teams behind the line's first colon, home or away and the opponent.
int take_summary_line(TextSpan text, const char* own_team, MatchRecord& row, int pos) {
    const int end = line_end(text, pos);
    if (end < 0) return -1;
    const int colon = find_byte(text, pos, end, ':');
    if (colon < 0) return -1;
    const SplitResult split = split_summary(text, colon + 1, row.opponent, sizeof row.opponent);
    if (split.outcome != SummarySplit::done) return -1;
    const int away_length = end - split.next;
    if (away_length >= k_opponent_size) return -1;

    // The club plays at home when its name stands inside the home team's name.
    if (std::strstr(row.opponent, own_team) != nullptr) {
        std::memset(row.opponent, 0, sizeof row.opponent);  // no byte of the home name stays behind
        copy_bytes(row.opponent, sizeof row.opponent, text.bytes + split.next, static_cast<size_t>(away_length));
        row.is_home = 1;
    } else {
        row.is_home = 0;
    }
    trim_name(row.opponent);
    row.team_digit = team_digit_of(own_team);
    return end + 1;
}

// Line 6: the venue behind the line's last comma. Returns the index of the line's line feed.
int take_location_line(TextSpan text, MatchRecord& row, int pos) {
    const int end = line_end(text, pos);
    if (end < 0) return -1;
    const int comma = find_last_byte(text, pos, end, ',');
    if (comma < 0) return -1;
    int venue = comma + 1;
    // One character behind the comma (normally a blank) is dropped, but never the line feed.
    if (venue < end) venue += character_length(text, venue, end);
    shorten_venue(row.venue, text.bytes + venue, static_cast<size_t>(end - venue));
    return end;
}

// The league: the third comma-separated field behind the location line, which must lie
// before the next event. Returns the index behind the comma that ends it.
int take_league(TextSpan text, MatchRecord& row, int pos) {
    int limit = find_text(text, pos, text.length, k_event_marker);
    if (limit < 0) limit = text.length;
    for (int i = 0; i < k_league_commas_skipped; ++i) {
        const int comma = find_byte(text, pos, limit, ',');
        if (comma < 0) return -1;
        pos = comma + 1;
    }
    if (pos >= limit) return -1;
    const int start = pos + character_length(text, pos, limit);
    const int comma = find_byte(text, start, limit, ',');
    if (comma < 0) return -1;
    int end = comma;
    if (end > start && text.bytes[end - 1] == '\\') --end;  // the escape of "\," is no part of the league
    if (end - start >= k_league_size || find_byte(text, start, end, '\n') >= 0) return -1;
    copy_bytes(row.league, sizeof row.league, text.bytes + start, static_cast<size_t>(end - start));
    return comma + 1;
}

// Passes over count lines from pos; returns the start of the line behind them, or -1.
int skip_lines(TextSpan text, int pos, int count) {
    for (int i = 0; i < count && pos >= 0; ++i) {
        const int end = line_end(text, pos);
        pos = end < 0 ? -1 : end + 1;
    }
    return pos;
}

}  // namespace

char team_digit_of(const char* own_team) {
    const size_t length = strnlen(own_team, k_team_name_size);
    for (size_t i = length; i > 1; --i) {
        if (std::isdigit(static_cast<unsigned char>(own_team[i - 1]))) return own_team[i - 1];
    }
    size_t word = length;
    while (word > 0 && own_team[word - 1] != ' ') --word;
    for (size_t n = 0; n < std::size(k_roman_numbers); ++n) {
        if (word > 0 && std::strcmp(own_team + word, k_roman_numbers[n]) == 0) return static_cast<char>('2' + n);
    }
    return '1';
}

bool named_as_layout(TextSpan text, int from) {
    const struct {
        int line;
        const char* name;
    } expected[] = {{k_start_line, "DTSTART"}, {k_summary_line, "SUMMARY"}, {k_location_line, "LOCATION"}};
    for (const auto& e : expected) {
        const int start = skip_lines(text, from, e.line);
        ContentLine line{};
        if (start < 0) return false;
        read_content_line(text, start, line);
        if (!is_named(text, line, e.name)) return false;
    }
    return true;
}

void trim_name(char* name) {
    const size_t length = std::strlen(name);
    if (length > 0 && name[length - 1] == ' ') name[length - 1] = '\0';
}

SplitResult split_summary(TextSpan text, int from, char* target, size_t target_size) {
    if (from < 0 || from > text.length) return {SummarySplit::no_separator, from};
    const int end_of_line = line_end(text, from);
    const int end = end_of_line < 0 ? text.length : end_of_line;
    const int separator = find_text(text, from, end, summary_separator);
    if (separator < 0) return {SummarySplit::no_separator, from};
    const size_t length = static_cast<size_t>(separator - from);
    if (length >= target_size) return {SummarySplit::too_long, from};
    copy_bytes(target, target_size, text.bytes + from, length);
    return {SummarySplit::done, separator + k_separator_length};
}

int parse_event(TextSpan text, int from, const char* own_team, MatchRecord& row) {
    int pos = from >= 0 && from <= text.length && text.length >= 0 ? from : -1;
    if (pos >= 0) pos = skip_lines(text, pos, k_lines_before_start);
    if (pos >= 0) pos = take_start_line(text, row, pos);
    if (pos >= 0) pos = skip_lines(text, pos, 1);
    if (pos >= 0) pos = take_summary_line(text, own_team, row, pos);
    if (pos >= 0) pos = skip_lines(text, pos, 1);
    if (pos >= 0) pos = take_location_line(text, row, pos);
    if (pos >= 0) pos = take_league(text, row, pos);
    if (pos < 0) std::memset(&row, 0, sizeof row);  // no half-filled row stays behind
    return pos;
}
