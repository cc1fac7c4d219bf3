// Fuzz target over many calendar files at once: the fuzzer's bytes are cut at every
// "~~~~\n" into up to 40 files (the last one keeps any further separators). They are
// imported as the driver does it, a separator row before each file and the row limit
// checked before the separator, until the first failure; then the table is checked and
// every output is written into memory and checked. So separator rows, the limit of
// 5000 rows and four-digit row numbers are all within the fuzzer's reach.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/run_state.h"
#include "fuzz_support.h"

namespace {

constexpr char k_file_separator[] = "~~~~\n";
constexpr size_t k_file_separator_length = sizeof k_file_separator - 1;

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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunState& state = fresh_state();
    import_and_check(state, open_files(state, data, size));
    return 0;
}
