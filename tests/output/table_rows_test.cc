// The writers' reads stay inside the record: a table without its end mark, and a league
// text that fills its field without a NUL.
#include "output/table_rows.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TableRows, TableWithoutItsEndMarkIsNotReadPast) {
    static RunState state;
    reset_run_state(state);
    for (MatchRecord& row : state.match_table) row.day[0] = ' ';
    EXPECT_EQ(k_table_rows - 1, end_of_table_row(state));
}

TEST(TableRows, LeagueSearchStaysWithinTheField) {
    char league[k_league_size];
    std::memset(league, 'x', sizeof league);
    std::memcpy(league + sizeof league - 3, "U19", 3);  // no NUL: the word fills the field's end
    EXPECT_EQ(TeamCategory::u19, team_category(league, sizeof league));
    EXPECT_EQ(TeamCategory::other, team_category(league, sizeof league - 1));
}

}  // namespace
