// The writers' reads stay inside the table: one without its end mark is not read past.
#include "output/table_rows.h"

#include <gtest/gtest.h>

namespace {

TEST(TableRows, TableWithoutItsEndMarkIsNotReadPast) {
    static RunState state;
    reset_run_state(state);
    for (MatchRecord& row : state.match_table) row.day[0] = ' ';
    EXPECT_EQ(k_table_rows - 1, end_of_table_row(state));
}

}  // namespace
