// Fuzz target over one calendar file: the fuzzer's bytes are the file. It is imported as
// the driver imports a single file (separator row 0, rows from 1 on), the table is checked, and
// every output of the driver is written into memory and checked, whatever the read result was:
// a failure reason is an ordinary outcome, a sanitizer report or a failed check is not.
// The bytes are read back as an earlier club calendar as well, and compared with the table.
#include <cstddef>
#include <cstdint>

#include "core/run_state.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunState& state = fresh_state();
    state.input_files[0] = open_bytes(data, size);
    // The same bytes as the last run's club calendar too: a file lying in the output folder.
    import_and_check(state, 1, open_bytes(data, size));
    return 0;
}
