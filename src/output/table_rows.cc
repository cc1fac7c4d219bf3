// Row reading shared by the workbook and the HTML writer. The table's end is the first
// row with day[0] NUL; the search stops at the last row so that a table without its end
// mark is never read past.
#include "output/table_rows.h"

int end_of_table_row(const RunState& state) {
    int row = 1;
    while (row < k_table_rows - 1 && state.match_table[row].day[0] != '\0') ++row;
    return row;
}
