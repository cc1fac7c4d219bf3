// Content lines of a calendar event. Every position is clipped to the line, so that no
// line, however odd, is read past its end.
#include "import/properties.h"

#include <cstring>

bool read_content_line(TextSpan text, int from, ContentLine& line) {
    const int feed = line_end(text, from);
    line.name = from;
    line.end = feed < 0 ? text.length : feed;
    line.name_end = line.end;
    line.value = line.end;
    for (int i = from; i < line.end; ++i) {
        if (text.bytes[i] == ';' || text.bytes[i] == ':') {
            line.name_end = i;
            break;
        }
    }
    bool quoted = false;
    for (int i = line.name_end; i < line.end; ++i) {
        if (text.bytes[i] == '"') quoted = !quoted;
        if (text.bytes[i] == ':' && !quoted) {
            line.value = i + 1;
            return true;
        }
    }
    return false;
}

bool is_named(TextSpan text, const ContentLine& line, const char* name) {
    return equals_ignoring_case(span_part(text, line.name, line.name_end), name);
}

TextSpan trimmed_value(TextSpan text, const ContentLine& line) { return trimmed(span_part(text, line.value, line.end)); }

bool has_value(TextSpan text, const ContentLine& line, const char* word) {
    return equals_ignoring_case(trimmed_value(text, line), word);
}

size_t unescape_text(TextSpan text, int from, int end, char* out, size_t size, bool& cut) {
    cut = false;
    if (size == 0) {
        cut = from < end;
        return 0;
    }
    if (from < 0) from = 0;
    if (end > text.length) end = text.length;
    size_t length = 0;
    for (int i = from; i < end;) {
        // The bytes up to the next backslash stand as they are: copied at once.
        const int escape = find_byte(text, i, end, '\\');
        const int run_end = escape < 0 ? end : escape;
        const size_t run = static_cast<size_t>(run_end - i);
        const size_t room = size - 1 - length;
        std::memcpy(out + length, text.bytes + i, run < room ? run : room);
        if (run > room) {
            length += room;
            cut = true;
            break;
        }
        length += run;
        i = run_end;
        if (i >= end) break;
        char c = '\\';
        if (i + 1 < end) {
            const char next = text.bytes[i + 1];
            if (next == ',' || next == ';' || next == '\\') {
                c = next;
                ++i;
            } else if (next == 'n' || next == 'N') {
                c = '\n';
                ++i;
            }
        }
        if (length + 1 >= size) {
            cut = true;
            break;
        }
        out[length++] = c;
        ++i;
    }
    out[length] = '\0';
    return length;
}
