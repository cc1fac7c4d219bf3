// The workbook colours, checked against the fills of the workbook's own style table: the
// four cells of a coloured team share one fill, teams 1 to 4 of each category have fills
// of their own, and every other row has the unfilled styles of a separator row.
#include "output/row_styles.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "output/workbook_template.h"
#include "sample_tables.h"
#include "temp_folder.h"

namespace {

// The fills of the four cells (number, date, middle, opponent) of a row of that team,
// as the workbook's style table gives them ("" for no fill).
std::vector<std::string> row_fills(const char* league, char team_digit) {
    static std::map<int32_t, std::string> fills;
    if (fills.empty()) {
        FILE* stream = scratch_stream();
        OutputBuffer out;
        start_output(out, stream);
        write_workbook_head(out, k_template_row_count);
        finish_output(out);
        const std::string head = stream_text(stream);
        std::fclose(stream);
        const std::regex style("<Style ss:ID=\"s([0-9]+)\"[^>]*>(.*?)</Style>");
        const std::regex fill("<Interior ss:Color=\"(#[0-9A-F]{6})\" ss:Pattern=\"Solid\"/>");
        for (std::sregex_iterator it(head.begin(), head.end(), style), end; it != end; ++it) {
            const std::string body = (*it)[2];
            std::smatch color;
            fills[std::stoi((*it)[1])] = std::regex_search(body, color, fill) ? color[1].str() : "";
        }
    }
    static RunState state;
    reset_run_state(state);
    put_team(state, 42, league, team_digit);
    const MatchRecord& row = state.match_table[state.current_row];
    select_row_styles(state, team_category(row.league, sizeof row.league));
    std::vector<std::string> cells;
    for (int32_t style : state.row_styles) {
        cells.push_back(fills.count(style) != 0 ? fills[style] : "<no style s" + std::to_string(style) + ">");
    }
    return cells;
}

TEST(RowStyles, TeamsOneToFourOfEachCategoryHaveAFillOfTheirOwn) {
    std::set<std::string> every_fill;
    for (const char* league : {"U19 Bezirksliga", "U15 Kreisliga", "Kreisklasse"}) {
        for (char team = '1'; team <= '4'; ++team) {
            const std::vector<std::string> cells = row_fills(league, team);
            EXPECT_NE("", cells[0]) << league << " / " << team;
            EXPECT_EQ(std::vector<std::string>(4, cells[0]), cells) << league << " / " << team;
            every_fill.insert(cells[0]);
        }
    }
    EXPECT_EQ(12u, every_fill.size());

    const std::vector<std::string> plain(4, "");
    EXPECT_EQ(plain, row_fills("", '\0'));  // a separator row
    for (const char* league : {"U19 Bezirksliga", "U15 Kreisliga", "Kreisklasse", "Pokal", "Freundschaftsspiel"}) {
        for (char team : {'0', '5', '9', '\0'}) EXPECT_EQ(plain, row_fills(league, team)) << league << " / " << team;
    }
    EXPECT_EQ(plain, row_fills("Pokal", '1'));
}

}  // namespace
