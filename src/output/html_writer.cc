// The HTML table fragment: a fixed head, one table row per table row from row 1 on (four
// cells of a match, or one empty cell for a separator; a called-off match left out), the table end. Cells carry a
// class naming the first two teams of each category. Calendar texts are escaped so that
// they cannot inject markup into the page.
#include "output/html_writer.h"

#include "output/markup_escape.h"
#include "output/output_buffer.h"
#include "output/table_rows.h"
#include "output/team_category.h"

namespace {

constexpr int k_html_class_count = 7;   // the plain opener and two teams of three categories
constexpr int k_html_opener_size = 50;  // each opener at most 49 bytes and its NUL

// Cell openers by html_class_index.
constexpr char html_cell_openers[k_html_class_count][k_html_opener_size] = {
    "\n                    <td>",
    "\n                    <td class=\"Erwachsene_1\">",
    "\n                    <td class=\"Erwachsene_2\">",
    "\n                    <td class=\"Jugend_U19_1\">",
    "\n                    <td class=\"Jugend_U19_2\">",
    "\n                    <td class=\"Jugend_U15_1\">",
    "\n                    <td class=\"Jugend_U15_2\">",
};

// html_class_index per category (TeamCategory order) and team: [0] any other digit, [1] '1', [2] '2'.
constexpr char k_class_by_team[][3] = {
    {0, 3, 4},  // u19
    {0, 5, 6},  // u15
    {0, 1, 2},  // adult
    {0, 0, 0},  // other
};

constexpr char html_table_head[] =
    "\n            <table>"
    "\n                <head>"
    "\n                    <td>Datum/ Zeit</td>"
    "\n                    <td>Spielort</td>"
    "\n                    <td>Liga/ Mannschaft</td>"
    "\n                    <td>Gegner</td>"
    "\n                </head>\n";
constexpr char k_date_and_time[] = "W, D.M.Y h:m";  // "Sa, 19.09.2015 18:00"
constexpr char k_row_opener[] = "\n                <tr>";
constexpr char k_cell_closer[] = "</td>";
constexpr char k_row_closer[] = "\n                </tr>";
constexpr char k_table_end[] = "\n            </table>";

// The cell opener that html_class_index names; the plain one for a value outside the table.
const char* cell_opener(const RunState& state) {
    const unsigned index = static_cast<unsigned char>(state.html_class_index);
    return index < k_html_class_count ? html_cell_openers[index] : html_cell_openers[0];
}

// The four cells of a match row after the first opener, up to the last cell's text.
void put_match_cells(OutputBuffer& out, const MatchRecord& row, const char* opener) {
    put_row_date(out, row, k_date_and_time);
    put_text(out, k_cell_closer);
    put_text(out, opener);
    put_escaped(out, row.venue, sizeof row.venue);
    put_text(out, k_cell_closer);
    put_text(out, opener);
    put_league_and_team(out, row);
    put_text(out, k_cell_closer);
    put_text(out, opener);
    put_escaped(out, row.opponent, sizeof row.opponent);
}

// Sets html_class_index (0..6) from category, that of the league of match_table[current_row], and its team_digit.
void select_html_class(RunState& state, TeamCategory category) {
    const MatchRecord& row = state.match_table[state.current_row];
    const int team = row.team_digit == '1' ? 1 : row.team_digit == '2' ? 2 : 0;
    state.html_class_index = k_class_by_team[static_cast<int>(category)][team];
}

}  // namespace

bool write_html_table(RunState& state, const MatchPlan& plan, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out{};
    start_output(out, stream);
    put_text(out, html_table_head);
    const int end_row = end_of_table_row(state);
    for (state.current_row = 1; state.current_row < end_row; ++state.current_row) {
        if (called_off(state, state.current_row)) continue;
        const MatchRecord& row = state.match_table[state.current_row];
        select_html_class(state, plan.categories[state.current_row]);
        const char* opener = cell_opener(state);
        put_text(out, k_row_opener);
        put_text(out, opener);
        if (row.day[0] != ' ') put_match_cells(out, row, opener);
        put_text(out, k_cell_closer);
        put_text(out, k_row_closer);
    }
    put_text(out, k_table_end);
    return finish_output(out);
}
