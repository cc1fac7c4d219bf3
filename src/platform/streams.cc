// File handling for the driver and the writers. Inputs must be regular files. Each output
// is written to "<name>.<random>.tmp", a file this run creates exclusively (never through
// a link, never one that was there before), flushed to the disk and only then renamed
// over the final name, so a failed run never destroys the schedule an earlier run wrote
// and a finished one survives a pulled USB stick. The whole write phase holds a lock on
// the output folder, so two runs at once never mix their files. Paths are UTF-8; the
// platform unit hands them to the file system.
#include "platform/streams.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "core/hash.h"

namespace {

constexpr char k_temp_lead[] = ".";
constexpr char k_temp_tail[] = ".tmp";
constexpr int k_random_digits = 10;  // hexadecimal digits of the random part: 2^40 names
constexpr int k_create_attempts = 16;  // names tried before creating is given up
static_assert(sizeof k_temp_lead - 1 + k_random_digits + sizeof k_temp_tail <= k_temp_suffix_size,
              "temporary suffix fits OutputTarget::temp_path");

bool close_one(FILE*& stream) {
    if (stream == nullptr) return true;
    bool ok = std::fclose(stream) == 0;
    stream = nullptr;
    return ok;
}

// An output is on the disk before it is closed, so that its rename can be trusted.
bool close_output(FILE*& stream) {
    if (stream == nullptr) return true;
    const bool flushed = flush_to_disk(stream);
    return close_one(stream) && flushed;
}

// Builds temp_path: output_path, a dot, fresh random digits and ".tmp".
bool build_temp_path(OutputTarget& target, const char* output_path) {
    char random[k_random_digits + 1];
    hex_digits(random_bits(), k_random_digits, random);
    return copy_text(target.temp_path, sizeof target.temp_path, output_path) &&
           append_text(target.temp_path, sizeof target.temp_path, k_temp_lead) &&
           append_text(target.temp_path, sizeof target.temp_path, random) &&
           append_text(target.temp_path, sizeof target.temp_path, k_temp_tail);
}

}  // namespace

bool read_stream_line(FILE* stream, char* out, size_t size) {
    if (size == 0) return false;
    out[0] = '\0';
    if (std::fgets(out, static_cast<int>(size), stream) == nullptr) {
        out[0] = '\0';
        return false;
    }
    size_t length = std::strlen(out);
    if (length > 0 && out[length - 1] != '\n') {
        int c = 0;
        while ((c = std::fgetc(stream)) != EOF && c != '\n') {}
    }
    while (length > 0 && (out[length - 1] == '\n' || out[length - 1] == '\r')) out[--length] = '\0';
    return true;
}

FILE* open_input(const char* path) {
    FILE* stream = open_input_file(path);
    // The stream's small buffer would only copy the reader's blocks once more.
    if (stream != nullptr) std::setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}

bool lock_output_folder(OutputTarget& target, const char* output_path, int wait_ms) {
    if (target.folder_locked) return true;
    intptr_t handle = 0;
    switch (lock_folder_of(output_path, wait_ms, handle)) {
        case LockResult::locked:
            target.folder_lock = handle;
            target.folder_locked = true;
            return true;
        case LockResult::unavailable: return true;
        case LockResult::busy: return false;
    }
    return false;
}

void unlock_output_folder(OutputTarget& target) {
    if (!target.folder_locked) return;
    unlock_folder(target.folder_lock);
    target.folder_locked = false;
    target.folder_lock = 0;
}

FILE* open_output_temp(OutputTarget& target, const char* output_path, WriteMode mode) {
    target.temp_created = false;
    for (int attempt = 0; attempt < k_create_attempts; ++attempt) {
        if (!build_temp_path(target, output_path)) return nullptr;
        FILE* stream = create_new_file(target.temp_path, mode);
        if (stream != nullptr) {
            target.temp_created = true;
            // The writers hand over their bytes in large pieces of their own: each goes
            // to the file at once instead of through the stream's small buffer.
            std::setvbuf(stream, nullptr, _IONBF, 0);
            return stream;
        }
        // Something stands at this name (or the folder refuses files): another name may do.
    }
    return nullptr;
}

bool close_all_streams(RunState& state) {
    bool ok = true;
    for (FILE*& stream : state.input_files) ok = close_one(stream) && ok;
    ok = close_output(state.spreadsheet_file) && ok;
    ok = close_output(state.html_file) && ok;
    ok = close_output(state.calendar_file) && ok;
    ok = close_output(state.match_days_file) && ok;
    return ok;
}

ReplaceResult commit_output(OutputTarget& target, const char* output_path) {
    if (!target.temp_created) return ReplaceResult::failed;
    const ReplaceResult result = replace_file(target.temp_path, output_path);
    if (result != ReplaceResult::done) remove_file(target.temp_path);
    target.temp_created = false;
    return result;
}

void discard_output(OutputTarget& target) {
    if (!target.temp_created) return;
    remove_file(target.temp_path);
    target.temp_created = false;
}
