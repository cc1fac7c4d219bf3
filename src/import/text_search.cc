// Searches over loaded calendar text. memchr finds each candidate start quickly and memcmp
// only confirms it; every range is clipped to the span first, so a caller's wrong index
// gives "not found" instead of a read outside the text.
#include "import/text_search.h"

#include <cstring>

namespace {

// Clips [from, end) to the span; false when nothing of it is left.
bool clip(TextSpan text, int& from, int& end) {
    if (from < 0) from = 0;
    if (end > text.length) end = text.length;
    return from < end;
}

}  // namespace

int find_byte(TextSpan text, int from, int end, char c) {
    if (!clip(text, from, end)) return -1;
    const void* hit = std::memchr(text.bytes + from, c, static_cast<size_t>(end - from));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - text.bytes);
}

int find_last_byte(TextSpan text, int from, int end, char c) {
    if (!clip(text, from, end)) return -1;
    for (int i = end - 1; i >= from; --i) {
        if (text.bytes[i] == c) return i;
    }
    return -1;
}

int find_text(TextSpan text, int from, int end, const char* needle) {
    const int length = static_cast<int>(std::strlen(needle));
    if (from < 0 || end > text.length) return -1;
    if (length == 0) return from <= end ? from : -1;
    int i = from;
    while (i + length <= end) {
        const void* first = std::memchr(text.bytes + i, needle[0], static_cast<size_t>(end - length + 1 - i));
        if (first == nullptr) return -1;
        i = static_cast<int>(static_cast<const char*>(first) - text.bytes);
        if (std::memcmp(text.bytes + i, needle, static_cast<size_t>(length)) == 0) return i;
        ++i;
    }
    return -1;
}

int line_end(TextSpan text, int from) { return find_byte(text, from, text.length, '\n'); }

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

TextSpan span_part(TextSpan text, int from, int end) {
    if (!clip(text, from, end)) return {text.bytes, 0};
    return {text.bytes + from, end - from};
}

TextSpan trimmed(TextSpan piece) {
    int from = 0;
    int end = piece.length;
    while (from < end && is_blank(piece.bytes[from])) ++from;
    while (end > from && is_blank(piece.bytes[end - 1])) --end;
    return {piece.bytes + from, end - from};
}

bool marker_at(TextSpan text, int at, const char* marker) {
    // Compared as it is walked: every line of an event is asked for several markers.
    for (int i = 0; marker[i] != '\0'; ++i) {
        const int position = at + i;
        if (position < 0 || position >= text.length || ascii_upper(text.bytes[position]) != ascii_upper(marker[i])) {
            return false;
        }
    }
    return true;
}

bool equals_ignoring_case(TextSpan piece, const char* word) {
    const int length = static_cast<int>(std::strlen(word));
    if (piece.length != length) return false;
    for (int i = 0; i < length; ++i) {
        if (ascii_upper(piece.bytes[i]) != ascii_upper(word[i])) return false;
    }
    return true;
}
