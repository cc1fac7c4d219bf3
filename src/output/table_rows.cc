// Row reading shared by the writers. The table's end is the first
// row with day[0] NUL; the search stops at the last row so that a table without its end
// mark is never read past.
#include "output/table_rows.h"

#include "output/markup_escape.h"

namespace {

constexpr char k_team_suffix_lead[] = " / ";
constexpr char k_team_suffix_end[] = ".";

}  // namespace

int end_of_table_row(const RunState& state) {
    int row = 1;
    while (row < k_table_rows - 1 && state.match_table[row].day[0] != '\0') ++row;
    return row;
}

const char* own_team_of(const RunState& state, int row) {
    const int file = state.match_details[row].file;
    return file < k_max_arguments ? state.file_own_teams[file] : "";
}

void put_league_and_team(OutputBuffer& out, const MatchRecord& row) {
    put_escaped(out, row.league, sizeof row.league);
    put_text(out, k_team_suffix_lead);
    put_escaped(out, &row.team_digit, 1);
    put_text(out, k_team_suffix_end);
}
