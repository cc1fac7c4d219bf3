// Searches over loaded calendar text. The text is a span of bytes; every search works on
// a range [from, end) of it and answers with an index into the span, or -1 when the
// byte or text is not there. Nothing here reads a byte outside the span.
#pragma once

#include <cstdint>

// A read-only stretch of text: its bytes and their count (a NUL behind them is not needed).
struct TextSpan {
    const char* bytes;  // the first byte
    int32_t length;     // bytes in the span
};

// Index of the first byte c in text[from, end), or -1.
int find_byte(TextSpan text, int from, int end, char c);

// Index of the last byte c in text[from, end), or -1.
int find_last_byte(TextSpan text, int from, int end, char c);

// Index of the first occurrence of needle (NUL-terminated) inside text[from, end), or -1.
int find_text(TextSpan text, int from, int end, const char* needle);

// Index of the line feed that ends the line starting at from, or -1 when the text ends first.
int line_end(TextSpan text, int from);

// True for a blank, a tab or a line-end byte: what may stand around a marker line or a value.
bool is_blank(char c);

// The part text[from, end) of the span, clipped to it; empty when nothing of it is left.
TextSpan span_part(TextSpan text, int from, int end);

// The span without the blanks (is_blank) at its start and its end.
TextSpan trimmed(TextSpan piece);

// The byte, an ASCII letter in capitals: names and markers of a calendar are ASCII.
inline char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when text[at, at + strlen(marker)) is the marker, letters in either case; the
// marker is written in capitals.
bool marker_at(TextSpan text, int at, const char* marker);

// True when the whole piece is word, ASCII letters of either in any case.
bool equals_ignoring_case(TextSpan piece, const char* word);
