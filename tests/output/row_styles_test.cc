// The workbook colours: for each team category (reached through a league text of that
// category) the shades of teams 1 to 4, and the unfilled styles for every other team
// digit and for leagues of no known category.
#include "output/row_styles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "sample_tables.h"

namespace {

using Styles = std::array<int32_t, 4>;
const Styles k_plain = {35, 19, 20, 21};

TEST(RowStyles, ShadesByCategoryAndTeamNumber) {
    const struct {
        const char* league;  // one league text of the category
        Styles teams[4];     // teams '1' to '4'
    } categories[] = {
        {"U19 Bezirksliga", {{61, 62, 34, 63}, {64, 65, 66, 67}, {68, 69, 32, 70}, {71, 31, 72, 73}}},
        {"U15 Kreisliga", {{58, 59, 30, 60}, {55, 56, 29, 57}, {52, 53, 28, 54}, {49, 27, 50, 51}}},
        {"Kreisklasse", {{36, 37, 26, 38}, {39, 40, 25, 41}, {42, 23, 43, 44}, {45, 46, 47, 48}}},
        {"Pokal", {k_plain, k_plain, k_plain, k_plain}},
    };
    static RunState state;
    reset_run_state(state);
    for (const auto& category : categories) {
        // Teams 1 to 4, then digits that name no shade: a team 5, a U15 team without a
        // number of its own ('5' from "U15"), '0', '9' and the NUL of separator rows.
        const char digits[] = {'1', '2', '3', '4', '5', '0', '9', '\0'};
        for (size_t d = 0; d < sizeof digits; ++d) {
            SCOPED_TRACE(std::string(category.league) + " / " + std::to_string(d));
            put_team(state, 42, category.league, digits[d]);
            state.row_styles[0] = state.row_styles[1] = state.row_styles[2] = state.row_styles[3] = -1;
            select_row_styles(state);
            const Styles expected = d < 4 ? category.teams[d] : k_plain;
            EXPECT_EQ(expected, (Styles{state.row_styles[0], state.row_styles[1], state.row_styles[2], state.row_styles[3]}));
        }
    }
}

}  // namespace
