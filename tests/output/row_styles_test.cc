// The workbook colours, checked against the fills the workbook's own style table gives:
// the four cells of a team share one fill, the first four teams of each category have
// fills of their own, and every other row is unfilled.
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

// The solid fill of every style the workbook declares ("" for a style without one).
std::map<int, std::string> fills_by_style() {
    FILE* stream = scratch_stream();
    write_workbook_head(stream, k_template_row_count);
    const std::string head = stream_text(stream);
    std::fclose(stream);
    std::map<int, std::string> fills;
    const std::regex style("<Style ss:ID=\"s([0-9]+)\"[^>]*>(.*?)</Style>");
    const std::regex fill("<Interior ss:Color=\"(#[0-9A-F]{6})\" ss:Pattern=\"Solid\"/>");
    for (auto it = std::sregex_iterator(head.begin(), head.end(), style); it != std::sregex_iterator(); ++it) {
        const std::string body = (*it)[2];
        std::smatch color;
        fills[std::stoi((*it)[1])] = std::regex_search(body, color, fill) ? color[1].str() : "";
    }
    return fills;
}

// The styles of the four cells (number, date, middle, opponent) of a row of that team.
std::vector<int32_t> row_styles_of(const char* league, char team_digit) {
    static RunState state;
    reset_run_state(state);
    put_team(state, 42, league, team_digit);
    select_row_styles(state);
    return std::vector<int32_t>(state.row_styles, state.row_styles + 4);
}

// The fills of those four cells.
std::vector<std::string> row_fills(const std::map<int, std::string>& fills, const char* league, char team_digit) {
    std::vector<std::string> cells;
    for (int32_t style : row_styles_of(league, team_digit)) {
        const auto found = fills.find(style);
        cells.push_back(found == fills.end() ? "<no style s" + std::to_string(style) + ">" : found->second);
    }
    return cells;
}

TEST(RowStyles, EveryColouredTeamHasOneFillOfItsOwn) {
    const std::map<int, std::string> fills = fills_by_style();
    ASSERT_EQ(74u, fills.size()) << "styles s1 to s74 beside Default";
    std::set<std::string> every_fill;
    for (const char* league : {"U19 Bezirksliga", "U15 Kreisliga", "Kreisklasse"}) {
        for (char team = '1'; team <= '4'; ++team) {
            SCOPED_TRACE(std::string(league) + " / " + team);
            const std::vector<std::string> cells = row_fills(fills, league, team);
            EXPECT_NE("", cells[0]);
            EXPECT_EQ(std::vector<std::string>(4, cells[0]), cells) << "one fill for the whole row";
            every_fill.insert(cells[0]);
        }
    }
    EXPECT_EQ(12u, every_fill.size()) << "teams 1 to 4 of three categories, each in a colour of its own";
}

TEST(RowStyles, EveryOtherRowIsUnfilledAndAlike) {
    const std::map<int, std::string> fills = fills_by_style();
    const std::vector<int32_t> plain = row_styles_of("", '\0');  // a separator row
    for (const auto& [league, digits] : {std::pair<const char*, std::string>{"U19 Bezirksliga", "5909"},
                                         {"U15 Kreisliga", "50"}, {"Kreisklasse", "59"}, {"Pokal", "12345"},
                                         {"Liga Nord", "1"}}) {
        for (char team : digits + std::string(1, '\0')) {
            SCOPED_TRACE(std::string(league) + " / " + std::to_string(team));
            EXPECT_EQ(std::vector<std::string>(4, ""), row_fills(fills, league, team));
            EXPECT_EQ(plain, row_styles_of(league, team));
        }
    }
}

}  // namespace
