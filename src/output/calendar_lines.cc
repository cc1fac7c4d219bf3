// Escaping, folding and line ends of the club calendar's content lines. Folding counts
// octets, as the calendar format does, and never splits a UTF-8 character: a character
// that does not fit the physical line begins the next one, behind its blank.
#include "output/calendar_lines.h"

#include <cstring>

#include "core/utf8.h"

namespace {

constexpr char k_line_end[] = "\r\n";
constexpr char k_fold[] = "\r\n ";  // a line break and the blank that begins the next physical line

// Printable ASCII that a text value holds as it is: most of every name and location.
bool is_plain(char c) { return c >= 0x20 && c < 0x7F && c != '\\' && c != ';' && c != ','; }

// Appends count bytes that are one character, on the next physical line where they do not fit this one.
void add_character(CalendarLine& line, const char* bytes, size_t count) {
    if (line.column + static_cast<int>(count) > k_fold_octets) {
        put_bytes(*line.out, k_fold, sizeof k_fold - 1);
        line.column = 1;
    }
    put_bytes(*line.out, bytes, count);
    line.column += static_cast<int>(count);
}

// Appends single-byte characters, as many at once as the physical line takes.
void add_run(CalendarLine& line, const char* bytes, size_t count) {
    if (line.column + count <= static_cast<size_t>(k_fold_octets)) {  // the common case: it fits
        put_bytes(*line.out, bytes, count);
        line.column += static_cast<int>(count);
        return;
    }
    while (count > 0) {
        if (line.column >= k_fold_octets) {
            put_bytes(*line.out, k_fold, sizeof k_fold - 1);
            line.column = 1;
        }
        const size_t room = static_cast<size_t>(k_fold_octets - line.column);
        const size_t part = count < room ? count : room;
        put_bytes(*line.out, bytes, part);
        line.column += static_cast<int>(part);
        bytes += part;
        count -= part;
    }
}

}  // namespace

void start_line(CalendarLine& line, OutputBuffer& out, const char* text) {
    line.out = &out;
    line.column = 0;
    add_plain(line, text);
}

void add_plain(CalendarLine& line, const char* text) { add_run(line, text, std::strlen(text)); }

void add_escaped(CalendarLine& line, const char* text, size_t size) {
    for (size_t i = 0; i < size && text[i] != '\0';) {
        size_t run = i;
        while (run < size && is_plain(text[run])) ++run;
        if (run > i) {
            add_run(line, text + i, run - i);
            i = run;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || c == ';' || c == ',') {
            const char escaped[] = {'\\', static_cast<char>(c)};
            add_run(line, escaped, sizeof escaped);
            ++i;
        } else if (c == '\n') {
            add_run(line, "\\n", 2);
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            ++i;  // control characters have no place in a text value
        } else if (const size_t left_out = utf8_noncharacter_at(text, i, size); left_out > 0) {
            i += left_out;
        } else {
            // A byte that begins no whole character (one cut short, a stray continuation
            // byte) would break the UTF-8: it is left out, and so is the rest of it.
            uint32_t code_point = 0;
            const size_t count = utf8_decode(text + i, size - i, code_point);
            if (count > 0) add_character(line, text + i, count);
            i += count > 0 ? count : 1;
        }
    }
}

void end_line(CalendarLine& line) { put_bytes(*line.out, k_line_end, sizeof k_line_end - 1); }

void put_fixed_line(OutputBuffer& out, const char* text) {
    CalendarLine line{};
    start_line(line, out, text);
    end_line(line);
}
