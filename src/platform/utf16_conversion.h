// Conversion between UTF-8, the program's text, and UTF-16, in which Windows hands over
// the command line and names files. Fixed storage only: a text that does not fit is
// reported, never written past its buffer.
#pragma once

#include <cstddef>

#include "core/run_state.h"

// Bytes for one converted argument and its NUL. An argument cut to fit still keeps more
// than k_path_size bytes (a cut loses at most one 4-byte character), so the driver
// rejects it as too long instead of opening a shortened path.
constexpr int k_argument_size = 2 * k_path_size;
static_assert(k_argument_size - 1 - 3 >= k_path_size, "a cut argument still reads as too long");

// Program path, the files one run takes and one more, so that too many still shows.
constexpr int k_argument_slots = k_max_arguments + 2;

// UTF-16 units for the longest path the program opens (a temporary output path);
// a UTF-8 text never needs more units than it has bytes.
constexpr int k_wide_path_units = k_path_size + k_temp_suffix_size;

// Fixed storage for a command line converted to UTF-8, laid out like argv.
struct ArgumentBuffer {
    char text[k_argument_slots][k_argument_size];  // each argument as UTF-8
    char* vector[k_argument_slots + 1];            // pointers into text, then nullptr
};

// Converts UTF-16 units (one per wchar_t) to UTF-8 in out; false when cut to fit.
bool utf16_to_utf8(const wchar_t* units, char* out, size_t size);

// Converts UTF-8 text to UTF-16 units in out; false when invalid or too long.
bool utf8_to_utf16(const char* text, wchar_t* out, size_t units);

// Fills buffer from a UTF-16 command line; returns the argument count it holds.
int utf8_arguments(ArgumentBuffer& buffer, int argc, const wchar_t* const* argv);
