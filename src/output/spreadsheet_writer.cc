// Placeholder until the workbook writer lands: writes nothing.
#include "output/spreadsheet_writer.h"

bool write_spreadsheet(RunState&) { return true; }
