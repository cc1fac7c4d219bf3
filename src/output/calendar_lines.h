// The content lines of an iCalendar file as every calendar program reads them: text
// values escaped, long lines folded at 75 octets without splitting a character, every
// line ended by CR LF whatever the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr int k_content_line_size = 640;  // one unfolded line: the longest the club calendar builds is about 320 bytes
constexpr int k_fold_octets = 75;         // octets of a physical line, its CR LF not counted

// One unfolded content line being put together. cut tells that a part did not fit.
struct CalendarLine {
    char bytes[k_content_line_size];
    size_t length;
    bool cut;
};

// Starts the line afresh with text taken as it stands (a name, its parameters, a colon).
void start_line(CalendarLine& line, const char* text);

// Appends text as it stands.
void add_plain(CalendarLine& line, const char* text);

// Appends text (up to its NUL, at most size bytes) as an escaped text value: '\', ';'
// and ',' behind a backslash, a line feed as "\n"; other control characters, DEL and
// U+FFFE/U+FFFF are left out. A character that does not fit whole is not begun.
void add_escaped(CalendarLine& line, const char* text, size_t size);

// Writes the line folded (each further physical line begins with a blank) and ended by
// CR LF; false when the line was cut or the stream refused it.
bool put_line(FILE* stream, const CalendarLine& line);

// 64-bit FNV-1a hash of text, continuing from hash (start with k_hash_start).
constexpr uint64_t k_hash_start = 14695981039346656037ULL;
uint64_t hash_text(uint64_t hash, const char* text);
