// Bounded text helpers for the fixed-size, NUL-terminated fields of the run state.
// Each one writes at most `size` bytes including the NUL and tells the caller when the
// text did not fit, so that no caller clips a text without deciding to.
#pragma once

#include <cstddef>

// Copies src into dst; false (and dst holds the cut text) when src did not fit.
bool copy_text(char* dst, size_t size, const char* src);

// Copies the first n bytes of src into dst; false when they did not fit.
bool copy_bytes(char* dst, size_t size, const char* src, size_t n);

// Appends src behind the text in dst; false when the result did not fit.
bool append_text(char* dst, size_t size, const char* src);

// Length of the longest prefix of text, at most limit bytes, that ends on a UTF-8
// character boundary (a cut there never leaves half a multi-byte sequence).
size_t utf8_cut_length(const char* text, size_t length, size_t limit);
