// The fixed parts of the season workbook: everything before the first generated row
// (prolog, document properties, the 75 cell styles, columns, header and the fixed
// row 1) and everything after the closing row (worksheet options, filter, two sheets).
#pragma once

#include "output/output_buffer.h"

// Rows the template declares for Sheet1 and its filter; a longer table declares its own count.
constexpr int k_template_row_count = 25;

// Writes the head; it stops inside the first cell tag of the next row, before its style digits.
void write_workbook_head(OutputBuffer& out, int row_count);

// Writes the tail; it begins by closing the number cell of the closing row.
void write_workbook_tail(OutputBuffer& out, int row_count);
