// Bounded text helpers for the fixed-size, NUL-terminated fields of the run state, and the
// one writer of decimal numbers. Each one writes at most `size` bytes (a NUL included) and
// tells the caller when the text did not fit, so that no caller clips one without deciding to.
#pragma once

#include <cstddef>

constexpr int k_number_size = 12;  // any int in decimal: ten digits, a sign and a NUL

// Copies src into dst; false (and dst holds the cut text) when src did not fit.
bool copy_text(char* dst, size_t size, const char* src);

// Copies the first n bytes of src into dst; false when they did not fit.
bool copy_bytes(char* dst, size_t size, const char* src, size_t n);

// Appends src behind the text in dst; false when the result did not fit.
bool append_text(char* dst, size_t size, const char* src);

// Writes value in decimal at dst, at least min_digits digits with leading zeros, a '-'
// before a negative one, and no NUL; returns the bytes written, 0 (and dst untouched) when
// they would not fit in size. min_digits above ten counts as ten.
size_t write_number(char* dst, size_t size, int value, int min_digits);
