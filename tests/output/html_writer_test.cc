// The HTML fragment: the class of each category and team, golden files for a sample
// table and the empty table, escaping, called-off matches left out and a failing disk.
#include "output/html_writer.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

#include <regex>
#include <set>
#include <string>

#include "sample_tables.h"

namespace {

class HtmlTable : public ::testing::Test {
protected:
    void SetUp() override { reset_run_state(state); }
    // Writes the fragment into a fresh file and returns its bytes.
    std::string write() {
        const std::string path = temporary_path();
        FILE* stream = std::fopen(path.c_str(), "w");
        EXPECT_NE(nullptr, stream);
        if (stream == nullptr) return "";
        static MatchPlan plan;  // the categories the rows are coloured by
        plan_match_days(state, plan);
        EXPECT_TRUE(write_html_table(state, plan, stream));
        std::fclose(stream);
        std::string text = file_text(path, FileMode::text);
        std::remove(path.c_str());
        return text;
    }
    // The class attribute of the cells of a match row of that team; "" for plain cells.
    std::string cell_class(const char* league, char team_digit) {
        reset_run_state(state);
        put_separator(state, 0);
        put_match(state, 1, {"2025-09-13", "Sa", "15:00", "Halle", true, league, team_digit, "SV Nord"});
        const std::string text = write();
        std::smatch cell;
        if (!std::regex_search(text, cell, std::regex("<tr>\\s*<td( class=\"([^\"]*)\")?>"))) return "<no row>";
        return cell[2].str();
    }
    RunState state;
};

// Teams 1 and 2 of every category get a class of their own; every other team, and a
// league of no known category, gets plain cells.
TEST_F(HtmlTable, TheFirstTwoTeamsOfACategoryHaveAClassOfTheirOwn) {
    std::set<std::string> classes;
    for (const char* league : {"U19 Bezirksliga", "U15 Kreisliga", "Kreisklasse"}) {
        for (char team : {'1', '2'}) {
            const std::string name = cell_class(league, team);
            EXPECT_NE("", name) << league << " / " << team;
            classes.insert(name);
        }
        for (char team : {'3', '4', '5', '9', '\0'}) {
            EXPECT_EQ("", cell_class(league, team)) << league << " / " << static_cast<int>(team);
        }
    }
    EXPECT_EQ(6u, classes.size());
    for (char team : {'1', '2', '3'}) EXPECT_EQ("", cell_class("Pokal", team));
}

TEST_F(HtmlTable, SampleTableMatchesTheGoldenFile) {
    fill_sample_table(state);
    EXPECT_EQ(golden("fragment.html"), write());
    EXPECT_EQ(12, state.current_row);  // left at the end-of-table row
}

TEST_F(HtmlTable, EmptyTableIsHeadAndTableEnd) {
    fill_separators(state, 1);
    EXPECT_EQ(golden("fragment_empty.html"), write());
    EXPECT_EQ(1, state.current_row);
}

TEST_F(HtmlTable, CalendarTextsAreEscaped) {
    fill_hazard_table(state);
    const std::string cell = "\n                    <td class=\"Jugend_U19_1\">";
    const std::string plain = "\n                    <td>";
    const std::string empty = golden("fragment_empty.html");
    const std::string head = empty.substr(0, empty.rfind('\n'));  // up to the table end
    const std::string expected = head + "\n                <tr>" + cell + "Sa, 01.11.2025 17:45</td>" + cell +
                                 "Halle \"A\" &amp; &lt;B&gt;</td>" + cell +
                                 "U19 &lt;Liga&gt; &amp; 'Nord' &amp;amp; / 1.</td>" + cell +
                                 "SG Nord &amp; Süd &gt;1&lt;</td>\n                </tr>"
                                 "\n                <tr>" + plain + "So, 02.11.2025 09:00</td>" + plain +
                                 "&lt;&gt;&amp;</td>" + plain + "Kreisklasse / .</td>" + plain +
                                 "&amp;&amp;</td>\n                </tr>\n            </table>";
    EXPECT_EQ(expected, write());
}

TEST_F(HtmlTable, CalledOffMatchesAreLeftOut) {
    fill_sample_table(state);
    const std::string all = write();
    state.match_details[2].cancelled = true;
    const size_t row = all.rfind("\n                <tr>", all.find("TV Musterstadt 2"));
    EXPECT_EQ(all.substr(0, row) + all.substr(all.find("</tr>", row) + 5), write());
}

TEST_F(HtmlTable, FullDiskIsReported) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device that reports a full disk";
#endif
    fill_sample_table(state);
    FILE* full = full_disk_stream();
    if (full == nullptr) GTEST_SKIP() << "no /dev/full on this system";
    EXPECT_FALSE(write_html_table(state, MatchPlan{}, full));
    std::fclose(full);
}

}  // namespace
