// Escaping, folding and line ends of the club calendar's content lines. Folding counts
// octets, as the calendar format does, and never splits a UTF-8 character: a character
// that does not fit the physical line begins the next one, behind its blank.
#include "output/calendar_lines.h"

#include <algorithm>
#include <cstring>

#include "core/utf8.h"

namespace {

constexpr char k_fold[] = "\r\n ";  // a line break and the blank that begins the next physical line
constexpr int k_byte_values = 256;    // one table entry per possible byte
constexpr size_t k_escaped_size = 256;  // escaped bytes gathered before they go into the line at once
constexpr size_t k_longest_piece = 4;   // the most bytes one character or one escape adds

// Printable ASCII that a text value holds as it is, most of every name and location: all
// but '\', ';' and ','.
struct PlainBytes {
    bool plain[k_byte_values];
};

constexpr PlainBytes make_plain_bytes() {
    PlainBytes table{};
    for (int c = 0x20; c < 0x7F; ++c) table.plain[c] = c != '\\' && c != ';' && c != ',';
    return table;
}

constexpr PlainBytes k_plain_bytes = make_plain_bytes();

}  // namespace

void add_folded(CalendarLine& line, const char* bytes, size_t count) {
    while (count > 0) {
        const size_t room = line.column < k_fold_octets ? static_cast<size_t>(k_fold_octets - line.column) : 0;
        const size_t part = utf8_cut_length(bytes, count, room);
        if (part == 0) {
            put_bytes(*line.out, k_fold, sizeof k_fold - 1);
            line.column = 1;
            continue;
        }
        put_bytes(*line.out, bytes, part);
        line.column += static_cast<int>(part);
        bytes += part;
        count -= part;
    }
}

void add_escaped(CalendarLine& line, const char* text, size_t size) {
    // A value of plain bytes alone, most names, goes into the line straight from the text.
    // Any other is escaped into a local buffer and goes into the line a buffer at a time,
    // not a run of plain bytes or an escape at a time.
    char escaped[k_escaped_size];
    size_t length = 0;
    size_t i = 0;
    while (i < size && text[i] != '\0') {
        if (length >= sizeof escaped - k_longest_piece) {
            add_bytes(line, escaped, length);
            length = 0;
        }
        // Plain bytes, as many as the buffer takes beside one more piece; the NUL is none.
        const size_t stop = std::min(size, i + (sizeof escaped - k_longest_piece - length));
        const size_t run = i;
        while (i < stop && k_plain_bytes.plain[static_cast<unsigned char>(text[i])]) ++i;
        if (length == 0 && (i == size || text[i] == '\0')) {
            add_bytes(line, text + run, i - run);
            return;
        }
        std::memcpy(escaped + length, text + run, i - run);
        length += i - run;
        if (i == stop || text[i] == '\0') continue;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || c == ';' || c == ',' || c == '\n') {
            escaped[length++] = '\\';
            escaped[length++] = c == '\n' ? 'n' : static_cast<char>(c);
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
            std::memcpy(escaped + length, text + i, count);
            length += count;
            i += count > 0 ? count : 1;
        }
    }
    add_bytes(line, escaped, length);
}
