// The calendar file reader: the club's team of a file, every event into the match
// table, the per-file line, and the loop over all files. The three passes over a loaded
// text (first summary, the two counts, the events) each run with a read position that
// only advances.
#include "import/calendar_reader.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "import/event_by_name.h"
#include "import/event_parser.h"
#include "import/text_search.h"

namespace {

constexpr char k_first_summary_marker[] = "\nSUMMARY:";
constexpr char k_file_line[] = "%s (%s): %i Spiele\n";
constexpr char k_file_line_cancelled[] = "%s (%s): %i Spiele, %i abgesagt\n";
// The line that begins each event; compared without regard to case, as iCalendar names are.
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";

constexpr char k_too_large_text[] = "Datei zu gross (max. %i Zeichen)";
constexpr char k_no_match_text[] = "keine Spielpaarung gefunden";
constexpr char k_team_name_text[] = "Mannschaftsname leer oder zu lang (max. %i Zeichen)";
constexpr char k_event_layout_text[] = "Spiel %i passt nicht zum erwarteten Aufbau";
constexpr char k_too_many_rows_text[] = "zu viele Spiele (max. %i Tabellenzeilen)";
constexpr char k_not_utf8_text[] = "Datei ist nicht UTF-8-kodiert";
constexpr char k_incomplete_text[] = "Datei ist unvollstaendig (Kalenderende fehlt)";
constexpr char k_not_calendar_text[] = "Datei ist keine Kalenderdatei (.ics)";
constexpr char k_read_error_text[] = "Datei konnte nicht gelesen werden";

// True when the line at line is the marker (any case) with nothing but blanks behind it.
bool is_marker_line(TextSpan text, int line, const char* marker) {
    if (!marker_at(text, line, marker)) return false;
    const int end = line_end(text, line);
    const int stop = end < 0 ? text.length : end;
    int rest = line + static_cast<int>(std::strlen(marker));
    while (rest < stop && is_blank(text.bytes[rest])) ++rest;
    return rest == stop;
}

// Start of the line behind the one at line, or -1.
int next_line(TextSpan text, int line) {
    const int end = line_end(text, line);
    return end < 0 ? -1 : end + 1;
}

// Start of the first "BEGIN:VEVENT" line at or behind the line start from, or -1.
int next_event_begin(TextSpan text, int from) {
    for (int line = from; line >= 0 && line < text.length; line = next_line(text, line)) {
        if (is_marker_line(text, line, k_event_begin)) return line;
    }
    return -1;
}

// Where the lines of the event that begins at begin end: its "END:VEVENT" line, else the
// next "BEGIN:VEVENT" line, else the text's end.
int event_end(TextSpan text, int begin) {
    for (int line = next_line(text, begin); line >= 0 && line < text.length; line = next_line(text, line)) {
        if (is_marker_line(text, line, k_event_end) || is_marker_line(text, line, k_event_begin)) return line;
    }
    return text.length;
}

// The "BEGIN:VEVENT" lines met so far while the events are read front to back.
struct EventBegins {
    int next;    // start of the next line not yet counted, or -1
    int before;  // lines counted: all that start before the position last asked for
    int last;    // start of the last line counted, or -1
};

// Counts the "BEGIN:VEVENT" lines that start before pos.
void count_begins_before(TextSpan text, EventBegins& begins, int pos) {
    while (begins.next >= 0 && begins.next < pos) {
        ++begins.before;
        begins.last = begins.next;
        const int after = next_line(text, begins.next);
        begins.next = after < 0 ? -1 : next_event_begin(text, after);
    }
}

// Occurrences of name anywhere in the text, overlapping ones one by one.
int count_occurrences(TextSpan text, const char* name) {
    int count = 0;
    for (int from = 0;;) {
        const int at = find_text(text, from, text.length, name);
        if (at < 0) return count;
        ++count;
        from = at + 1;
    }
}

// Reads the event whose "UID:" stands at uid by position, where it fits the league site's
// own layout and its lines 2, 4 and 6 are the start, the summary and the location; returns
// where the next event is searched, or -1 (row left zero) when it is not read so.
int read_by_position(TextSpan text, int uid, const char* own_team, MatchRecord& row) {
    const int next = parse_event(text, uid, own_team, row);
    if (next >= 0 && named_as_layout(text, uid)) return next;
    std::memset(&row, 0, sizeof row);
    return -1;
}

// Reads one event into row, by position where it fits the layout, else by property
// name; returns where the next event is searched, or -1 when neither reading takes it.
int read_event(TextSpan text, int uid, int begin, int end, const char* own_team, MatchRecord& row) {
    const int next = read_by_position(text, uid, own_team, row);
    if (next >= 0) return next;
    return parse_event_by_name(text, begin, end, own_team, row) ? end : -1;
}

// First pass: the two team names of the file's first summary line, or of its first
// event where that is read by property name.
ReadResult take_candidates(RunState& state) {
    const TextSpan text = loaded_text(state);
    const int begin = next_event_begin(text, 0);
    const int uid = begin < 0 ? -1 : find_text(text, begin, text.length, k_event_marker);
    MatchRecord scratch{};
    if (uid >= 0 && read_by_position(text, uid, "", scratch) < 0) {
        switch (event_teams(text, begin, event_end(text, begin), state.candidate_home, state.candidate_away)) {
            case TeamsRead::done: return ReadResult::ok;
            case TeamsRead::no_summary: return ReadResult::no_match_found;
            case TeamsRead::bad_name: return ReadResult::team_name_invalid;
        }
    }

    const int marker = find_text(text, 0, text.length, k_first_summary_marker);
    if (marker < 0) return ReadResult::no_match_found;
    const int value = marker + static_cast<int>(sizeof k_first_summary_marker) - 1;

    const SplitResult split = split_summary(text, value, state.candidate_home, sizeof state.candidate_home);
    switch (split.outcome) {
        case SummarySplit::done: break;
        case SummarySplit::no_separator: return ReadResult::no_match_found;
        case SummarySplit::too_long: return ReadResult::team_name_invalid;
    }
    trim_name(state.candidate_home);

    const int line_feed = line_end(text, split.next);
    const int away_end = line_feed < 0 ? text.length : line_feed;
    if (!copy_bytes(state.candidate_away, sizeof state.candidate_away, text.bytes + split.next,
                    static_cast<size_t>(away_end - split.next))) {
        return ReadResult::team_name_invalid;
    }
    trim_name(state.candidate_away);
    if (state.candidate_home[0] == '\0' || state.candidate_away[0] == '\0') return ReadResult::team_name_invalid;
    return ReadResult::ok;
}

// Last pass: every event, in file order, into the rows from current_row on; a called-off
// match gives no row and is counted apart. The read position only advances: each event
// is searched from where the previous one ended. Event k must be the first "UID:" behind
// the k-th "BEGIN:VEVENT" line, and every such line must have one, so that no match is
// lost without a word (a file written with "uid:", or one missing a line).
// What the last pass counted: every event read, and those called off among them.
struct EventCount {
    int events;
    int cancelled;
};

// What the club calendar needs beyond the row at current_row: both teams as the summary
// names them (where the summary gives no two names, the club's team and the opponent
// from the row) and the whole location.
void keep_for_calendar(RunState& state, TextSpan text, int begin, int end) {
    const int at = state.current_row;
    const MatchRecord& row = state.match_table[at];
    if (!event_calendar_text(text, begin, end, state.match_homes[at], state.match_aways[at],
                             state.match_locations[at])) {
        copy_text(state.match_homes[at], k_opponent_size, row.is_home != 0 ? state.own_team : row.opponent);
        copy_text(state.match_aways[at], k_opponent_size, row.is_home != 0 ? row.opponent : state.own_team);
    }
}

ReadResult take_events(RunState& state, EventCount& count) {
    const TextSpan text = loaded_text(state);
    EventBegins begins{next_event_begin(text, 0), 0, -1};
    for (int from = 0;;) {
        const int at = find_text(text, from, text.length, k_event_marker);
        if (at < 0) break;
        state.failed_event = count.events + 1;
        count_begins_before(text, begins, at);
        if (begins.before != count.events + 1) return ReadResult::event_layout;
        const int end = event_end(text, begins.last);
        MatchRecord row{};
        from = read_event(text, at, begins.last, end, state.own_team, row);
        if (from < 0) return ReadResult::event_layout;
        ++count.events;
        if (is_cancelled(text, begins.last, end)) {
            ++count.cancelled;
            continue;
        }
        if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[state.current_row] = row;
        keep_for_calendar(state, text, begins.last, end);
        ++state.current_row;
    }
    count_begins_before(text, begins, text.length);
    if (begins.before != count.events) {
        state.failed_event = count.events + 1;  // the first event without a "UID:" of its own
        return ReadResult::event_layout;
    }
    return ReadResult::ok;
}

// Loads input_files[file_index], fills one row per event from current_row on and prints
// the per-file line; any result but ok means nothing of the file may be relied on.
ReadResult read_calendar_file(RunState& state, int file_index) {
    if (file_index < 0 || file_index >= k_max_input_files) return ReadResult::read_error;
    ReadResult result = load_calendar_text(state, state.input_files[file_index]);
    if (result == ReadResult::ok) result = check_calendar_text(loaded_text(state));
    if (result != ReadResult::ok) return result;

    result = take_candidates(state);
    if (result != ReadResult::ok) return result;
    state.home_candidate_count = count_occurrences(loaded_text(state), state.candidate_home);
    state.away_candidate_count = count_occurrences(loaded_text(state), state.candidate_away);
    const char* winner = state.home_candidate_count > state.away_candidate_count ? state.candidate_home
                                                                                 : state.candidate_away;
    // A candidate may be as long as any team name; the club's own must fit its field.
    if (!copy_text(state.own_team, sizeof state.own_team, winner)) return ReadResult::team_name_invalid;
    copy_text(state.file_own_teams[file_index], k_team_name_size, state.own_team);

    EventCount count{0, 0};
    result = take_events(state, count);
    if (result != ReadResult::ok) return result;

    const char* league = state.current_row > 0 ? state.match_table[state.current_row - 1].league : "";
    if (count.cancelled > 0) {
        std::printf(k_file_line_cancelled, state.own_team, league, count.events - count.cancelled, count.cancelled);
    } else {
        std::printf(k_file_line, state.own_team, league, count.events);
    }
    return ReadResult::ok;
}

}  // namespace

ReadResult import_calendar_files(RunState& state, int files, int& failed_file) {
    state.current_row = 0;
    for (int k = 0; k < files; ++k) {
        failed_file = k;
        // The separator row itself must leave room for the end mark behind it.
        if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[state.current_row].day[0] = ' ';
        ++state.current_row;
        const ReadResult result = read_calendar_file(state, k);
        if (result != ReadResult::ok) return result;
    }
    failed_file = -1;
    return ReadResult::ok;
}

void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    switch (result) {
        case ReadResult::ok: break;
        case ReadResult::file_too_large: std::snprintf(out, size, k_too_large_text, k_file_buffer_size - 1); break;
        case ReadResult::no_match_found: copy_text(out, size, k_no_match_text); break;
        case ReadResult::team_name_invalid: std::snprintf(out, size, k_team_name_text, k_team_name_size - 1); break;
        case ReadResult::event_layout: std::snprintf(out, size, k_event_layout_text, state.failed_event); break;
        case ReadResult::too_many_rows: std::snprintf(out, size, k_too_many_rows_text, k_max_used_rows); break;
        case ReadResult::not_calendar: copy_text(out, size, k_not_calendar_text); break;
        case ReadResult::incomplete: copy_text(out, size, k_incomplete_text); break;
        case ReadResult::not_utf8: copy_text(out, size, k_not_utf8_text); break;
        case ReadResult::read_error: copy_text(out, size, k_read_error_text); break;
    }
}
