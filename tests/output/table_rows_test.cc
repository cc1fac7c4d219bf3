// The writers' reads stay inside the table: one without its end mark is not read past,
// and a date field is read up to its NUL or its size, however long the pattern.
#include "output/table_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "file_text.h"
#include "temp_folder.h"

namespace {

TEST(TableRows, TableWithoutItsEndMarkIsNotReadPast) {
    static RunState state;
    reset_run_state(state);
    for (MatchRecord& row : state.match_table) row.day[0] = ' ';
    EXPECT_EQ(k_table_rows - 1, end_of_table_row(state));
}

TEST(TableRows, DateFieldsUpToTheirEndAndAPatternOfAnyLength) {
    MatchRecord row{};
    std::memcpy(row.day, "19", 3);
    std::memcpy(row.month, "09", 3);
    std::memcpy(row.year, "201512", sizeof row.year);  // no NUL: the field's size ends it
    std::memcpy(row.weekday, "Sa", 3);
    std::memcpy(row.hour, "--", 3);
    std::memcpy(row.minute, "--", 3);
    std::FILE* stream = scratch_stream();
    ASSERT_NE(nullptr, stream);
    OutputBuffer out;
    start_output(out, stream);
    const std::string pattern = "W, D.M.Y h:m" + std::string(40, '.') + "Y";
    put_row_date(out, row, pattern.c_str());
    EXPECT_TRUE(finish_output(out));
    EXPECT_EQ("Sa, 19.09.201512 --:--" + std::string(40, '.') + "201512", stream_text(stream));
    std::fclose(stream);
}

}  // namespace
