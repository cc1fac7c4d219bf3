// FNV-1a over bytes, and numbers as hexadecimal digits.
#include "core/hash.h"

#include <cstring>

namespace {

constexpr uint64_t k_hash_prime = 1099511628211ULL;
constexpr char k_hex[] = "0123456789abcdef";
constexpr int k_most_digits = 16;  // a 64-bit value

}  // namespace

uint64_t hash_bytes(uint64_t hash, const void* bytes, size_t count) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < count; ++i) {
        hash ^= at[i];
        hash *= k_hash_prime;
    }
    return hash;
}

uint64_t hash_text(uint64_t hash, const char* text) { return hash_bytes(hash, text, std::strlen(text)); }

void hex_digits(uint64_t value, int digits, char* out) {
    if (digits > k_most_digits) digits = k_most_digits;
    for (int i = 0; i < digits; ++i) out[i] = k_hex[(value >> (4 * (digits - 1 - i))) & 0xF];
    out[digits < 0 ? 0 : digits] = '\0';
}
