// Loading a calendar file's text. The file is read with block reads and converted in
// place: CR LF becomes LF, and a line feed followed by a blank or tab (a folded line) is
// removed with that one blank or tab. The loaded text is then checked as a whole: it must
// not be UTF-16, must begin and end as a calendar does, and must be strict UTF-8.
#include "import/calendar_text.h"

#include <cstring>

#include "core/utf8.h"

namespace {

constexpr int k_probe_size = 64;  // read once file_buffer has no room left: whether the rest still adds text

// A calendar's first and last line; compared without regard to case, as iCalendar names are.
constexpr char k_calendar_begin[] = "BEGIN:VCALENDAR";
constexpr char k_calendar_end[] = "END:VCALENDAR";
constexpr char k_utf8_mark[] = "\xEF\xBB\xBF";  // a byte-order mark some editors put first
constexpr char k_product_line[] = "PRODID:";
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr int k_peek_size = 1024;  // bytes that hold a calendar's first lines, its PRODID among them

// The in-place conversion of the loaded bytes. Each stage holds back at most one byte
// (a CR that may start CR LF, a LF that may start a fold) until the next byte decides.
// Bytes are written at `written`, never ahead of the byte being read.
struct TextConverter {
    char* buffer;
    int written;
    bool cr_held;
    bool lf_held;
    bool overflow;  // the text would need more than file_buffer holds beside its NUL
};

int held_bytes(const TextConverter& converter) {
    return (converter.cr_held ? 1 : 0) + (converter.lf_held ? 1 : 0);
}

void store(TextConverter& converter, char c) {
    if (converter.written >= k_file_buffer_size - 1) {
        converter.overflow = true;
        return;
    }
    converter.buffer[converter.written++] = c;
}

// Second stage: a line feed directly followed by a blank or tab vanishes with it.
void unfold(TextConverter& converter, char c) {
    if (converter.lf_held) {
        converter.lf_held = false;
        if (c == ' ' || c == '\t') return;
        store(converter, '\n');
    }
    if (c == '\n') {
        converter.lf_held = true;
        return;
    }
    store(converter, c);
}

// First stage: CR LF becomes LF; a CR before anything else stays.
void convert(TextConverter& converter, char c) {
    if (converter.cr_held) {
        converter.cr_held = false;
        if (c == '\n') {
            unfold(converter, '\n');
            return;
        }
        unfold(converter, '\r');
    }
    if (c == '\r') {
        converter.cr_held = true;
        return;
    }
    unfold(converter, c);
}

void finish(TextConverter& converter) {
    if (converter.cr_held) {
        converter.cr_held = false;
        unfold(converter, '\r');
    }
    if (converter.lf_held) {
        converter.lf_held = false;
        store(converter, '\n');
    }
}

// True when the text starts with a UTF-16 byte-order mark: a file saved as UTF-16,
// which must be named as such even though its last line cannot be read either.
bool starts_as_utf16(TextSpan text) {
    if (text.length < 2) return false;
    const unsigned char first = static_cast<unsigned char>(text.bytes[0]);
    const unsigned char second = static_cast<unsigned char>(text.bytes[1]);
    return (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
}

// True when the text, behind a UTF-8 byte-order mark and any blanks and line ends, begins
// with "BEGIN:VCALENDAR": a PDF, a letter or an empty file dropped by mistake does not.
bool begins_as_calendar(TextSpan text) {
    int at = 0;
    const int mark_length = static_cast<int>(sizeof k_utf8_mark - 1);
    if (text.length >= mark_length && std::memcmp(text.bytes, k_utf8_mark, mark_length) == 0) at = mark_length;
    while (at < text.length && is_blank(text.bytes[at])) ++at;
    return marker_at(text, at, k_calendar_begin);
}

// True when the last line that holds more than blanks is "END:VCALENDAR": a download
// cut short anywhere, even inside a character, lacks it.
bool ends_as_calendar(TextSpan text) {
    int end = text.length;
    while (end > 0 && is_blank(text.bytes[end - 1])) --end;
    const int marker_length = static_cast<int>(sizeof k_calendar_end - 1);
    if (end < marker_length) return false;
    const int start = end - marker_length;
    if (start > 0 && text.bytes[start - 1] != '\n') return false;  // the marker must begin its line
    return marker_at(text, start, k_calendar_end);
}

// The end of the run of bytes from `from` that stand as they are: the first CR (at
// next_cr), the first line feed that a blank or tab follows (a fold), or a line feed at
// the block's end, whose next byte is not read yet.
const char* run_end(const char* from, const char* end, const char* next_cr) {
    const char* stop = next_cr != nullptr ? next_cr : end;
    for (const char* at = from; at < stop;) {
        const char* line_feed = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(stop - at)));
        if (line_feed == nullptr) return stop;
        if (line_feed + 1 == end || line_feed[1] == ' ' || line_feed[1] == '\t') return line_feed;
        at = line_feed + 1;
    }
    return stop;
}

// Converts one block read at target. Most bytes, line feeds of unfolded lines included,
// stand as they are: each run of them up to the next CR or fold is moved at once, and
// only those line-end bytes go through the two stages one by one.
void convert_block(TextConverter& converter, const char* target, size_t got) {
    const char* const end = target + got;
    const char* next_cr = static_cast<const char*>(std::memchr(target, '\r', got));
    const char* at = target;
    while (at < end && !converter.overflow) {
        if (!converter.cr_held && !converter.lf_held) {
            const size_t run = static_cast<size_t>(run_end(at, end, next_cr) - at);
            if (run > 0) {
                if (static_cast<size_t>(converter.written) + run > static_cast<size_t>(k_file_buffer_size - 1)) {
                    converter.overflow = true;
                    return;
                }
                // The run is written at or before where it was read: the regions may overlap.
                std::memmove(converter.buffer + converter.written, at, run);
                converter.written += static_cast<int>(run);
                at += run;
                continue;
            }
        }
        // CR LF with the byte behind it at hand: a line end (LF stays) or a fold (all goes),
        // decided here without holding a byte back.
        if (at == next_cr && !converter.cr_held && !converter.lf_held && end - at >= 3 && at[1] == '\n') {
            const bool fold = at[2] == ' ' || at[2] == '\t';
            if (!fold) store(converter, '\n');
            at += fold ? 3 : 2;
            next_cr = static_cast<const char*>(std::memchr(at, '\r', static_cast<size_t>(end - at)));
            continue;
        }
        convert(converter, *at);
        if (at == next_cr) next_cr = static_cast<const char*>(std::memchr(at + 1, '\r', static_cast<size_t>(end - at - 1)));
        ++at;
    }
}

}  // namespace

bool same_stream_bytes(FILE* first, FILE* second) {
    constexpr size_t k_block = 4096;
    if (first == nullptr || second == nullptr || std::fseek(first, 0, SEEK_SET) != 0 ||
        std::fseek(second, 0, SEEK_SET) != 0) {
        return false;
    }
    char a[k_block];
    char b[k_block];
    for (;;) {
        const size_t got_a = std::fread(a, 1, sizeof a, first);
        const size_t got_b = std::fread(b, 1, sizeof b, second);
        if (got_a != got_b || std::memcmp(a, b, got_a) != 0) return false;
        if (got_a < sizeof a) return std::ferror(first) == 0 && std::ferror(second) == 0;
    }
}

TextSpan loaded_text(const RunState& state) { return {state.file_buffer, state.file_length}; }

ReadResult load_calendar_text(RunState& state, FILE* stream) {
    state.file_length = 0;
    state.file_buffer[0] = '\0';
    if (stream == nullptr) return ReadResult::read_error;
    std::clearerr(stream);
    if (std::fseek(stream, 0, SEEK_SET) != 0) return ReadResult::read_error;

    TextConverter converter{state.file_buffer, 0, false, false, false};
    char probe[k_probe_size];
    for (;;) {
        // Each block goes into the room behind the converted text and the held bytes;
        // when there is none, a small probe shows whether the rest still adds text.
        const int read_at = converter.written + held_bytes(converter);
        char* target = probe;
        size_t room = sizeof probe;
        if (read_at < k_file_buffer_size) {
            target = state.file_buffer + read_at;
            room = static_cast<size_t>(k_file_buffer_size - read_at);
        }
        const size_t got = std::fread(target, 1, room, stream);
        if (got == 0) break;
        convert_block(converter, target, got);
        if (converter.overflow) return ReadResult::file_too_large;
        if (got < room) break;  // a short read is the file's end (or an error, which ferror tells)
    }
    if (std::ferror(stream)) return ReadResult::read_error;
    finish(converter);
    if (converter.overflow) return ReadResult::file_too_large;

    state.file_length = converter.written;
    state.file_buffer[state.file_length] = '\0';
    return ReadResult::ok;
}

ReadResult check_calendar_text(TextSpan text) {
    if (starts_as_utf16(text)) return ReadResult::not_utf8;
    if (!begins_as_calendar(text)) return ReadResult::not_calendar;
    if (!ends_as_calendar(text)) return ReadResult::incomplete;
    if (!is_valid_utf8(text.bytes, static_cast<size_t>(text.length))) return ReadResult::not_utf8;
    return ReadResult::ok;
}


InputStart peek_input_start(FILE* stream) {
    char head[k_peek_size];
    if (stream == nullptr || std::fseek(stream, 0, SEEK_SET) != 0) return InputStart::other;
    const size_t got = std::fread(head, 1, sizeof head, stream);
    std::clearerr(stream);
    if (std::fseek(stream, 0, SEEK_SET) != 0) return InputStart::other;
    const TextSpan text{head, static_cast<int32_t>(got)};
    if (!begins_as_calendar(text)) return InputStart::other;
    // The lines in front of the first event, as far as they were read.
    for (int at = 0; at < text.length;) {
        if (marker_at(text, at, k_event_begin)) break;
        const int value = at + static_cast<int>(sizeof k_product_line - 1);
        if (marker_at(text, at, k_product_line) && value + static_cast<int>(sizeof k_own_product - 1) <= text.length &&
            std::memcmp(text.bytes + value, k_own_product, sizeof k_own_product - 1) == 0) {
            return InputStart::own_calendar;
        }
        const int end = line_end(text, at);
        if (end < 0) break;
        at = end + 1;
    }
    return InputStart::calendar;
}
