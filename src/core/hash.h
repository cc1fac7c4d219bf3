// One hash and one hexadecimal form for the whole program: the club calendar's match
// identities, the names of temporary files and of the Windows folder lock.
#pragma once

#include <cstddef>
#include <cstdint>

// 64-bit FNV-1a: start with k_hash_start and feed the bytes in order.
constexpr uint64_t k_hash_start = 14695981039346656037ULL;

// The hash continued over count bytes.
uint64_t hash_bytes(uint64_t hash, const void* bytes, size_t count);

// The hash continued over a NUL-terminated text.
uint64_t hash_text(uint64_t hash, const char* text);

// Writes the low 4 * digits bits of value as lowercase hexadecimal digits, the most
// significant first, and a NUL: out holds digits + 1 bytes; digits is at most 16.
void hex_digits(uint64_t value, int digits, char* out);
