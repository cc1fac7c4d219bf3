// Escaping by a 256-entry table: each byte maps to its replacement text or to nullptr
// when it is written as it is. '&', '<' and '>' are replaced; the characters that XML
// does not allow anywhere in a document (not even as references) are left out, so a
// stray one in a calendar cannot make the workbook unreadable: the control characters by
// the table, and U+FFFE and U+FFFF, three bytes each, by a check at their lead byte EF.
// Quotes need no escape in element content, and every other byte, UTF-8 included, passes
// unchanged, a run of them at once.
#include "output/markup_escape.h"

#include <cstring>

#include "core/utf8.h"

namespace {

constexpr int k_byte_values = 256;  // one table entry per possible byte

struct EscapeTable {
    const char* replacement[k_byte_values];  // nullptr: the byte stands for itself
};

constexpr char k_left_out[] = "";  // replacement of a byte that is not written at all

constexpr EscapeTable make_escape_table() {
    EscapeTable table{};
    for (int c = 0x01; c < 0x20; ++c) {
        if (c != '\t' && c != '\n' && c != '\r') table.replacement[c] = k_left_out;
    }
    table.replacement[static_cast<unsigned char>('&')] = "&amp;";
    table.replacement[static_cast<unsigned char>('<')] = "&lt;";
    table.replacement[static_cast<unsigned char>('>')] = "&gt;";
    return table;
}

constexpr EscapeTable k_escapes = make_escape_table();

// Bytes that end a run written as it stands: the NUL, the escaped and left-out characters,
// and the lead byte of U+FFFE and U+FFFF.
struct RunEnds {
    bool ends[k_byte_values];
};

constexpr RunEnds make_run_ends() {
    RunEnds table{};
    for (int c = 0; c < k_byte_values; ++c) table.ends[c] = c == 0 || k_escapes.replacement[c] != nullptr;
    table.ends[k_noncharacter_lead] = true;
    return table;
}

constexpr RunEnds k_run_ends = make_run_ends();

}  // namespace

void put_escaped(OutputBuffer& out, const char* text, size_t size) {
    size_t run_start = 0;
    size_t i = 0;
    for (; i < size; ++i) {
        // Most bytes of a name or a place end no run: pass over them at once.
        while (i < size && !k_run_ends.ends[static_cast<unsigned char>(text[i])]) ++i;
        if (i == size || text[i] == '\0') break;  // the field's text ends at its NUL
        // U+FFFE and U+FFFF are three bytes; every other replacement stands for one byte.
        const size_t left_out = static_cast<unsigned char>(text[i]) == k_noncharacter_lead
                                    ? utf8_noncharacter_at(text, i, size) : 0;
        const char* replacement =
            left_out > 0 ? k_left_out : k_escapes.replacement[static_cast<unsigned char>(text[i])];
        if (replacement == nullptr) continue;
        put_bytes(out, text + run_start, i - run_start);
        put_text(out, replacement);
        if (left_out > 0) i += left_out - 1;
        run_start = i + 1;
    }
    put_bytes(out, text + run_start, i - run_start);
}
