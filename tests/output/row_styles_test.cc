// The workbook colours: every entry of the style selection, the order of the category
// tests, case sensitivity, and the unfilled styles for every other team digit.
#include "output/row_styles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "driver/bounded_text.h"

namespace {

using Styles = std::array<int32_t, 4>;
const Styles k_plain = {35, 19, 20, 21};

TEST(RowStyles, SelectionTableInTestOrder) {
    const struct {
        const char* league;
        char team_digit;
        Styles styles;
    } cases[] = {
        {"U19 Kreisliga", '1', {61, 62, 34, 63}},
        {"U19 Bezirksliga", '2', {64, 65, 66, 67}},  // "U19" is tested before "liga"
        {"U19", '3', {68, 69, 32, 70}},
        {"Kreisklasse U19", '4', {71, 31, 72, 73}},
        {"U19 U15", '1', {61, 62, 34, 63}},          // "U19" before "U15"
        {"U19", '9', k_plain},
        {"U15 Kreisliga", '1', {58, 59, 30, 60}},
        {"U15", '2', {55, 56, 29, 57}},
        {"U15 Bezirksklasse", '3', {52, 53, 28, 54}},
        {"U15", '4', {49, 27, 50, 51}},
        {"U15", '5', k_plain},                       // a U15 team without a number of its own
        {"Oberliga", '1', {36, 37, 26, 38}},
        {"Kreisklasse", '2', {39, 40, 25, 41}},
        {"Kreisklasse", '3', {42, 23, 43, 44}},
        {"Landesliga", '4', {45, 46, 47, 48}},
        {"Landesliga", '5', k_plain},
        {"Bezirksliga", '0', k_plain},
        {"Liga Nord", '1', k_plain},                 // case-sensitive: "Liga" is not "liga"
        {"u19 Kreisliga", '1', {36, 37, 26, 38}},    // nor is "u19" "U19"
        {"Pokal", '1', k_plain},
        {"", '\0', k_plain},                         // separator and closing rows
    };
    static RunState state;
    reset_run_state(state);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.league) + " / " + c.team_digit);
        state.current_row = 42;
        MatchRecord& row = state.match_table[42];
        ASSERT_TRUE(copy_text(row.league, sizeof row.league, c.league));
        row.team_digit = c.team_digit;
        state.row_styles[0] = state.row_styles[1] = state.row_styles[2] = state.row_styles[3] = -1;
        select_row_styles(state);
        EXPECT_EQ(c.styles, (Styles{state.row_styles[0], state.row_styles[1], state.row_styles[2], state.row_styles[3]}));
    }
}

}  // namespace
