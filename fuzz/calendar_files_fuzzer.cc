// Fuzz target over many calendar files at once: the fuzzer's bytes are cut at every
// "~~~~\n" into up to 40 files (the last one keeps any further separators). They are
// imported as the driver does it, a separator row before each file and the row limit
// checked before the separator, until the first failure; then the table is checked and
// both schedules are written into memory and checked. So separator rows, the limit of
// 499 rows and three-digit row numbers are all within the fuzzer's reach.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/run_state.h"
#include "fuzz_support.h"
#include "import/calendar_reader.h"

namespace {

constexpr char k_file_separator[] = "~~~~\n";
constexpr size_t k_file_separator_length = sizeof k_file_separator - 1;

RunState g_state;  // large; one instance, made fresh for every input

// Cuts data into files, each opened as input_files[k]; returns the number of files.
int open_files(RunState& state, const uint8_t* data, size_t size) {
    int files = 0;
    size_t start = 0;
    while (files < k_max_input_files - 1) {
        const void* hit = memmem(data + start, size - start, k_file_separator, k_file_separator_length);
        if (hit == nullptr) break;
        const size_t end = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data);
        state.input_files[files++] = open_bytes(data + start, end - start);
        start = end + k_file_separator_length;
    }
    state.input_files[files++] = open_bytes(data + start, size - start);
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    silence_stdout();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunState& state = g_state;
    reset_run_state(state);
    const int files = open_files(state, data, size);

    state.current_row = 0;
    for (int k = 0; k < files; ++k) {
        if (state.current_row >= k_max_used_rows) break;  // the driver reports too many rows here
        state.match_table[state.current_row].day[0] = ' ';
        ++state.current_row;
        const ReadResult result = read_calendar_file(state, k);
        check_read_result(state, result);
        if (result != ReadResult::ok) break;
    }
    check_table(state);
    write_and_check_outputs(state);
    return 0;
}
