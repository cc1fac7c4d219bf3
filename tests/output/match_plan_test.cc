// The match days' plan: how collisions are counted where one match stands in several rows.
#include "output/match_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "sample_tables.h"

namespace {

// Twenty home-match rows at one time in one hall: five teams of 7, 4, 2, 2 and 1 matches,
// four of them a second time in an old download of their team (blocks 5 to 8). Of the 120
// pairs of the sixteen matches 29 are one team's: 91 collisions, counted and listed once
// each (by rows they were 147).
TEST(MatchPlan, AMatchOfSeveralRowsCollidesOnce) {
    static RunState state;
    reset_run_state(state);
    const int teams[] = {0, 1, 2, 3, 4, 0, 1, 3, 4};
    const int matches[] = {7, 4, 2, 2, 1, 1, 1, 1, 1};
    for (int file = 0, row = 0; file < 9; ++file) {
        state.blocks[file].also_in = file < 5 ? 0 : teams[file] + 1;
        put_separator(state, row++);
        for (int k = 0; k < matches[file]; ++k, ++row) {
            const std::string away = "Gast " + std::to_string(teams[file]) + "-" + std::to_string(k);
            put_match(state, row, {"2025-10-04", "Sa", "15:00", "Halle", true, "Kreisliga", '1', away.c_str()});
            state.match_details[row] = MatchDetails{static_cast<uint8_t>(file), "TuS", {}, "Halle", {}, 0, false};
            copy_text(state.match_details[row].away, k_opponent_size, away.c_str());
        }
    }
    static MatchPlan plan;
    plan_match_days(state, plan);
    EXPECT_EQ(20, plan.count);
    EXPECT_EQ(91, plan.collision_count);
    EXPECT_EQ(91, plan.listed);
}

// Three overlapping home matches of three teams in one hall, the middle one called off: it
// stays in the plan and its hall, but only the other two collide.
TEST(MatchPlan, ACalledOffMatchCollidesWithNone) {
    static RunState state;
    reset_run_state(state);
    const char* times[] = {"15:00", "15:30", "16:00"};
    for (int row = 1; row <= 3; ++row) {
        put_match(state, row, {"2025-10-04", "Sa", times[row - 1], "Halle", true, "Kreisliga", '1', "Gast"});
        state.match_details[row] = MatchDetails{static_cast<uint8_t>(row - 1), "TuS", "Gast", "Halle", {}, 0, row == 2};
    }
    static MatchPlan plan;
    plan_match_days(state, plan);
    EXPECT_EQ(3, plan.halls[0].count);
    EXPECT_EQ(1, plan.collision_count);
    EXPECT_EQ(3, plan.matches[plan.collisions[0].second].row);
    EXPECT_EQ(-1, plan.matches[1].first_mark);
}

}  // namespace
