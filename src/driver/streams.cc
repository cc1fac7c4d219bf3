// File handling for the driver and the writers. Inputs must be regular files; outputs
// are written to "<name>.tmp" and renamed over the final name only once complete, so a
// failed run never destroys the schedule an earlier run wrote. Paths are UTF-8; the
// platform unit hands them to the file system.
#include "driver/streams.h"

#include <cstdio>

#include "driver/bounded_text.h"
#include "driver/platform.h"

namespace {

constexpr char k_temp_suffix[] = ".tmp";
// Outputs are text, so their line ends are the platform's (CR LF on Windows).
constexpr char k_output_mode[] = "w";
static_assert(sizeof k_temp_suffix <= k_temp_suffix_size, "temporary suffix fits temp_path");

bool close_one(FILE*& stream) {
    if (stream == nullptr) return true;
    bool ok = std::fclose(stream) == 0;
    stream = nullptr;
    return ok;
}

}  // namespace

FILE* open_input(const char* path) {
    // Read as bytes: the reader turns CR LF into LF itself, and a text-mode read on
    // Windows would end the file at the first Ctrl-Z byte.
    return open_input_file(path);
}

FILE* open_output_temp(RunState& state) {
    if (!copy_text(state.temp_path, sizeof state.temp_path, state.output_path) ||
        !append_text(state.temp_path, sizeof state.temp_path, k_temp_suffix)) {
        return nullptr;
    }
    return open_file(state.temp_path, k_output_mode);
}

bool close_all_streams(RunState& state) {
    bool ok = true;
    for (FILE*& stream : state.input_files) ok = close_one(stream) && ok;
    ok = close_one(state.spreadsheet_file) && ok;
    ok = close_one(state.html_file) && ok;
    return ok;
}

bool commit_output(RunState& state) {
    if (replace_file(state.temp_path, state.output_path)) return true;
    remove_file(state.temp_path);
    return false;
}

void discard_output(RunState& state) {
    remove_file(state.temp_path);
}
