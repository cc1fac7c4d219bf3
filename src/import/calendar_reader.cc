// The calendar file reader: the club's team of a file, every event into the match table,
// what the file's console line will say, and the loop over all files. Events are the
// file's BEGIN:VEVENT blocks, read front to back with a position that only advances. An
// input that holds the same bytes as an earlier one is not read again.
#include "import/calendar_reader.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "import/club_name.h"
#include "import/event_parser.h"
#include "import/text_search.h"

namespace {


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
        report.failed_event = ++events;
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
        MatchDetails& details = state.match_details[at];
        details.file = static_cast<uint8_t>(file_index);
        copy_text(details.home, sizeof details.home, event.home);
        copy_text(details.away, sizeof details.away, event.away);
        copy_text(details.location, sizeof details.location, event.location);
        copy_text(details.uid, sizeof details.uid, event.uid);
        details.sequence = event.sequence;
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
    // On equal counts the other files may yet tell which side is the club's.
    FileReport& report = state.file_reports[file_index];
    if (state.home_candidate_count == state.away_candidate_count &&
        !copy_text(report.tied_home, sizeof report.tied_home, state.candidate_home)) {
        report.tied_home[0] = '\0';  // too long to be the club's team
    }
    return ReadResult::ok;
}

// The club's side in every row of the file, from first_row on.
void take_club_sides(RunState& state, int first_row) {
    for (int row = first_row; row < state.current_row; ++row) {
        const MatchDetails& details = state.match_details[row];
        take_club_side(state.match_table[row], details.home, details.away, state.own_team);
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
    if (file_index < 0 || file_index >= k_max_arguments) return ReadResult::read_error;
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

// True when team is of the club of the team of a file read other than file_index, one
// that its counts decided.
bool of_run_club(const RunState& state, int files, const ReadResult (&results)[k_max_arguments], int file_index,
                 const char* team) {
    for (int k = 0; k < files && k < k_max_arguments; ++k) {
        const FileReport& other = state.file_reports[k];
        if (k == file_index || state.input_kinds[k] != InputKind::calendar || results[k] != ReadResult::ok ||
            other.same_as != 0 || other.tied_home[0] != '\0') {
            continue;
        }
        if (same_club(state.file_own_teams[k], team)) return true;
    }
    return false;
}

// A file whose candidates were sides equally often (a cup tie of one match) goes to its
// home candidate where only that one is of a club of the run's other files; its rows then
// take that side, and every file's earlier file of the same team is looked for again.
void settle_ties(RunState& state, int files, const ReadResult (&results)[k_max_arguments]) {
    bool changed = false;
    for (int k = 0; k < files && k < k_max_arguments; ++k) {
        const FileReport& report = state.file_reports[k];
        if (state.input_kinds[k] != InputKind::calendar || results[k] != ReadResult::ok || report.same_as != 0 ||
            report.tied_home[0] == '\0' || !of_run_club(state, files, results, k, report.tied_home) ||
            of_run_club(state, files, results, k, state.file_own_teams[k])) {
            continue;
        }
        copy_text(state.file_own_teams[k], k_team_name_size, report.tied_home);
        for (int row = 0; row < state.current_row && row < k_max_used_rows; ++row) {
            const MatchDetails& details = state.match_details[row];
            if (state.match_table[row].day[0] == ' ' || details.file != k) continue;
            take_club_side(state.match_table[row], details.home, details.away, report.tied_home);
        }
        changed = true;
    }
    for (int k = 0; changed && k < files && k < k_max_arguments; ++k) {
        if (state.input_kinds[k] == InputKind::calendar && results[k] == ReadResult::ok && state.file_reports[k].same_as == 0) {
            state.file_reports[k].also_in = earlier_team(state, k) + 1;
        }
    }
}

}  // namespace

int import_calendar_files(RunState& state, int files, ReadResult (&results)[k_max_arguments]) {
    state.current_row = 0;
    state.files_read = 0;
    int failed = 0;
    for (int k = 0; k < files && k < k_max_arguments; ++k) {
        results[k] = ReadResult::ok;
        if (state.input_kinds[k] == InputKind::calendar) results[k] = read_calendar_file(state, k);
        if (results[k] != ReadResult::ok) ++failed;
        state.files_read = k + 1;
    }
    settle_ties(state, files, results);
    return failed;
}
