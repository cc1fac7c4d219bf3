// The program's own file handling: opening the inputs, writing an output through a
// temporary file of its own beside it, the lock that keeps two runs' writes apart, and
// closing every stream the program opened.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/run_state.h"
#include "platform/platform.h"

// The driver's working space for writing the outputs: the temporary file an output is
// written to before its rename, and the lock on the output folder. Zero-filled at start.
struct OutputTarget {
    char temp_path[k_path_size + k_temp_suffix_size];  // temporary file of the output being written
    bool temp_created;                                 // temp_path names a file this run created and still owns
    bool folder_locked;                                // this run holds the lock on the output folder
    intptr_t folder_lock;                              // the platform's handle of that lock
};

// Opens the regular file at path for reading, without the stream's own buffer: the
// reader asks for whole blocks. nullptr when it is no regular file or cannot be opened.
FILE* open_input(const char* path);

// Reads one line of stream into out, its line end left off, a longer line cut to size
// (its rest read and dropped); false when the stream is at its end.
bool read_stream_line(FILE* stream, char* out, size_t size);

// Locks the folder of output_path for this run's writes; false when another run kept it
// for all of wait_ms. A folder that offers no lock is written without one.
bool lock_output_folder(OutputTarget& target, const char* output_path, int wait_ms);

// Releases the folder lock if this run holds it.
void unlock_output_folder(OutputTarget& target);

// Creates a new temporary file beside output_path under a name of its own and opens it
// for writing in the given mode; nullptr when that is not possible.
FILE* open_output_temp(OutputTarget& target, const char* output_path, WriteMode mode = WriteMode::text);

// Closes every stream in input_files and the four outputs' streams and clears them;
// outputs are flushed to the disk first. False when any flush or close failed.
bool close_all_streams(RunState& state);

// Moves the written temporary file over output_path; on any failure the temporary file
// is removed and the older output left as it was.
ReplaceResult commit_output(OutputTarget& target, const char* output_path);

// Removes the temporary file after a failure, if this run created it.
void discard_output(OutputTarget& target);
