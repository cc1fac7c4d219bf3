// Fuzz target over one calendar file: the fuzzer's bytes are the file. It is imported as
// the driver imports a single file (separator row 0, rows from 1 on), the table is checked, and
// both schedules are written into memory and checked, whatever the read result was:
// a failure reason is an ordinary outcome, a sanitizer report or a failed check is not.
#include <cstddef>
#include <cstdint>

#include "driver/run_state.h"
#include "fuzz_support.h"

namespace {

RunState g_state;  // large; one instance, made fresh for every input

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence_stdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    reset_run_state(g_state);
    g_state.input_files[0] = open_bytes(data, size);
    import_and_check(g_state, 1);
    return 0;
}
