// UTF-8, the program's text: how long a character is, which bytes continue one, whether a
// text is strict UTF-8, where a text may be cut without splitting a character, and the two
// noncharacters that no output may hold. Every part of the program asks these here.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr unsigned char k_noncharacter_lead = 0xEF;  // U+FFFE is EF BF BE, U+FFFF is EF BF BF
constexpr unsigned char k_case_step = 0x20;          // from a capital to its small letter, in ASCII and Latin-1

// Bytes of the character that lead begins: 2 to 4 for a lead byte, else 1.
size_t utf8_sequence_length(unsigned char lead);

// True for a continuation byte (10xxxxxx): one that begins no character.
bool is_utf8_continuation(char c);

// Reads one strict UTF-8 character from bytes[0, length) into code_point; returns its
// length, or 0 when it is malformed, overlong, a surrogate, above U+10FFFF or cut short.
size_t utf8_decode(const char* bytes, size_t length, uint32_t& code_point);

// True when text[0, length) is strict UTF-8 and holds no NUL.
bool is_valid_utf8(const char* text, size_t length);

// Length of the longest prefix of text, at most limit bytes, that ends on a character
// boundary (a cut there never leaves half a multi-byte sequence).
size_t utf8_cut_length(const char* text, size_t length, size_t limit);

// Bytes of U+FFFE or U+FFFF at text[i] (three, within size), else 0.
size_t utf8_noncharacter_at(const char* text, size_t i, size_t size);

// The ASCII byte with a capital made small: small_letter's rule for ASCII, kept inline for
// loops that compare texts byte by byte.
constexpr unsigned char small_ascii_letter(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + k_case_step) : byte;
}

// The code point with an ASCII capital or a Latin-1 capital (U+00C0 to U+00DE, the sign
// U+00D7 aside) made small: the letter case in which names of clubs and halls differ.
uint32_t small_letter(uint32_t code_point);
