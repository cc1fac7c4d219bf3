// Row reading shared by the writers. The table's end is the first
// row with day[0] NUL; the search stops at the last row so that a table without its end
// mark is never read past. A row's club team is worked out here and nowhere else.
#include "output/table_rows.h"

#include <cstring>

#include "output/markup_escape.h"

namespace {

constexpr char k_team_suffix_lead[] = " / ";
constexpr char k_team_suffix_end[] = ".";
constexpr size_t k_date_text_size = 32;  // a date and time as the writers' patterns give it; a longer one goes out in parts

}  // namespace

int end_of_table_row(const RunState& state) {
    int row = 1;
    while (row < k_table_rows - 1 && state.match_table[row].day[0] != '\0') ++row;
    return row;
}

// The first block of the team's name and league, as the import found it. So the first teams
// of two sports, both named as the club, are two teams, and two downloads of one team (or
// a team's file and the league's file it plays in) are one.
int team_of(const RunState& state, int row) {
    const int block = state.match_details[row].block;
    if (block >= k_max_blocks) return -1;
    const int first_block = state.blocks[block].also_in - 1;
    return first_block >= 0 ? first_block : block;
}

// The team's first block has the same name as every later one (the import compares names).
const char* own_team_of(const RunState& state, int row) {
    const int team = team_of(state, row);
    return team >= 0 ? state.blocks[team].own_team : "";
}

const char* location_of(const RunState& state, int row) { return state.match_details[row].location; }

bool called_off(const RunState& state, int row) { return state.match_details[row].cancelled; }

bool same_home_and_away(const RunState& state, int a, int b) {
    return std::strcmp(state.match_details[a].home, state.match_details[b].home) == 0 &&
           std::strcmp(state.match_details[a].away, state.match_details[b].away) == 0;
}

void put_league_and_team(OutputBuffer& out, const MatchRecord& row) {
    put_escaped(out, row.league, sizeof row.league);
    put_text(out, k_team_suffix_lead);
    put_escaped(out, &row.team_digit, 1);
    put_text(out, k_team_suffix_end);
}

void put_row_date(OutputBuffer& out, const MatchRecord& row, const char* pattern) {
    // The fields are a few bytes each: gathered here, byte by byte, and written at once.
    char text[k_date_text_size];
    size_t length = 0;
    const auto add = [&](const char* field, size_t size) {
        if (length + size > sizeof text) {  // every field is far shorter than the buffer
            put_bytes(out, text, length);
            length = 0;
        }
        for (size_t i = 0; i < size && field[i] != '\0'; ++i) text[length++] = field[i];
    };
    for (const char* at = pattern; *at != '\0'; ++at) {
        switch (*at) {
            case 'W': add(row.weekday, sizeof row.weekday); break;
            case 'D': add(row.day, sizeof row.day); break;
            case 'M': add(row.month, sizeof row.month); break;
            case 'Y': add(row.year, sizeof row.year); break;
            case 'h': add(row.hour, sizeof row.hour); break;
            case 'm': add(row.minute, sizeof row.minute); break;
            default: add(at, 1); break;
        }
    }
    put_bytes(out, text, length);
}
