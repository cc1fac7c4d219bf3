// The season workbook, streamed: the template head, one spreadsheet row per table row
// from row 1 on (a coloured match row or an empty separator row; a called-off match is left
// out and the rows numbered on without a gap), the numbered closing row and the template
// tail. Every piece that ends a row opens the next one up to its first style digits.
// Calendar texts are escaped so that the document stays well-formed.
#include "output/spreadsheet_writer.h"

#include <algorithm>
#include <cstring>

#include "core/bounded_text.h"
#include "output/markup_escape.h"
#include "output/output_buffer.h"
#include "output/row_styles.h"
#include "output/table_rows.h"
#include "output/workbook_template.h"

namespace {

constexpr char k_number_cell_opener[] = "\"><Data ss:Type=\"Number\">";
constexpr char k_cell_separator[] = "</Data></Cell><Cell ss:StyleID=\"s";
constexpr char k_text_cell_opener[] = "\"><Data ss:Type=\"String\">";
constexpr char k_match_row_end[] = "</Data></Cell><Cell ss:StyleID=\"s22\"/></Row><Row><Cell ss:StyleID=\"s";
constexpr char k_separator_row_end[] =
    "</Data></Cell><Cell ss:StyleID=\"s19\"/><Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s20\"/>"
    "<Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s20\"/><Cell ss:StyleID=\"s21\"/></Row><Row><Cell ss:StyleID=\"s";
constexpr char k_home_text[] = "Heim";
constexpr char k_away_text[] = "Auswärts";

// Rows of Sheet1 besides the table rows from 1 to the end row: the header and the fixed row 1.
constexpr int k_rows_before_table = 2;
constexpr int k_style_digits = 2;       // style numbers run from 19 to 73
constexpr int k_row_number_digits = 2;  // row numbers 02 .. 99, then 100 .. 5001

// Styles of the current row, then its number cell, showing number, up to the end of the number.
void put_number_cell(RunState& state, const MatchPlan& plan, OutputBuffer& out, int number) {
    select_row_styles(state, plan.categories[state.current_row]);
    put_number(out, state.row_styles[0], k_style_digits);
    put_text(out, k_number_cell_opener);
    put_number(out, number, k_row_number_digits);
}

// Called-off matches among rows 1 to end_row - 1: rows the workbook leaves out.
int called_off_rows(const RunState& state, int end_row) {
    int count = 0;
    for (int row = 1; row < end_row; ++row) count += called_off(state, row) ? 1 : 0;
    return count;
}

// What closes the previous cell and opens a text cell in one style. A match row's six text
// cells have three styles, the middle one four times: each is written out once per row.
struct TextCellOpening {
    char bytes[sizeof k_cell_separator + k_number_size + sizeof k_text_cell_opener];
    size_t length;
};

// The opening of a text cell in style n.
TextCellOpening text_cell_opening(int32_t n) {
    TextCellOpening opening{};
    std::memcpy(opening.bytes, k_cell_separator, sizeof k_cell_separator - 1);
    opening.length = sizeof k_cell_separator - 1;
    opening.length += write_number(opening.bytes + opening.length, k_number_size, n, k_style_digits);
    std::memcpy(opening.bytes + opening.length, k_text_cell_opener, sizeof k_text_cell_opener - 1);
    opening.length += sizeof k_text_cell_opener - 1;
    return opening;
}

// Cells 2 to 8 of a match row and the opening of the next row.
void put_match_cells(const RunState& state, OutputBuffer& out, const MatchRecord& row) {
    constexpr char k_date_cell[] = "Y/M/D, W";  // "2015/09/19, Sa"
    constexpr char k_time_cell[] = "h:m";       // "18:00"
    const TextCellOpening date = text_cell_opening(state.row_styles[1]);
    const TextCellOpening middle = text_cell_opening(state.row_styles[2]);
    const TextCellOpening opponent = text_cell_opening(state.row_styles[3]);
    put_bytes(out, date.bytes, date.length);
    put_row_date(out, row, k_date_cell);
    put_bytes(out, middle.bytes, middle.length);
    put_row_date(out, row, k_time_cell);
    put_bytes(out, middle.bytes, middle.length);
    put_escaped(out, row.venue, sizeof row.venue);
    put_bytes(out, middle.bytes, middle.length);
    put_text(out, row.is_home != 0 ? k_home_text : k_away_text);
    put_bytes(out, middle.bytes, middle.length);
    put_league_and_team(out, row);
    put_bytes(out, opponent.bytes, opponent.length);
    put_escaped(out, row.opponent, sizeof row.opponent);
    put_text(out, k_match_row_end);
}

}  // namespace

bool write_spreadsheet(RunState& state, const MatchPlan& plan, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out{};
    start_output(out, stream);
    // The table declares at least the template's rows, and more when more are written.
    const int end_row = end_of_table_row(state);
    const int closing_row = end_row - called_off_rows(state, end_row);  // the closing row's place in the sheet's table
    const int row_count = std::max(k_template_row_count, closing_row + k_rows_before_table);

    write_workbook_head(out, row_count);
    int sheet_row = 1;  // the number the row written last shows
    for (state.current_row = 1; state.current_row < end_row; ++state.current_row) {
        if (called_off(state, state.current_row)) continue;
        const MatchRecord& row = state.match_table[state.current_row];
        put_number_cell(state, plan, out, ++sheet_row);
        if (row.day[0] == ' ') {
            put_text(out, k_separator_row_end);
        } else {
            put_match_cells(state, out, row);
        }
    }
    put_number_cell(state, plan, out, closing_row + 1);  // the closing row, at the end-of-table row
    write_workbook_tail(out, row_count);
    return finish_output(out);
}
