// Bounded copies into fixed-size text fields.
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
