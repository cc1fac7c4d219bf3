// Shared by the fuzz targets: a read stream over the fuzzer's bytes, the checks every
// imported table must pass, and the driver's outputs written into memory with cheap
// checks of each. A failed check prints what broke and aborts, which the fuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "core/run_state.h"

// The one run state of a fuzz target, zero-filled afresh for each input.
RunState& fresh_state();

// Opens a read stream over size bytes at data, which must outlive the stream.
FILE* open_bytes(const uint8_t* data, size_t size);

// Imports input_files[0 .. files-1] as the driver does, compares the table with the
// earlier club calendar in the stream given (closed here; nullptr for none), checks the
// result and the table, then writes every output of the driver into memory and checks it,
// whatever the result was.
void import_and_check(RunState& state, int files, FILE* earlier = nullptr);
