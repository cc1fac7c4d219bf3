// Style choice for one workbook row: teams 1 to 4 of a known category get the shade of
// their number, every other row (unknown category, other team digit, separator and
// closing rows) the unfilled styles.
#include "output/row_styles.h"

namespace {

constexpr int k_row_style_count = 4;    // number cell, date cell, middle cells, opponent cell
constexpr int k_shaded_teams = 4;       // teams '1' to '4' of a category are coloured
constexpr int k_shaded_categories = 3;  // u19, u15 and adult have colours; other has none
static_assert(sizeof(RunState::row_styles) / sizeof(int32_t) == k_row_style_count, "one style per cell role");

// The unfilled row: bold number cell and the plain borders of the other columns.
constexpr int32_t k_plain_styles[k_row_style_count] = {35, 19, 20, 21};

// Styles per category (in TeamCategory order) and team number 1 to 4.
constexpr int32_t k_shaded_styles[k_shaded_categories][k_shaded_teams][k_row_style_count] = {
    // U19 youth: yellow, orange, dark orange, red
    {{61, 62, 34, 63}, {64, 65, 66, 67}, {68, 69, 32, 70}, {71, 31, 72, 73}},
    // U15 youth: four greens
    {{58, 59, 30, 60}, {55, 56, 29, 57}, {52, 53, 28, 54}, {49, 27, 50, 51}},
    // adult league: cyans and blues
    {{36, 37, 26, 38}, {39, 40, 25, 41}, {42, 23, 43, 44}, {45, 46, 47, 48}},
};

}  // namespace

void select_row_styles(RunState& state, TeamCategory category) {
    const MatchRecord& row = state.match_table[state.current_row];
    const int team = row.team_digit - '1';
    const int32_t* styles = k_plain_styles;
    if (category != TeamCategory::other && team >= 0 && team < k_shaded_teams) {
        styles = k_shaded_styles[static_cast<int>(category)][team];
    }
    for (int i = 0; i < k_row_style_count; ++i) state.row_styles[i] = styles[i];
}
