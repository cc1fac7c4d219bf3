// Conversion between UTF-8 and UTF-16. Lone surrogates in a command line become U+FFFD
// (they name no character a file name could hold); UTF-8 that is malformed, overlong or
// encodes a surrogate is refused, so no path is ever half-converted.
#include "platform/utf16_conversion.h"

#include <cstdint>
#include <cstring>

#include "core/utf8.h"

namespace {

constexpr uint32_t k_replacement_character = 0xFFFD;  // stands in for a lone surrogate

bool is_high_surrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the UTF-8 form of code point c into bytes; returns its length, 1 to 4.
size_t encode_utf8(uint32_t c, char* bytes) {
    if (c < 0x80) {
        bytes[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | (c >> 6));
        bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | (c >> 12));
        bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<char>(0xF0 | (c >> 18));
    bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

}  // namespace

bool utf16_to_utf8(const wchar_t* units, char* out, size_t size) {
    if (size == 0) return false;
    size_t used = 0;
    for (size_t i = 0; units[i] != 0;) {
        // A wide unit is a UTF-16 (or UTF-32) code unit, not a character byte; the check
        // mistakes wchar_t for a signed char.
        uint32_t c = static_cast<uint32_t>(units[i]);  // NOLINT(bugprone-signed-char-misuse,cert-str34-c)
        size_t step = 1;
        if (is_high_surrogate(c) && is_low_surrogate(static_cast<uint32_t>(units[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(units[i + 1]) - 0xDC00);
            step = 2;
        } else if (is_high_surrogate(c) || is_low_surrogate(c) || c > 0xFFFF) {
            c = k_replacement_character;
        }
        char bytes[4];
        size_t length = encode_utf8(c, bytes);
        if (used + length > size - 1) {
            out[used] = '\0';
            return false;
        }
        std::memcpy(out + used, bytes, length);
        used += length;
        i += step;
    }
    out[used] = '\0';
    return true;
}

bool utf8_to_utf16(const char* text, wchar_t* out, size_t units) {
    if (units == 0) return false;
    const size_t total = std::strlen(text);
    size_t used = 0;
    for (size_t at = 0; at < total;) {
        uint32_t c = 0;
        const size_t length = utf8_decode(text + at, total - at, c);
        size_t needed = c >= 0x10000 ? 2 : 1;
        if (length == 0 || used + needed > units - 1) {
            out[0] = 0;
            return false;
        }
        if (needed == 2) {
            out[used++] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out[used++] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out[used++] = static_cast<wchar_t>(c);
        }
        at += length;
    }
    out[used] = 0;
    return true;
}

int utf8_arguments(ArgumentBuffer& buffer, int argc, const wchar_t* const* argv) {
    int count = argc < 0 ? 0 : argc < k_argument_slots ? argc : k_argument_slots;
    for (int i = 0; i < count; ++i) {
        // A cut argument stays longer than any path, so it is rejected, never opened.
        utf16_to_utf8(argv[i] != nullptr ? argv[i] : L"", buffer.text[i], sizeof buffer.text[i]);
        buffer.vector[i] = buffer.text[i];
    }
    buffer.vector[count] = nullptr;
    return count;
}
