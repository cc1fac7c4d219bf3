// Escaping, folding and line ends of the club calendar's content lines. Folding counts
// octets, as the calendar format does, and moves a cut back to the start of a UTF-8
// character, so no reader ever meets half a character at a line's end.
#include "output/calendar_lines.h"

#include <cstring>

#include "output/markup_escape.h"

namespace {

constexpr char k_fold_lead = ' ';
// Room for the longest line folded: every physical line but the first holds at least
// 71 of its bytes (a character of four bytes may move to the next line), and each fold
// adds three bytes.
constexpr size_t k_folded_line_size = k_content_line_size + (k_content_line_size / 71 + 1) * 3 + 2;
constexpr uint64_t k_hash_prime = 1099511628211ULL;

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Printable ASCII that a text value holds as it is: most of every name and location.
struct PlainBytes {
    bool plain[256];
};

constexpr PlainBytes make_plain_bytes() {
    PlainBytes table{};
    for (int c = 0x20; c < 0x7F; ++c) table.plain[c] = c != '\\' && c != ';' && c != ',';
    return table;
}

constexpr PlainBytes k_plain = make_plain_bytes();

bool is_plain(char c) { return k_plain.plain[static_cast<unsigned char>(c)]; }

// Bytes of the UTF-8 character that starts with lead (1 for a stray byte).
size_t character_length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Appends count bytes when all of them fit (the NUL behind them kept in room); else
// marks the line cut and appends nothing.
bool add_bytes(CalendarLine& line, const char* bytes, size_t count) {
    if (line.cut || line.length + count >= sizeof line.bytes) {
        line.cut = true;
        return false;
    }
    std::memcpy(line.bytes + line.length, bytes, count);
    line.length += count;
    line.bytes[line.length] = '\0';
    return true;
}

}  // namespace

void start_line(CalendarLine& line, const char* text) {
    line.length = 0;
    line.cut = false;
    line.bytes[0] = '\0';
    add_plain(line, text);
}

void add_plain(CalendarLine& line, const char* text) { add_bytes(line, text, std::strlen(text)); }

void add_escaped(CalendarLine& line, const char* text, size_t size) {
    for (size_t i = 0; i < size && text[i] != '\0';) {
        size_t run = i;
        while (run < size && is_plain(text[run])) ++run;
        if (run > i) {
            if (!add_bytes(line, text + i, run - i)) return;
            i = run;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || c == ';' || c == ',') {
            const char escaped[] = {'\\', static_cast<char>(c)};
            if (!add_bytes(line, escaped, sizeof escaped)) return;
            ++i;
        } else if (c == '\n') {
            if (!add_bytes(line, "\\n", 2)) return;
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            ++i;  // control characters have no place in a text value
        } else if (const size_t left_out = noncharacter_at(text, i, size); left_out > 0) {
            i += left_out;
        } else {
            const size_t count = character_length(c);
            size_t whole = 1;
            while (whole < count && i + whole < size && is_continuation_byte(text[i + whole])) ++whole;
            // A character cut short (or a stray continuation byte) would break the UTF-8.
            if (whole == count && !is_continuation_byte(text[i]) && !add_bytes(line, text + i, count)) return;
            i += whole;
        }
    }
}

bool put_line(FILE* stream, const CalendarLine& line) {
    if (line.cut) return false;
    // The folded line is put together first and written at once.
    char folded[k_folded_line_size];
    size_t length = 0;
    size_t from = 0;
    size_t room = k_fold_octets;
    while (line.length - from > room) {
        size_t cut = from + room;
        while (cut > from + 1 && is_continuation_byte(line.bytes[cut])) --cut;
        std::memcpy(folded + length, line.bytes + from, cut - from);
        length += cut - from;
        folded[length++] = '\r';
        folded[length++] = '\n';
        folded[length++] = k_fold_lead;
        from = cut;
        room = k_fold_octets - 1;  // the blank that begins a folded line counts
    }
    std::memcpy(folded + length, line.bytes + from, line.length - from);
    length += line.length - from;
    folded[length++] = '\r';
    folded[length++] = '\n';
    return std::fwrite(folded, 1, length, stream) == length;
}

uint64_t hash_text(uint64_t hash, const char* text) {
    for (; *text != '\0'; ++text) {
        hash ^= static_cast<unsigned char>(*text);
        hash *= k_hash_prime;
    }
    return hash;
}
