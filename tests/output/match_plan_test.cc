// The match days' plan: how collisions are counted where one match stands in several rows.
#include "output/match_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "core/bounded_text.h"
#include "sample_tables.h"

namespace {

// Twenty home-match rows of five teams, all at one time in one hall: the teams have 7, 4,
// 2, 2 and 1 matches, and four matches stand a second time in an old download of their
// team. Sixteen matches, of which 120 pairs overlap and 29 are pairs of one team: 91
// collisions, counted and listed once each; counted by rows they would be 147.
TEST(MatchPlan, AMatchOfSeveralRowsCollidesOnce) {
    static RunState state;
    reset_run_state(state);
    const int matches_of_team[] = {7, 4, 2, 2, 1};
    const int old_download_of[] = {0, 1, 3, 4};  // files 5 to 8: a second row of a team's first match
    int row = 0;
    for (int file = 0; file < 9; ++file) {
        const int team = file < 5 ? file : old_download_of[file - 5];
        const std::string own = "TuS Lindenbr\xC3\xBC" "ck " + std::to_string(team + 1);
        copy_text(state.file_own_teams[file], k_team_name_size, own.c_str());
        if (file >= 5) state.file_reports[file].also_in = team + 1;
        put_separator(state, row++);
        for (int k = 0; k < (file < 5 ? matches_of_team[team] : 1); ++k, ++row) {
            const std::string opponent = "Gast " + std::to_string(team + 1) + "-" + std::to_string(k + 1);
            put_match(state, row, {"2025-10-04", "Sa", "15:00", "Sporthalle", true, "Kreisliga", '1', opponent.c_str()});
            MatchDetails& details = state.match_details[row];
            details.file = static_cast<uint8_t>(file);
            copy_text(details.home, k_opponent_size, own.c_str());
            copy_text(details.away, k_opponent_size, opponent.c_str());
            copy_text(details.location, k_location_size, "Sporthalle");
        }
    }
    state.files_read = 9;
    static MatchPlan plan;
    plan_match_days(state, plan);
    EXPECT_EQ(20, plan.count);
    EXPECT_EQ(91, plan.collision_count);
    EXPECT_EQ(91, plan.listed);
}

}  // namespace
