// Fuzz target over one calendar file: the fuzzer's bytes are the file. It is read as the
// driver reads a first file (separator row 0, rows from 1 on), the table is checked, and
// both schedules are written into memory and checked, whatever the read result was:
// a failure reason is an ordinary outcome, a sanitizer report or a failed check is not.
#include <cstddef>
#include <cstdint>

#include "driver/run_state.h"
#include "fuzz_support.h"
#include "import/calendar_reader.h"

namespace {

RunState g_state;  // large; one instance, made fresh for every input

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence_stdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunState& state = g_state;
    reset_run_state(state);
    state.match_table[0].day[0] = ' ';
    state.current_row = 1;
    state.input_files[0] = open_bytes(data, size);

    const ReadResult result = read_calendar_file(state, 0);
    check_read_result(state, result);
    check_table(state);
    write_and_check_outputs(state);
    return 0;
}
