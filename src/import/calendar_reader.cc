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
#include "import/run_club.h"
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

// The clubs a league's file is read for: the club known before the import and the clubs
// of the teams' files of the run.
struct RunClubs {
    char teams[k_max_blocks + 1][k_team_name_size];  // a team (or the club's name) of each club
    int count;                                       // entries in use
};

// True when team is of one of the clubs.
bool of_clubs(const RunClubs& clubs, const char* team) {
    for (int k = 0; k < clubs.count; ++k) {
        if (same_club(clubs.teams[k], team)) return true;
    }
    return false;
}

// Opens the file's next block behind a separator row of its own at current_row.
ReadResult open_block(RunState& state, int file_index, const char* own_team) {
    if (state.block_count < 0 || state.block_count >= k_max_blocks) return ReadResult::too_many_teams;
    // The separator row itself must leave room for the end mark behind it.
    if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
    TeamBlock& block = state.blocks[state.block_count];
    block = TeamBlock{};
    block.file = file_index;
    copy_text(block.own_team, sizeof block.own_team, own_team);
    state.match_table[state.current_row].day[0] = ' ';
    ++state.current_row;
    FileReport& report = state.file_reports[file_index];
    if (report.blocks == 0) report.first_block = state.block_count;
    ++report.blocks;
    ++state.block_count;
    return ReadResult::ok;
}

// The events pass: every event in file order (with team, only those it is a side of) into
// the rows of the last block, with what the club calendar keeps of it beside the row, and
// the candidates counted over all events; a called-off match gives a row marked so and is
// counted apart. events tells how many events the file holds.
ReadResult take_events(RunState& state, int file_index, const char* team, int& events) {
    const TextSpan text = loaded_text(state);
    FileReport& report = state.file_reports[file_index];
    const int block_index = state.block_count - 1;
    TeamBlock& block = state.blocks[block_index];
    DeclaredZones zones{};
    state.home_candidate_count = 0;
    state.away_candidate_count = 0;
    events = 0;
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
        if (team != nullptr && std::strcmp(event.home, team) != 0 && std::strcmp(event.away, team) != 0) continue;
        const int at = state.current_row;
        if (at < 0 || at >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[at] = event.row;
        MatchDetails& details = state.match_details[at];
        details.block = static_cast<uint8_t>(block_index);
        copy_text(details.home, sizeof details.home, event.home);
        copy_text(details.away, sizeof details.away, event.away);
        copy_text(details.location, sizeof details.location, event.location);
        copy_text(details.uid, sizeof details.uid, event.uid);
        details.sequence = event.sequence;
        details.cancelled = event.cancelled;
        ++(event.cancelled ? block.cancelled : block.matches);
        ++state.current_row;
    }
    return ReadResult::ok;
}

// The club's team of a team's file: the candidate that is a side of more events, the away
// one on equal counts.
ReadResult take_club_team(RunState& state) {
    const char* winner = state.home_candidate_count > state.away_candidate_count ? state.candidate_home
                                                                                 : state.candidate_away;
    // A candidate may be as long as any team name; the club's own must fit its field.
    if (!copy_text(state.own_team, sizeof state.own_team, winner)) return ReadResult::team_name_invalid;
    TeamBlock& block = state.blocks[state.block_count - 1];
    copy_text(block.own_team, sizeof block.own_team, state.own_team);
    // On equal counts the other files may yet tell which side is the club's.
    if (state.home_candidate_count == state.away_candidate_count &&
        !copy_text(block.tied_home, sizeof block.tied_home, state.candidate_home)) {
        block.tied_home[0] = '\0';  // too long to be the club's team
    }
    return ReadResult::ok;
}

// The club's side in every row of the last block (its rows from first_row on) and the
// block's league.
void finish_block(RunState& state, int first_row) {
    TeamBlock& block = state.blocks[state.block_count - 1];
    const int end_row = state.current_row;
    copy_text(state.own_team, sizeof state.own_team, block.own_team);
    for (int row = first_row; row < end_row; ++row) {
        const MatchDetails& details = state.match_details[row];
        take_club_side(state.match_table[row], details.home, details.away, block.own_team);
    }
    copy_text(block.league, sizeof block.league, state.match_table[end_row - 1].league);
}

// The teams of the clubs among the sides of the league's file, in the order they first
// appear, each noted among the clubs the question lists; fills teams, returns their count.
ReadResult club_teams_of(RunState& state, const RunClubs* clubs, char (&teams)[k_max_blocks][k_team_name_size],
                         int& count) {
    const TextSpan text = loaded_text(state);
    count = 0;
    for (int begin = next_event_begin(text, 0); begin >= 0;) {
        char sides[2][k_opponent_size];
        if (event_teams(text, begin, sides[0], sides[1]) != TeamsRead::done) return ReadResult::event_layout;
        for (const char* side : sides) {
            note_league_club(state, side);
            if (clubs == nullptr || !of_clubs(*clubs, side)) continue;
            bool known = false;
            for (int k = 0; k < count; ++k) known = known || std::strcmp(teams[k], side) == 0;
            if (known) continue;
            if (count >= k_max_blocks) return ReadResult::too_many_teams;
            if (!copy_text(teams[count], k_team_name_size, side)) return ReadResult::team_name_invalid;
            ++count;
        }
        const int end = line_end(text, begin);
        begin = end < 0 ? -1 : next_event_begin(text, end + 1);
    }
    return ReadResult::ok;
}

// A league's file: one block for each of the club's teams in it, in the order they first
// appear, with every match of the team. Without clubs (none known yet) it gives one block
// of all its matches and no team, so that the run's season can be worked out.
ReadResult take_league_blocks(RunState& state, int file_index, const RunClubs* clubs, int first_row) {
    char teams[k_max_blocks][k_team_name_size];
    int count = 0;
    ReadResult result = club_teams_of(state, clubs, teams, count);
    if (result != ReadResult::ok || clubs == nullptr) return result;
    if (count == 0) return ReadResult::no_club_team;
    // The provisional block of all matches goes; the team blocks take its place.
    FileReport& report = state.file_reports[file_index];
    std::memset(&state.match_table[first_row], 0, static_cast<size_t>(state.current_row - first_row) * sizeof(MatchRecord));
    state.current_row = first_row;
    state.block_count = report.first_block;
    report.blocks = 0;
    for (int k = 0; k < count && result == ReadResult::ok; ++k) {
        result = open_block(state, file_index, teams[k]);
        const int block_row = state.current_row;
        if (result == ReadResult::ok) {
            int events = 0;
            result = take_events(state, file_index, teams[k], events);
        }
        if (result == ReadResult::ok) finish_block(state, block_row);
    }
    return result;
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

// The earlier block of the same team and league, or -1.
int earlier_team(const RunState& state, int block_index) {
    const TeamBlock& block = state.blocks[block_index];
    for (int k = 0; k < block_index; ++k) {
        const TeamBlock& earlier = state.blocks[k];
        if (block.own_team[0] != '\0' && std::strcmp(earlier.own_team, block.own_team) == 0 &&
            std::strcmp(earlier.league, block.league) == 0) {
            return k;
        }
    }
    return -1;
}

// Loads input_files[file_index] and, unless an earlier input held the same bytes, fills
// its blocks from current_row on: a team's file one, a league's file one per team of
// clubs (one without a team where clubs is null). Any result but ok means nothing of the
// file may be relied on; no row or block of it stays behind.
ReadResult read_calendar_file(RunState& state, int file_index, const RunClubs* clubs) {
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

    const int first_row = state.current_row;
    const int first_block = state.block_count;
    int events = 0;
    result = take_candidates(state);
    if (result == ReadResult::ok) result = open_block(state, file_index, "");
    if (result == ReadResult::ok) result = take_events(state, file_index, nullptr, events);
    if (result == ReadResult::ok) {
        report.league_file = state.home_candidate_count < events && state.away_candidate_count < events;
        result = report.league_file ? take_league_blocks(state, file_index, clubs, first_row) : take_club_team(state);
        if (result == ReadResult::ok && !report.league_file) finish_block(state, first_row + 1);
    }
    if (result != ReadResult::ok) {
        // No row of a file that failed stays behind, not even the ones read before its failure.
        std::memset(&state.match_table[first_row], 0,
                    static_cast<size_t>(state.current_row - first_row) * sizeof(MatchRecord));
        state.current_row = first_row;
        state.block_count = first_block;
        report.blocks = 0;
        return result;
    }
    for (int b = first_block; b < state.block_count; ++b) state.blocks[b].also_in = earlier_team(state, b) + 1;
    return ReadResult::ok;
}

// True when team is of the club of a block other than block_index, one that its counts decided.
bool of_run_club(const RunState& state, int block_index, const char* team) {
    for (int b = 0; b < state.block_count && b < k_max_blocks; ++b) {
        const TeamBlock& other = state.blocks[b];
        if (b == block_index || other.tied_home[0] != '\0' || other.own_team[0] == '\0') continue;
        if (same_club(other.own_team, team)) return true;
    }
    return false;
}

// A team's file whose candidates were sides equally often (a cup tie of one match) goes
// to its home candidate where only that one is of a club of the run's other blocks; its
// rows then take that side, and every block's earlier block of the same team is looked
// for again.
void settle_ties(RunState& state) {
    bool changed = false;
    for (int b = 0; b < state.block_count && b < k_max_blocks; ++b) {
        TeamBlock& block = state.blocks[b];
        if (block.tied_home[0] == '\0' || !of_run_club(state, b, block.tied_home) ||
            of_run_club(state, b, block.own_team)) {
            continue;
        }
        copy_text(block.own_team, k_team_name_size, block.tied_home);
        for (int row = 0; row < state.current_row && row < k_max_used_rows; ++row) {
            const MatchDetails& details = state.match_details[row];
            if (state.match_table[row].day[0] == ' ' || details.block != b) continue;
            take_club_side(state.match_table[row], details.home, details.away, block.own_team);
        }
        changed = true;
    }
    for (int b = 0; changed && b < state.block_count && b < k_max_blocks; ++b) {
        state.blocks[b].also_in = earlier_team(state, b) + 1;
    }
}

// Reads every calendar argument in order from row 0; league's files are read for clubs.
// Returns how many failed.
int read_all_files(RunState& state, int files, ReadResult (&results)[k_max_arguments], const RunClubs* clubs) {
    // A second reading starts from an empty table: no row of the first may stay behind
    // the new end, nor a match's fields under a row that is now a separator.
    const int used = state.current_row < 0 || state.current_row > k_max_used_rows ? k_max_used_rows : state.current_row;
    std::memset(state.match_table, 0, static_cast<size_t>(used) * sizeof(MatchRecord));
    std::memset(state.match_details, 0, static_cast<size_t>(used) * sizeof(MatchDetails));
    state.current_row = 0;
    state.block_count = 0;
    state.league_club_count = 0;
    state.files_read = 0;
    int failed = 0;
    for (int k = 0; k < files && k < k_max_arguments; ++k) {
        results[k] = ReadResult::ok;
        if (state.input_kinds[k] == InputKind::calendar) results[k] = read_calendar_file(state, k, clubs);
        if (results[k] != ReadResult::ok) ++failed;
        state.files_read = k + 1;
    }
    settle_ties(state);
    return failed;
}

// The clubs the league's files are read for: the club known before, and the club of each
// team's file that its counts decided (a cup tie's side may be the other club's). False
// when there is none.
bool gather_clubs(const RunState& state, RunClubs& clubs) {
    clubs.count = 0;
    if (state.club[0] != '\0') copy_text(clubs.teams[clubs.count++], k_team_name_size, state.club);
    for (int b = 0; b < state.block_count && b < k_max_blocks; ++b) {
        const TeamBlock& block = state.blocks[b];
        if (block.own_team[0] == '\0' || block.tied_home[0] != '\0' || clubs.count > k_max_blocks) continue;
        copy_text(clubs.teams[clubs.count++], k_team_name_size, state.blocks[b].own_team);
    }
    return clubs.count > 0;
}

}  // namespace

int import_calendar_files(RunState& state, int files, ReadResult (&results)[k_max_arguments]) {
    int failed = read_all_files(state, files, results, nullptr);
    if (league_files_waiting(state)) {
        // The league's files are read again, now for the clubs the teams' files name.
        RunClubs clubs;  // NOLINT(cppcoreguidelines-pro-type-member-init): gather_clubs fills what is read
        if (!gather_clubs(state, clubs)) return failed;
        failed = read_all_files(state, files, results, &clubs);
    }
    take_run_club(state);
    return failed;
}

bool league_files_waiting(const RunState& state) {
    for (int k = 0; k < state.files_read && k < k_max_arguments; ++k) {
        const FileReport& report = state.file_reports[k];
        if (report.league_file && report.blocks == 1 && state.blocks[report.first_block].own_team[0] == '\0') return true;
    }
    return false;
}
