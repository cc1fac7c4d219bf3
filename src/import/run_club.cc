// The run's club: the clubs of the league files' teams as the question lists them, the
// user's choice among them, the club of the own teams, and the club an earlier club
// calendar names in its X-WR-CALNAME.
#include "import/run_club.h"

#include <cstring>

#include "core/bounded_text.h"
#include "import/earlier_calendar.h"
#include "import/club_name.h"
#include "import/properties.h"

namespace {

constexpr char k_name_property[] = "X-WR-CALNAME";
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr int k_name_size = k_team_name_size + k_season_size + sizeof k_calendar_title;  // the whole name

// Copies the club of team (its name without the team number) into out; false when it does not fit.
bool club_of(const char* team, char (&out)[k_team_name_size]) {
    return copy_bytes(out, sizeof out, team, club_length(team));
}

// The answer's number from 1 on, or 0 when it is no number of digits alone.
int answer_number(const char* answer) {
    int number = 0;
    for (const char* c = answer; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || number > k_max_league_clubs) return 0;
        number = number * 10 + (*c - '0');
    }
    return number;
}

}  // namespace

void note_league_club(RunState& state, const char* team) {
    char club[k_team_name_size];
    if (!club_of(team, club) || club[0] == '\0') return;
    for (int k = 0; k < state.league_club_count; ++k) {
        if (same_club(state.league_clubs[k], club)) return;
    }
    if (state.league_club_count < 0 || state.league_club_count >= k_max_league_clubs) return;
    copy_text(state.league_clubs[state.league_club_count++], k_team_name_size, club);
}

bool choose_club(RunState& state, const char* answer) {
    char typed[k_team_name_size];
    while (*answer == ' ' || *answer == '\t') ++answer;
    size_t length = std::strlen(answer);
    while (length > 0 && (answer[length - 1] == ' ' || answer[length - 1] == '\t' || answer[length - 1] == '\r' ||
                          answer[length - 1] == '\n')) {
        --length;
    }
    if (length == 0 || !copy_bytes(typed, sizeof typed, answer, length)) return false;
    const int number = answer_number(typed);
    for (int k = 0; k < state.league_club_count && k < k_max_league_clubs; ++k) {
        if (number == k + 1 || (number == 0 && same_club(state.league_clubs[k], typed) &&
                                club_length(typed) == length)) {
            return copy_text(state.club, sizeof state.club, state.league_clubs[k]);
        }
    }
    return false;
}

void take_run_club(RunState& state) {
    int best = -1;
    int best_count = 0;
    for (int b = 0; b < state.block_count && b < k_max_blocks; ++b) {
        const char* team = state.blocks[b].own_team;
        if (team[0] == '\0') continue;
        int count = 0;
        bool earlier = false;  // the club was counted at its first block already: nothing more to count
        for (int other = 0; other < state.block_count && other < k_max_blocks && !earlier; ++other) {
            if (!same_club(team, state.blocks[other].own_team)) continue;
            earlier = other < b;
            ++count;
        }
        if (!earlier && count > best_count) {
            best = b;
            best_count = count;
        }
    }
    if (best >= 0) club_of(state.blocks[best].own_team, state.club);
}

bool remembered_club(RunState& state, FILE* calendar) {
    // A club calendar of a whole season may be larger than a download: read line by line.
    LineStream lines;  // NOLINT(cppcoreguidelines-pro-type-member-init): start_lines sets what is read
    start_lines(lines, calendar);
    char line[k_line_size];
    int line_length = 0;
    while (next_line(lines, line, line_length)) {
        const TextSpan text{line, line_length};
        if (marker_at(text, 0, k_event_begin)) return false;  // the name stands in front of the events
        ContentLine parts{};
        if (read_content_line(text, 0, parts) && is_named(text, parts, k_name_property)) {
            char name[k_name_size];
            bool cut = false;
            size_t length = unescape_text(text, parts.value, parts.end, name, sizeof name, cut);
            const size_t lead = sizeof k_calendar_title - 1;
            if (cut || length <= lead || std::strncmp(name, k_calendar_title, lead) != 0) return false;
            // The season is the last word (a calendar of this run's season ends in it whole).
            const size_t season = std::strlen(state.season);
            if (season > 0 && length > lead + season && name[length - season - 1] == ' ' &&
                std::strcmp(name + length - season, state.season) == 0) {
                length -= season + 1;
            } else {
                while (length > lead && name[length - 1] != ' ') --length;
                if (length > lead) --length;
            }
            if (length <= lead) return false;  // a calendar of an earlier version names no club
            return copy_bytes(state.club, sizeof state.club, name + lead, length - lead);
        }
    }
    return false;
}
