// Reading the last run's club calendar back: lines joined where they were folded, the
// header's "Stand:" for the run's date (else the first event's stamp), and each event's
// properties as this program writes them, its team taken from its description. The
// summary splits as any calendar's does.
#include "import/earlier_calendar.h"

#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "core/civil_date.h"
#include "core/utf8.h"
#include "import/event_parser.h"
#include "import/summary_sides.h"
#include "import/weekday.h"
#include "import/german_time.h"
#include "import/properties.h"
#include "import/text_search.h"

namespace {

constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";
constexpr char k_caldesc[] = "X-WR-CALDESC";
constexpr char k_stamp[] = "DTSTAMP";
constexpr int k_date_length = 14;        // "Di, 09.12.2025" of "Di, 09.12.2025 07:45"
constexpr int k_value_size = 1024;       // an unescaped value; the calendar writes far shorter ones

// Refills the chunk; false at the stream's end or past the size read at most.
bool refill(LineStream& lines) {
    if (lines.bytes_read > k_earlier_calendar_limit) return false;
    const size_t got = std::fread(lines.chunk, 1, sizeof lines.chunk, lines.stream);
    lines.at = 0;
    lines.end = static_cast<int32_t>(got);
    lines.bytes_read += static_cast<int64_t>(got);
    return got > 0;
}

// One physical line into next, its line end taken off; false at the end.
bool read_physical(LineStream& lines) {
    lines.next_length = 0;
    bool any = false;
    for (;;) {
        if (lines.at >= lines.end && !refill(lines)) return any;
        any = true;
        const char* from = lines.chunk + lines.at;
        const int available = lines.end - lines.at;
        const void* feed = std::memchr(from, '\n', static_cast<size_t>(available));
        const int take = feed != nullptr ? static_cast<int>(static_cast<const char*>(feed) - from) : available;
        const int room = k_line_size - 1 - lines.next_length;
        const int copied = take < room ? take : room;
        std::memcpy(lines.next + lines.next_length, from, static_cast<size_t>(copied));
        lines.next_length += copied;
        lines.too_long = lines.too_long || copied < take;
        lines.at += take;
        if (feed != nullptr) {
            ++lines.at;
            break;
        }
    }
    if (lines.next_length > 0 && lines.next[lines.next_length - 1] == '\r') --lines.next_length;
    lines.next[lines.next_length] = '\0';
    return true;
}

// The club's team of an event: its description, ", <league>" taken off its end.
void take_own_team(const char* description, const char* league, char (&own_team)[k_team_name_size]) {
    size_t length = std::strlen(description);
    const size_t league_length = std::strlen(league);
    const size_t tail = league_length + sizeof k_team_league_separator - 1;
    if (league_length > 0 && length > tail && std::strcmp(description + length - league_length, league) == 0 &&
        std::strncmp(description + length - tail, k_team_league_separator, sizeof k_team_league_separator - 1) == 0) {
        length -= tail;
    }
    if (!copy_bytes(own_team, sizeof own_team, description, length)) own_team[0] = '\0';
}

// Takes " (<league>)" off the end of a side: the calendar names the league beside the
// club's team where two of the club's teams share a name.
void without_league(char (&side)[k_opponent_size], const char* league) {
    const size_t length = std::strlen(side);
    const size_t league_length = std::strlen(league);
    if (league_length == 0 || length < league_length + 3) return;
    char* open = side + length - league_length - 3;
    if (open[0] == ' ' && open[1] == '(' && side[length - 1] == ')' &&
        std::strncmp(open + 2, league, league_length) == 0) {
        *open = '\0';
    }
}

// Copies text into a field, cut on a character boundary where it is too long.
void copy_cut(char* field, size_t size, const char* text, size_t length) {
    copy_bytes(field, size, text, utf8_cut_length(text, length, size - 1));
}

// The texts of one event of the club calendar, gathered line by line, and its start.
struct EventLines {
    char summary[k_value_size];
    char description[k_value_size];
    char uid[k_value_size];
    bool has_summary;
    bool has_start;
};

// A line's parts: the name up to the first ';' or ':', the value behind the first ':'.
struct LineParts {
    int name_end;
    int value;
};

LineParts parts_of(const char* line, int length) {
    int name_end = 0;
    while (name_end < length && line[name_end] != ':' && line[name_end] != ';') ++name_end;
    int value = name_end;
    while (value < length && line[value] != ':') ++value;
    return LineParts{name_end, value < length ? value + 1 : length};
}

// True when the line's name is name (the calendar writes its names in capitals).
bool has_name(const char* line, const LineParts& parts, const char* name) {
    const size_t length = std::strlen(name);
    return static_cast<size_t>(parts.name_end) == length && std::memcmp(line, name, length) == 0;
}

// The line's value unescaped into out; returns its length.
size_t value_of(const char* line, int length, const LineParts& parts, char* out, size_t size) {
    bool cut = false;
    return unescape_text(TextSpan{line, length}, parts.value, length, out, size, cut);
}

// The value of a line "NAME[;parameters]:value", unescaped, into out; false when the line
// has another name.
template <size_t Size>
bool named_value(const char* line, int length, const char* name, char (&out)[Size]) {
    const LineParts parts = parts_of(line, length);
    if (!has_name(line, parts, name)) return false;
    value_of(line, length, parts, out, Size);
    return true;
}

// The start "YYYYMMDD", "YYYYMMDDTHHMMSS" (German time) or the same with "Z" (UTC) into the
// row; false when it is none of them or no real date.
bool take_start(const char* value, int length, MatchRecord& row) {
    const auto digits = [&](int from, int count) {
        for (int i = from; i < from + count; ++i) {
            if (i >= length || value[i] < '0' || value[i] > '9') return false;
        }
        return true;
    };
    constexpr int k_date = 8;
    constexpr int k_timed = 15;
    const bool timed = length >= k_timed && value[k_date] == 'T' && digits(k_date + 1, 6);
    const bool in_utc = timed && length == k_timed + 1 && value[k_timed] == 'Z';
    if (!digits(0, k_date) || !(length == k_date || (timed && (length == k_timed || in_utc)))) return false;
    copy_bytes(row.year, sizeof row.year, value, 4);
    copy_bytes(row.month, sizeof row.month, value + 4, 2);
    copy_bytes(row.day, sizeof row.day, value + 6, 2);
    // A match without a time the calendar writes as a date alone.
    copy_bytes(row.hour, sizeof row.hour, timed ? value + k_date + 1 : "--", 2);
    copy_bytes(row.minute, sizeof row.minute, timed ? value + k_date + 3 : "--", 2);
    if (!in_utc || !utc_to_german_time(row)) compute_weekday(row);
    CivilTime when{};
    return row_time(row, when);
}

// Takes what the line says into the match being read and the event's texts.
void take_line(const char* line, int length, EarlierMatch& match, EventLines& event) {
    const LineParts parts = parts_of(line, length);
    const char* value = line + parts.value;
    const int value_length = length - parts.value;
    MatchRecord& row = match.row;
    MatchDetails& details = match.details;
    char text[k_value_size];
    switch (line[0]) {
        case 'S':
            if (has_name(line, parts, "SUMMARY")) {
                value_of(line, length, parts, event.summary, sizeof event.summary);
                event.has_summary = true;
            } else if (has_name(line, parts, "SEQUENCE")) {
                int32_t sequence = 0;
                for (int i = 0; i < value_length && value[i] >= '0' && value[i] <= '9' && sequence < 100000000; ++i) {
                    sequence = sequence * 10 + (value[i] - '0');
                }
                details.sequence = sequence;
            } else if (has_name(line, parts, "STATUS")) {
                details.cancelled = value_length == 9 && std::memcmp(value, "CANCELLED", 9) == 0;
            }
            break;
        case 'D':
            if (has_name(line, parts, "DTSTART")) {
                event.has_start = take_start(value, value_length, row);
            } else if (has_name(line, parts, "DESCRIPTION")) {
                value_of(line, length, parts, event.description, sizeof event.description);
            }
            break;
        case 'U':
            if (has_name(line, parts, "UID")) value_of(line, length, parts, event.uid, sizeof event.uid);
            break;
        case 'L':
            if (has_name(line, parts, "LOCATION")) {
                copy_cut(details.location, sizeof details.location, text, value_of(line, length, parts, text, sizeof text));
            }
            break;
        case 'C':
            if (has_name(line, parts, "CATEGORIES")) {
                copy_cut(row.league, sizeof row.league, text, value_of(line, length, parts, text, sizeof text));
            }
            break;
        case 'X':
            if (has_name(line, parts, k_venue_property)) {
                copy_cut(row.venue, sizeof row.venue, text, value_of(line, length, parts, text, sizeof text));
            }
            break;
        default: break;
    }
}

// Copies a side of the summary, blanks around it taken off; false when it is empty or too long.
bool take_side(TextSpan side, char (&name)[k_opponent_size]) {
    const TextSpan trimmed_side = trimmed(side);
    return trimmed_side.length > 0 && copy_bytes(name, sizeof name, trimmed_side.bytes, static_cast<size_t>(trimmed_side.length));
}

// Completes the match read from the event's lines: its sides, its team, its UID; false
// when the event lacks a start, a summary of two sides or a team.
bool finish_event(const EventLines& event, EarlierMatch& match) {
    if (!event.has_start || !event.has_summary) return false;
    TextSpan summary{event.summary, static_cast<int32_t>(std::strlen(event.summary))};
    constexpr int k_title_length = sizeof k_cancelled_title - 1;
    if (summary.length > k_title_length && std::memcmp(summary.bytes, k_cancelled_title, k_title_length) == 0) {
        summary = span_part(summary, k_title_length, summary.length);
    }
    const SideSeparator separator = find_side_separator(summary);
    MatchDetails& details = match.details;
    if (separator.at < 0 || !take_side(span_part(summary, 0, separator.at), details.home) ||
        !take_side(span_part(summary, separator.at + separator.length, summary.length), details.away)) {
        return false;
    }
    take_own_team(event.description, match.row.league, match.own_team);
    if (match.own_team[0] == '\0') return false;
    without_league(details.home, match.row.league);
    without_league(details.away, match.row.league);
    take_club_side(match.row, details.home, details.away, match.own_team);
    // The calendar's UID is the source's with the calendar's domain behind it; one too
    // long to keep is left out, and the match is known by its teams.
    const size_t uid_length = std::strlen(event.uid);
    const size_t domain = sizeof k_uid_domain - 1;
    const bool own_domain = uid_length > domain && std::strcmp(event.uid + uid_length - domain, k_uid_domain) == 0;
    if (!copy_bytes(details.uid, sizeof details.uid, event.uid, own_domain ? uid_length - domain : uid_length)) {
        details.uid[0] = '\0';
    }
    return true;
}

// The run's date of a "Stand: Di, 09.12.2025 07:45" into since.
void take_since(const char* stand, char (&since)[k_run_time_size]) {
    if (std::strncmp(stand, k_stand_title, sizeof k_stand_title - 1) != 0) return;
    copy_bytes(since, sizeof since, stand + sizeof k_stand_title - 1, k_date_length);
}

}  // namespace

void start_lines(LineStream& lines, FILE* stream) {
    std::rewind(stream);
    lines.stream = stream;
    lines.at = 0;
    lines.end = 0;
    lines.bytes_read = 0;
    lines.too_long = false;
    lines.has_next = read_physical(lines);
}

bool next_line(LineStream& lines, char (&line)[k_line_size], int& length) {
    if (!lines.has_next) return false;
    length = lines.next_length;
    std::memcpy(line, lines.next, static_cast<size_t>(length) + 1);
    // Continuation lines begin with a blank, which belongs to the folding.
    while ((lines.has_next = read_physical(lines)) && (lines.next[0] == ' ' || lines.next[0] == '\t')) {
        const int take = lines.next_length - 1;
        const int copied = take < k_line_size - 1 - length ? take : k_line_size - 1 - length;
        std::memcpy(line + length, lines.next + 1, static_cast<size_t>(copied));
        lines.too_long = lines.too_long || copied < take;
        length += copied;
        line[length] = '\0';
    }
    return true;
}

EarlierRead read_earlier_calendar(RunState& state, FILE* stream, KeepEarlierMatch keep, void* context) {
    EarlierRun& earlier = state.earlier;
    earlier.count = 0;
    earlier.since[0] = '\0';
    if (stream == nullptr || peek_input_start(stream) != InputStart::own_calendar) return EarlierRead::not_club_calendar;
    LineStream lines;  // NOLINT(cppcoreguidelines-pro-type-member-init): start_lines sets what is read
    start_lines(lines, stream);
    char line[k_line_size];
    int length = 0;
    static EventLines event;  // some 3 KiB of texts, set afresh at each event's start
    bool in_event = false;
    bool ended = false;
    bool broken = false;
    char stamp[k_stamp_size] = "";
    while (!ended && !broken && next_line(lines, line, length)) {
        const TextSpan text{line, length};
        if (!in_event) {
            if (line[0] == 'B' && marker_at(text, 0, k_event_begin)) {
                in_event = earlier.count < k_table_rows;
                broken = !in_event;
                event = EventLines{};
                if (in_event) earlier.matches[earlier.count] = EarlierMatch{};
            } else if (line[0] == 'E' && marker_at(text, 0, "END:VCALENDAR")) {
                ended = true;
            } else if (line[0] == 'X') {
                char stand[k_value_size];
                if (named_value(line, length, k_caldesc, stand)) take_since(stand, earlier.since);
            }
            continue;
        }
        if (line[0] == 'E' && marker_at(text, 0, k_event_end)) {
            broken = !finish_event(event, earlier.matches[earlier.count]);
            if (!broken && (keep == nullptr || keep(state, earlier.count, context))) ++earlier.count;
            in_event = false;
            continue;
        }
        if (stamp[0] == '\0' && line[0] == 'D') named_value(line, length, k_stamp, stamp);
        take_line(line, length, earlier.matches[earlier.count], event);
    }
    if (broken || !ended || lines.too_long || lines.bytes_read > k_earlier_calendar_limit || std::ferror(stream) != 0) {
        earlier.count = 0;
        return EarlierRead::unreadable;
    }
    if (earlier.since[0] == '\0' && stamp[0] != '\0') {
        char time[k_run_time_size];
        if (german_time_of_stamp(stamp, time)) copy_bytes(earlier.since, sizeof earlier.since, time, k_date_length);
    }
    return EarlierRead::done;
}
