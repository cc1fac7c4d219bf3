// Shared by the fuzz targets: a read stream over the fuzzer's bytes, the checks every
// imported table must pass, and both writers run into memory with cheap checks of
// their outputs. A failed check prints what broke and aborts, which the fuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "driver/run_state.h"

// Sends standard output (the per-file lines of the import) to /dev/null.
void silence_stdout();

// Opens a read stream over size bytes at data, which must outlive the stream.
FILE* open_bytes(const uint8_t* data, size_t size);

// Checks a read result: a failure has a reason text, success leaves the row index in the table.
void check_read_result(const RunState& state, ReadResult result);

// Checks every row of the table: separators, complete match rows, then only zero rows.
void check_table(const RunState& state);

// Writes the workbook and the HTML fragment into memory as the driver does, and checks both.
void write_and_check_outputs(RunState& state);
