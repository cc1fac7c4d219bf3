// The workbook as a whole: golden files for a sample table and for the empty table,
// escaping, the declared row count, row numbering to three digits, the two line breaks,
// called-off rows left out, a failing disk, and every produced workbook checked by a real XML parser.
#include "output/spreadsheet_writer.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

#include <algorithm>
#include <string>

#include "output/workbook_template.h"
#include "sample_tables.h"

namespace {

// The opening of a generated row up to its style digits, and the empty cells of a separator.
const std::string k_row_open = "<Row><Cell ss:StyleID=\"s";
const std::string k_empty_cells =
    "</Data></Cell><Cell ss:StyleID=\"s19\"/><Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s21\"/></Row>";

std::string two_digits(int number) {
    std::string text = std::to_string(number);
    if (number < 10) text.insert(text.begin(), '0');
    return text;
}

std::string replace_once(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    EXPECT_EQ(std::string::npos, text.find(from, at + 1)) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The empty-table golden workbook with other rows in place of its closing row 02: the
// given rows, then the closing row numbered closing_number, declaring row_count rows.
std::string expected_workbook(const std::string& rows, int closing_number, int row_count) {
    const std::string empty = golden("workbook_empty.xml");
    const std::string closing = k_row_open + "35\"><Data ss:Type=\"Number\">02";
    const size_t at = empty.rfind(closing);
    EXPECT_NE(std::string::npos, at);
    std::string head = empty.substr(0, at);
    std::string tail = empty.substr(at + closing.size());
    const std::string count = std::to_string(row_count);
    head = replace_once(head, "ss:ExpandedRowCount=\"25\"", "ss:ExpandedRowCount=\"" + count + "\"");
    tail = replace_once(tail, "x:Range=\"R1C1:R25C7\"", "x:Range=\"R1C1:R" + count + "C7\"");
    return head + rows + k_row_open + "35\"><Data ss:Type=\"Number\">" + two_digits(closing_number) + tail;
}

std::string separator_rows(int first_row, int end_row) {
    std::string rows;
    for (int row = first_row; row < end_row; ++row) {
        rows += k_row_open + "35\"><Data ss:Type=\"Number\">" + two_digits(row + 1) + k_empty_cells;
    }
    return rows;
}

void fill_empty(RunState& state) { fill_separators(state, 1); }
void fill_end_row_23(RunState& state) { fill_separators(state, 23); }
void fill_end_row_24(RunState& state) { fill_separators(state, 24); }
void fill_end_row_101(RunState& state) { fill_separators(state, 101); }
void fill_every_row(RunState& state) { fill_separators(state, k_max_used_rows); }

struct Scenario {
    const char* name;
    void (*fill)(RunState&);
};

// Every table the tests write a workbook for; each workbook must be well-formed.
const Scenario k_scenarios[] = {
    {"sample", fill_sample_table}, {"empty", fill_empty},         {"hazards", fill_hazard_table},
    {"end row 23", fill_end_row_23}, {"end row 24", fill_end_row_24}, {"end row 101", fill_end_row_101},
    {"every row used", fill_every_row},
};

class Workbook : public ::testing::Test {
protected:
    void SetUp() override { reset_run_state(state); }
    // Writes the workbook of the table that fill builds and returns its bytes.
    std::string write(void (*fill)(RunState&)) {
        reset_run_state(state);
        fill(state);
        FILE* stream = scratch_stream();
        EXPECT_NE(nullptr, stream);
        if (stream == nullptr) return "";
        static MatchPlan plan;  // the categories the rows are coloured by
        plan_match_days(state, plan);
        EXPECT_TRUE(write_spreadsheet(state, plan, stream));
        std::string text = stream_text(stream);
        std::fclose(stream);
        return text;
    }
    RunState state;
};

TEST_F(Workbook, SampleTableMatchesTheGoldenFile) {
    EXPECT_EQ(golden("workbook.xml"), write(fill_sample_table));
    EXPECT_EQ(12, state.current_row);  // left at the end-of-table row
}

TEST_F(Workbook, EmptyTableIsTheTemplateWithItsClosingRow) {
    EXPECT_EQ(golden("workbook_empty.xml"), write(fill_empty));
    EXPECT_EQ(1, state.current_row);
}

TEST_F(Workbook, OnlyTheTwoPrologLinesEndInALineBreak) {
    const std::string text = write(fill_sample_table);
    ASSERT_EQ(2, std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<?mso-application progid=\"Excel.Sheet\"?>\n<Workbook "));
}

TEST_F(Workbook, CalendarTextsAreEscaped) {
    const std::string rows =
        k_row_open +
        "61\"><Data ss:Type=\"Number\">02</Data></Cell>"
        "<Cell ss:StyleID=\"s62\"><Data ss:Type=\"String\">2025/11/01, Sa</Data></Cell>"
        "<Cell ss:StyleID=\"s34\"><Data ss:Type=\"String\">17:45</Data></Cell>"
        "<Cell ss:StyleID=\"s34\"><Data ss:Type=\"String\">Halle \"A\" &amp; &lt;B&gt;</Data></Cell>"
        "<Cell ss:StyleID=\"s34\"><Data ss:Type=\"String\">Auswärts</Data></Cell>"
        "<Cell ss:StyleID=\"s34\"><Data ss:Type=\"String\">U19 &lt;Liga&gt; &amp; 'Nord' &amp;amp; / 1.</Data></Cell>"
        "<Cell ss:StyleID=\"s63\"><Data ss:Type=\"String\">SG Nord &amp; Süd &gt;1&lt;</Data></Cell>"
        "<Cell ss:StyleID=\"s22\"/></Row>" +
        k_row_open +
        "35\"><Data ss:Type=\"Number\">03</Data></Cell>"
        "<Cell ss:StyleID=\"s19\"><Data ss:Type=\"String\">2025/11/02, So</Data></Cell>"
        "<Cell ss:StyleID=\"s20\"><Data ss:Type=\"String\">09:00</Data></Cell>"
        "<Cell ss:StyleID=\"s20\"><Data ss:Type=\"String\">&lt;&gt;&amp;</Data></Cell>"
        "<Cell ss:StyleID=\"s20\"><Data ss:Type=\"String\">Heim</Data></Cell>"
        "<Cell ss:StyleID=\"s20\"><Data ss:Type=\"String\">Kreisklasse / .</Data></Cell>"
        "<Cell ss:StyleID=\"s21\"><Data ss:Type=\"String\">&amp;&amp;</Data></Cell>"
        "<Cell ss:StyleID=\"s22\"/></Row>";
    EXPECT_EQ(expected_workbook(rows, 4, k_template_row_count), write(fill_hazard_table));
}

// Row numbers 02 .. end_row + 1 without a gap, and the declared count, which stays the
// template's while the table fits it and grows with it after.
TEST_F(Workbook, RowNumbersAndDeclaredRowCount) {
    const struct {
        void (*fill)(RunState&);
        int end_row;
        int row_count;
    } cases[] = {
        {fill_end_row_23, 23, k_template_row_count},      // header, row 1, rows 1..22, closing row: 25
        {fill_end_row_24, 24, k_template_row_count + 1},  // one row more than the template declares
        {fill_end_row_101, 101, 103},                     // numbers 09, 10, ..., 99, 100, 101, closing 102
        {fill_every_row, k_max_used_rows, k_max_used_rows + 2},  // the largest number, 5001
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.end_row);
        EXPECT_EQ(expected_workbook(separator_rows(1, c.end_row), c.end_row + 1, c.row_count), write(c.fill));
        EXPECT_EQ(c.end_row, state.current_row);
    }
}

// Rows of called-off matches are left out: the others number on without a gap, and the
// count declared is that of the rows written.
TEST_F(Workbook, CalledOffRowsAreLeftOut) {
    EXPECT_EQ(expected_workbook(separator_rows(1, 81), 82, 83), write([](RunState& state) {
                  fill_end_row_101(state);
                  for (int row = 1; row < 101; row += 5) state.match_details[row].cancelled = true;
              }));
}

TEST_F(Workbook, FullDiskIsReported) {
    fill_sample_table(state);
    FILE* full = full_disk_stream();
    if (full == nullptr) GTEST_SKIP() << "no /dev/full on this system";
    EXPECT_FALSE(write_spreadsheet(state, MatchPlan{}, full));
    std::fclose(full);
}

TEST_F(Workbook, EveryWorkbookIsWellFormedXml) {
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
    const std::string path = temporary_path();
    for (const Scenario& scenario : k_scenarios) {
        SCOPED_TRACE(scenario.name);
        const std::string text = write(scenario.fill);
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fputs(text.c_str(), file);
        ASSERT_EQ(0, std::fclose(file));
        EXPECT_EQ(0, std::system(("xmllint --noout '" + path + "'").c_str()));
    }
    std::remove(path.c_str());
}

}  // namespace
