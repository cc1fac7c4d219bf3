// Bounded copies into fixed-size text fields, and numbers written as decimal digits.
#include "core/bounded_text.h"

#include <cstring>

bool copy_bytes(char* dst, size_t size, const char* src, size_t n) {
    if (size == 0) return n == 0;
    size_t fit = n < size ? n : size - 1;
    std::memcpy(dst, src, fit);
    dst[fit] = '\0';
    return fit == n;
}

bool copy_text(char* dst, size_t size, const char* src) {
    return copy_bytes(dst, size, src, std::strlen(src));
}

bool append_text(char* dst, size_t size, const char* src) {
    size_t used = strnlen(dst, size);
    if (used == size) return false;  // dst was not terminated inside its field
    return copy_text(dst + used, size - used, src);
}

size_t write_number(char* dst, size_t size, int value, int min_digits) {  // NOLINT(bugprone-easily-swappable-parameters)
    char reversed[k_number_size];
    const size_t most_digits = sizeof reversed - 2;  // beside the sign and the NUL
    size_t count = 0;
    // Counted as a negative number, so that the smallest int has a digit for every place.
    int rest = value < 0 ? value : -value;
    do {
        reversed[count++] = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count < static_cast<size_t>(min_digits) && count < most_digits) reversed[count++] = '0';
    const size_t length = count + (value < 0 ? 1 : 0);
    if (length > size) return 0;
    size_t at = 0;
    if (value < 0) dst[at++] = '-';
    while (count > 0) dst[at++] = reversed[--count];
    return length;
}
