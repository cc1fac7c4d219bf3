// The season workbook, streamed: the template head, one spreadsheet row per table row
// from row 1 on (a coloured match row or an empty separator row), the numbered closing
// row and the template tail. Every piece that ends a row opens the next one up to its
// first style digits. Calendar texts are escaped so that the document stays well-formed.
#include "output/spreadsheet_writer.h"

#include <algorithm>

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
// Row numbers run to k_table_rows and must fit row_digits with its NUL.
static_assert(k_table_rows <= 9999 && sizeof(RunState::row_digits) >= 5, "row numbers have at most four digits");
// Style numbers are written as two digits.
static_assert(sizeof(RunState::style_digits) >= 3, "two style digits and a NUL");

// Writes style number n (19..73) as two digits through style_digits.
void put_style_digits(RunState& state, OutputBuffer& out, int32_t n) {
    state.style_digits[0] = static_cast<char>('0' + n / 10);
    state.style_digits[1] = static_cast<char>('0' + n % 10);
    state.style_digits[2] = '\0';
    put_bytes(out, state.style_digits, 2);
}

// Writes current_row + 1 with at least two digits through row_digits: 02 .. 99, 100 .. 5001.
void put_row_number(RunState& state, OutputBuffer& out) {
    const int number = state.current_row + 1;
    int length = 0;
    if (number >= 1000) state.row_digits[length++] = static_cast<char>('0' + number / 1000);
    if (number >= 100) state.row_digits[length++] = static_cast<char>('0' + number / 100 % 10);
    state.row_digits[length++] = static_cast<char>('0' + number / 10 % 10);
    state.row_digits[length++] = static_cast<char>('0' + number % 10);
    state.row_digits[length] = '\0';
    put_bytes(out, state.row_digits, static_cast<size_t>(length));
}

// Styles of the current row, then its number cell up to the end of the number.
void put_number_cell(RunState& state, OutputBuffer& out) {
    select_row_styles(state);
    put_style_digits(state, out, state.row_styles[0]);
    put_text(out, k_number_cell_opener);
    put_row_number(state, out);
}

// Closes the previous cell and opens a text cell in style n.
void open_text_cell(RunState& state, OutputBuffer& out, int32_t n) {
    put_text(out, k_cell_separator);
    put_style_digits(state, out, n);
    put_text(out, k_text_cell_opener);
}

// Cells 2 to 8 of a match row and the opening of the next row.
void put_match_cells(RunState& state, OutputBuffer& out, const MatchRecord& row) {
    open_text_cell(state, out, state.row_styles[1]);
    put_field(out, row.year, sizeof row.year);
    put_bytes(out, "/", 1);
    put_field(out, row.month, sizeof row.month);
    put_bytes(out, "/", 1);
    put_field(out, row.day, sizeof row.day);
    put_bytes(out, ", ", 2);
    put_field(out, row.weekday, sizeof row.weekday);
    open_text_cell(state, out, state.row_styles[2]);
    put_field(out, row.hour, sizeof row.hour);
    put_bytes(out, ":", 1);
    put_field(out, row.minute, sizeof row.minute);
    open_text_cell(state, out, state.row_styles[2]);
    put_escaped(out, row.venue, sizeof row.venue);
    open_text_cell(state, out, state.row_styles[2]);
    put_text(out, row.is_home != 0 ? k_home_text : k_away_text);
    open_text_cell(state, out, state.row_styles[2]);
    put_league_and_team(out, row);
    open_text_cell(state, out, state.row_styles[3]);
    put_escaped(out, row.opponent, sizeof row.opponent);
    put_text(out, k_match_row_end);
}

}  // namespace

bool write_spreadsheet(RunState& state, const MatchPlan& /*plan*/, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out{};
    start_output(out, stream);
    // The table declares at least the template's rows, and more when more are written.
    const int end_row = end_of_table_row(state);
    const int row_count = std::max(k_template_row_count, end_row + k_rows_before_table);

    write_workbook_head(out, row_count);
    for (state.current_row = 1; state.current_row < end_row; ++state.current_row) {
        const MatchRecord& row = state.match_table[state.current_row];
        put_number_cell(state, out);
        if (row.day[0] == ' ') {
            put_text(out, k_separator_row_end);
        } else {
            put_match_cells(state, out, row);
        }
    }
    put_number_cell(state, out);  // the closing row, at the end-of-table row
    write_workbook_tail(out, row_count);
    return finish_output(out);
}
