// The calendar file reader: the club's team of a file, every event into the match table,
// what the file's console line will say, and the loop over all files. Events are the
// file's BEGIN:VEVENT blocks, read front to back with a position that only advances. An
// input that holds the same bytes as an earlier one is not read again.
#include "import/calendar_reader.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "import/event_parser.h"
#include "import/text_search.h"

namespace {

constexpr char k_file_line[] = "%s (%s): %i Spiele%s\n";  // team, league, matches, cancelled part
constexpr char k_cancelled_part[] = ", %i abgesagt";
constexpr char k_same_content[] = "%s: gleicher Inhalt wie %s, wird uebersprungen\n";
constexpr char k_same_team[] = "Achtung: %s (%s) steht auch in %s\n";
constexpr int k_cancelled_size = 32;  // ", <number> abgesagt"

constexpr char k_too_large_text[] = "Datei zu gross (max. %i Zeichen)";
constexpr char k_no_match_text[] = "keine Spielpaarung gefunden";
constexpr char k_team_name_text[] = "Mannschaftsname leer oder zu lang (max. %i Zeichen)";
constexpr char k_event_layout_text[] = "Spiel %i passt nicht zum erwarteten Aufbau";
constexpr char k_unknown_zone_text[] = "Spiel %i hat eine unbekannte Zeitzone";
constexpr char k_too_many_rows_text[] = "zu viele Spiele (max. %i Tabellenzeilen)";
constexpr char k_not_utf8_text[] = "Datei ist nicht UTF-8-kodiert";
constexpr char k_incomplete_text[] = "Datei ist unvollstaendig (Kalenderende fehlt)";
constexpr char k_not_calendar_text[] = "Datei ist keine Kalenderdatei (.ics)";
constexpr char k_read_error_text[] = "Datei konnte nicht gelesen werden";

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

// Counts a candidate once for every event in which it is a whole side of the summary.
void count_sides(RunState& state, const ParsedEvent& event) {
    const auto is_side = [&](const char* name) {
        return std::strcmp(event.home, name) == 0 || std::strcmp(event.away, name) == 0;
    };
    if (is_side(state.candidate_home)) ++state.home_candidate_count;
    if (is_side(state.candidate_away)) ++state.away_candidate_count;
}

// The events pass: every event, in file order, into the rows from current_row on, with
// what the club calendar keeps of it beside the row, and the candidates counted; a
// called-off match gives no row and is counted apart.
ReadResult take_events(RunState& state, int file_index, FileReport& report) {
    const TextSpan text = loaded_text(state);
    DeclaredZones zones{};
    state.home_candidate_count = 0;
    state.away_candidate_count = 0;
    int events = 0;
    for (int begin = next_event_begin(text, 0); begin >= 0;) {
        state.failed_event = ++events;
        ParsedEvent event{};
        switch (parse_event(text, begin, zones, event)) {
            case EventRead::done: break;
            case EventRead::layout: return ReadResult::event_layout;
            case EventRead::unknown_zone: return ReadResult::unknown_zone;
        }
        count_sides(state, event);
        begin = next_event_begin(text, event.next);
        if (event.cancelled) {
            ++report.cancelled;
            continue;
        }
        const int at = state.current_row;
        if (at < 0 || at >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[at] = event.row;
        state.match_files[at] = static_cast<uint8_t>(file_index);
        copy_text(state.match_homes[at], k_opponent_size, event.home);
        copy_text(state.match_aways[at], k_opponent_size, event.away);
        copy_text(state.match_locations[at], k_location_size, event.location);
        copy_text(state.match_uids[at], k_uid_size, event.uid);
        state.match_sequences[at] = event.sequence;
        ++report.matches;
        ++state.current_row;
    }
    return ReadResult::ok;
}

// The club's team: the candidate that is a side of more events, the away one on equal counts.
ReadResult take_club_team(RunState& state, int file_index) {
    const char* winner = state.home_candidate_count > state.away_candidate_count ? state.candidate_home
                                                                                 : state.candidate_away;
    // A candidate may be as long as any team name; the club's own must fit its field.
    if (!copy_text(state.own_team, sizeof state.own_team, winner)) return ReadResult::team_name_invalid;
    copy_text(state.file_own_teams[file_index], k_team_name_size, state.own_team);
    return ReadResult::ok;
}

// The club's side in every row of the file, from first_row on.
void take_club_sides(RunState& state, int first_row) {
    for (int row = first_row; row < state.current_row; ++row) {
        take_club_side(state.match_table[row], state.match_homes[row], state.match_aways[row], state.own_team);
    }
}

// The earlier input whose bytes are the loaded file's, or -1: one of the same loaded
// length, then compared byte by byte. Only files that were read count, so that a third
// copy names the first.
int earlier_copy(RunState& state, int file_index, const FileReport& report) {
    for (int k = 0; k < file_index; ++k) {
        const FileReport& earlier = state.file_reports[k];
        if (earlier.same_as == 0 && earlier.text_length == report.text_length &&
            same_stream_bytes(state.input_files[k], state.input_files[file_index])) {
            return k;
        }
    }
    return -1;
}

// The earlier input of the same team and league, or -1.
int earlier_team(const RunState& state, int file_index) {
    const FileReport& report = state.file_reports[file_index];
    for (int k = 0; k < file_index; ++k) {
        const FileReport& earlier = state.file_reports[k];
        if (earlier.same_as == 0 && std::strcmp(state.file_own_teams[k], state.file_own_teams[file_index]) == 0 &&
            std::strcmp(earlier.league, report.league) == 0) {
            return k;
        }
    }
    return -1;
}

// Loads input_files[file_index] and, unless an earlier input held the same bytes, fills
// its separator row and one row per event from current_row on; its report says what the
// file's console line tells. Any result but ok means nothing of the file may be relied on.
ReadResult read_calendar_file(RunState& state, int file_index) {
    if (file_index < 0 || file_index >= k_max_input_files) return ReadResult::read_error;
    FileReport& report = state.file_reports[file_index];
    report = FileReport{};
    ReadResult result = load_calendar_text(state, state.input_files[file_index]);
    if (result == ReadResult::ok) result = check_calendar_text(loaded_text(state));
    if (result != ReadResult::ok) return result;
    report.text_length = state.file_length;
    const int copy = earlier_copy(state, file_index, report);
    if (copy >= 0) {
        report.same_as = copy + 1;
        return ReadResult::ok;
    }

    // The separator row itself must leave room for the end mark behind it.
    if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
    const int separator_row = state.current_row;
    state.match_table[separator_row].day[0] = ' ';
    ++state.current_row;

    result = take_candidates(state);
    if (result == ReadResult::ok) result = take_events(state, file_index, report);
    if (result == ReadResult::ok) result = take_club_team(state, file_index);
    if (result != ReadResult::ok) {
        // No row of a file that failed stays behind, not even the ones read before its failure.
        std::memset(&state.match_table[separator_row], 0,
                    static_cast<size_t>(state.current_row - separator_row) * sizeof(MatchRecord));
        state.current_row = separator_row;
        return result;
    }
    take_club_sides(state, separator_row + 1);

    copy_text(report.league, sizeof report.league, state.match_table[state.current_row - 1].league);
    report.also_in = earlier_team(state, file_index) + 1;
    return ReadResult::ok;
}

}  // namespace

ReadResult import_calendar_files(RunState& state, int files, int& failed_file) {
    state.current_row = 0;
    state.files_read = 0;
    for (int k = 0; k < files; ++k) {
        failed_file = k;
        const ReadResult result = read_calendar_file(state, k);
        if (result != ReadResult::ok) return result;
        state.files_read = k + 1;
    }
    failed_file = -1;
    return ReadResult::ok;
}

void describe_file(const RunState& state, int file, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (file < 0 || file >= k_max_input_files) return;
    const FileReport& report = state.file_reports[file];
    const int same_as = report.same_as - 1;
    if (same_as >= 0 && same_as < k_max_input_files) {
        std::snprintf(out, size, k_same_content, state.file_display_names[file], state.file_display_names[same_as]);
        return;
    }
    char cancelled[k_cancelled_size] = "";
    if (report.cancelled > 0) std::snprintf(cancelled, sizeof cancelled, k_cancelled_part, report.cancelled);
    const int used = std::snprintf(out, size, k_file_line, state.file_own_teams[file], report.league, report.matches,
                                   cancelled);
    const int also_in = report.also_in - 1;
    if (also_in >= 0 && also_in < k_max_input_files && used > 0 && static_cast<size_t>(used) < size) {
        std::snprintf(out + used, size - static_cast<size_t>(used), k_same_team, state.file_own_teams[file],
                      report.league, state.file_display_names[also_in]);
    }
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
        case ReadResult::unknown_zone: std::snprintf(out, size, k_unknown_zone_text, state.failed_event); break;
        case ReadResult::too_many_rows: std::snprintf(out, size, k_too_many_rows_text, k_max_used_rows); break;
        case ReadResult::not_calendar: copy_text(out, size, k_not_calendar_text); break;
        case ReadResult::incomplete: copy_text(out, size, k_incomplete_text); break;
        case ReadResult::not_utf8: copy_text(out, size, k_not_utf8_text); break;
        case ReadResult::read_error: copy_text(out, size, k_read_error_text); break;
    }
}
