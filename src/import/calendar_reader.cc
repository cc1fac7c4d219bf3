// The calendar file reader: the club's team of a file, every event into the match
// table, the per-file line, and the loop over all files. Events are the file's
// BEGIN:VEVENT blocks, read front to back with a position that only advances.
#include "import/calendar_reader.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "import/event_parser.h"
#include "import/text_search.h"

namespace {

constexpr char k_file_line[] = "%s (%s): %i Spiele";
constexpr char k_cancelled_part[] = ", %i abgesagt";
constexpr char k_line_end[] = "\n";

constexpr char k_too_large_text[] = "Datei zu gross (max. %i Zeichen)";
constexpr char k_no_match_text[] = "keine Spielpaarung gefunden";
constexpr char k_team_name_text[] = "Mannschaftsname leer oder zu lang (max. %i Zeichen)";
constexpr char k_event_layout_text[] = "Spiel %i passt nicht zum erwarteten Aufbau";
constexpr char k_too_many_rows_text[] = "zu viele Spiele (max. %i Tabellenzeilen)";
constexpr char k_not_utf8_text[] = "Datei ist nicht UTF-8-kodiert";
constexpr char k_incomplete_text[] = "Datei ist unvollstaendig (Kalenderende fehlt)";
constexpr char k_not_calendar_text[] = "Datei ist keine Kalenderdatei (.ics)";
constexpr char k_read_error_text[] = "Datei konnte nicht gelesen werden";

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

// First pass: the two team names of the summary of the file's first event.
ReadResult take_candidates(RunState& state) {
    const TextSpan text = loaded_text(state);
    const int begin = next_event_begin(text, 0);
    if (begin < 0) return ReadResult::no_match_found;
    switch (event_teams(text, begin, state.candidate_home, state.candidate_away)) {
        case TeamsRead::done: return ReadResult::ok;
        case TeamsRead::no_summary: return ReadResult::no_match_found;
        case TeamsRead::bad_name: return ReadResult::team_name_invalid;
    }
    return ReadResult::no_match_found;
}

// What the last pass counted: every event read, and those called off among them.
struct EventCount {
    int events;
    int cancelled;
};

// Last pass: every event, in file order, into the rows from current_row on, and beside
// each row what the club calendar keeps of it; a called-off match gives no row and is
// counted apart.
ReadResult take_events(RunState& state, EventCount& count) {
    const TextSpan text = loaded_text(state);
    for (int begin = next_event_begin(text, 0); begin >= 0;) {
        state.failed_event = count.events + 1;
        ParsedEvent event{};
        if (!parse_event(text, begin, state.own_team, event)) return ReadResult::event_layout;
        ++count.events;
        begin = next_event_begin(text, event.next);
        if (event.cancelled) {
            ++count.cancelled;
            continue;
        }
        const int at = state.current_row;
        if (at < 0 || at >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[at] = event.row;
        copy_text(state.match_homes[at], k_opponent_size, event.home);
        copy_text(state.match_aways[at], k_opponent_size, event.away);
        copy_text(state.match_locations[at], k_location_size, event.location);
        ++state.current_row;
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
    std::printf(k_file_line, state.own_team, league, count.events - count.cancelled);
    if (count.cancelled > 0) std::printf(k_cancelled_part, count.cancelled);
    std::fputs(k_line_end, stdout);
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
