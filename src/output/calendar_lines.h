// The content lines of an iCalendar file as every calendar program reads them: text
// values escaped, long lines folded at 75 octets without splitting a character, every
// line ended by CR LF whatever the platform. Lines go straight into the output.
#pragma once

#include <cstddef>
#include <cstring>

#include "output/output_buffer.h"

constexpr int k_fold_octets = 75;  // octets of a physical line, its CR LF not counted

// One content line being written: where it goes and how far its physical line is filled.
struct CalendarLine {
    OutputBuffer* out;
    int column;  // octets on the present physical line
};

// Appends count bytes of whole characters, as many on each physical line as it takes: a
// line is folded where it is full, or in front of a character that does not fit it.
void add_folded(CalendarLine& line, const char* bytes, size_t count);

// Appends count bytes of whole characters. The club calendar calls this for every piece of
// every line, so the common case, a piece that fits its physical line, is a copy in place at
// the caller, and the length of a string constant is known there.
inline void add_bytes(CalendarLine& line, const char* bytes, size_t count) {
    if (line.column + count <= static_cast<size_t>(k_fold_octets)) {
        put_bytes(*line.out, bytes, count);
        line.column += static_cast<int>(count);
    } else {
        add_folded(line, bytes, count);
    }
}

// Appends text of ASCII characters as it stands.
inline void add_plain(CalendarLine& line, const char* text) { add_bytes(line, text, std::strlen(text)); }

// Starts a content line in out with text taken as it stands (a name, its parameters, a colon).
inline void start_line(CalendarLine& line, OutputBuffer& out, const char* text) {
    line.out = &out;
    line.column = 0;
    add_plain(line, text);
}

// Appends text (up to its NUL, at most size bytes) as an escaped text value: '\', ';'
// and ',' behind a backslash, a line feed as "\n"; other control characters, DEL,
// U+FFFE/U+FFFF and bytes that begin no whole character are left out.
void add_escaped(CalendarLine& line, const char* text, size_t size);

// Ends the line with CR LF.
inline void end_line(CalendarLine& line) { put_bytes(*line.out, "\r\n", 2); }

// A whole line of a fixed text.
inline void put_fixed_line(OutputBuffer& out, const char* text) {
    CalendarLine line{};
    start_line(line, out, text);
    end_line(line);
}
