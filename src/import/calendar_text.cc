// Loading a calendar file's text. The file is read with block reads and converted in
// place: CR LF becomes LF, and a line feed followed by a blank or tab (a folded line) is
// removed with that one blank or tab. The loaded text is then checked as a whole: it must
// not be UTF-16, must begin and end as a calendar does, and must be strict UTF-8.
#include "import/calendar_text.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int k_probe_size = 64;  // read once file_buffer has no room left: whether the rest still adds text

// A calendar's first and last line; compared without regard to case, as iCalendar names are.
constexpr char k_calendar_begin[] = "BEGIN:VCALENDAR";
constexpr char k_calendar_end[] = "END:VCALENDAR";
constexpr char k_utf8_mark[] = "\xEF\xBB\xBF";  // a byte-order mark some editors put first

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

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF, and no NUL
// (it would end the text early).
bool is_valid_utf8(const char* text, int length) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    constexpr uint64_t k_high_bits = 0x8080808080808080ULL;
    constexpr uint64_t k_low_bits = 0x0101010101010101ULL;
    int i = 0;
    while (i < length) {
        // Eight ASCII bytes without a NUL at a time: the common case of a calendar text.
        if (length - i >= 8) {
            uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            const bool has_high = (word & k_high_bits) != 0;
            const bool has_zero = ((word - k_low_bits) & ~word & k_high_bits) != 0;
            if (!has_high && !has_zero) {
                i += 8;
                continue;
            }
        }
        const unsigned char lead = bytes[i];
        int tail = 0;
        unsigned char low = 0x80;   // allowed range of the first continuation byte
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            if (lead == 0x00) return false;  // a NUL would end the text early
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            tail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            tail = 2;
            if (lead == 0xE0) low = 0xA0;   // shorter forms are overlong
            if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF are surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            tail = 3;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return false;  // a stray continuation byte, C0, C1 or F5..FF
        }
        if (tail > 0) {
            if (length - i - 1 < tail) return false;
            if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
            for (int k = 2; k <= tail; ++k) {
                if (!is_continuation(bytes[i + k])) return false;
            }
        }
        i += tail + 1;
    }
    return true;
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

}  // namespace

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
        size_t i = 0;
        while (i < got && !converter.overflow) {
            // Most bytes are neither part of a line end nor behind a held one: copy such a
            // run directly, with the positions in locals (stores through char alias the state).
            if (!converter.cr_held && !converter.lf_held) {
                char* out = converter.buffer;
                int written = converter.written;
                size_t j = i;
                while (j < got && target[j] != '\r' && target[j] != '\n' && written < k_file_buffer_size - 1) {
                    out[written++] = target[j++];
                }
                converter.written = written;
                if (j > i) {
                    i = j;
                    continue;
                }
            }
            convert(converter, target[i]);
            ++i;
        }
        if (converter.overflow) return ReadResult::file_too_large;
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
    if (!is_valid_utf8(text.bytes, text.length)) return ReadResult::not_utf8;
    return ReadResult::ok;
}

