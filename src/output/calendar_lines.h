// The content lines of an iCalendar file as every calendar program reads them: text
// values escaped, long lines folded at 75 octets without splitting a character, every
// line ended by CR LF whatever the platform. Lines go straight into the output.
#pragma once

#include <cstddef>

#include "output/output_buffer.h"

constexpr int k_fold_octets = 75;  // octets of a physical line, its CR LF not counted

// One content line being written: where it goes and how far its physical line is filled.
struct CalendarLine {
    OutputBuffer* out;
    int column;  // octets on the present physical line
};

// Starts a content line in out with text taken as it stands (a name, its parameters, a colon).
void start_line(CalendarLine& line, OutputBuffer& out, const char* text);

// Appends text of ASCII characters as it stands.
void add_plain(CalendarLine& line, const char* text);

// Appends text (up to its NUL, at most size bytes) as an escaped text value: '\', ';'
// and ',' behind a backslash, a line feed as "\n"; other control characters, DEL,
// U+FFFE/U+FFFF and bytes that begin no whole character are left out.
void add_escaped(CalendarLine& line, const char* text, size_t size);

// Ends the line with CR LF.
void end_line(CalendarLine& line);

// A whole line of a fixed text.
void put_fixed_line(OutputBuffer& out, const char* text);
