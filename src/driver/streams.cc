// File handling for the driver and the writers. Inputs must be regular files (a folder
// opens as a stream on some systems and then fails on the first read); outputs are
// written to "<name>.tmp" and renamed over the final name only once complete, so a
// failed run never destroys the schedule an earlier run wrote.
#include "driver/streams.h"

#include <cstdio>
#include <sys/stat.h>

#include "driver/bounded_text.h"

namespace {

constexpr char k_temp_suffix[] = ".tmp";
static_assert(sizeof k_temp_suffix <= k_temp_suffix_size, "temporary suffix fits temp_path");

bool close_one(FILE*& stream) {
    if (stream == nullptr) return true;
    bool ok = std::fclose(stream) == 0;
    stream = nullptr;
    return ok;
}

}  // namespace

FILE* open_input(const char* path) {
    FILE* stream = std::fopen(path, "r");
    if (stream == nullptr) return nullptr;
    struct stat info {};
    if (fstat(fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    return stream;
}

FILE* open_output_temp(RunState& state) {
    if (!copy_text(state.temp_path, sizeof state.temp_path, state.output_path) ||
        !append_text(state.temp_path, sizeof state.temp_path, k_temp_suffix)) {
        return nullptr;
    }
    return std::fopen(state.temp_path, "w");
}

bool close_all_streams(RunState& state) {
    bool ok = true;
    for (FILE*& stream : state.input_files) ok = close_one(stream) && ok;
    ok = close_one(state.spreadsheet_file) && ok;
    ok = close_one(state.html_file) && ok;
    return ok;
}

bool commit_output(RunState& state) {
    if (std::rename(state.temp_path, state.output_path) == 0) return true;
    std::remove(state.temp_path);
    return false;
}

void discard_output(RunState& state) {
    std::remove(state.temp_path);
}
