// The calendar file reader. A file is loaded once, with block reads, and converted in
// place: CR LF becomes LF, and a line feed followed by a blank or tab (a folded line) is
// removed with that one blank or tab. The four passes of the reader (first summary,
// the two counts, the events) then each run over that same text with a read position
// that only advances, which gives what loading the file for every pass would give.
#include "import/calendar_reader.h"

#include <cstdint>
#include <cstring>

#include "driver/bounded_text.h"
#include "import/event_parser.h"
#include "import/text_search.h"

namespace {

constexpr char k_first_summary_marker[] = "\nSUMMARY:";
constexpr char k_file_line[] = "%s (%s): %i Spiele\n";
constexpr int k_probe_size = 64;  // read once file_buffer has no room left: whether the rest still adds text

constexpr char k_too_large_text[] = "Datei zu gross (max. %i Zeichen)";
constexpr char k_no_match_text[] = "keine Spielpaarung gefunden";
constexpr char k_team_name_text[] = "Mannschaftsname leer oder zu lang (max. %i Zeichen)";
constexpr char k_event_layout_text[] = "Spiel %i passt nicht zum erwarteten Aufbau";
constexpr char k_too_many_rows_text[] = "zu viele Spiele (max. %i Tabellenzeilen)";
constexpr char k_not_utf8_text[] = "Datei ist nicht UTF-8-kodiert";
constexpr char k_incomplete_text[] = "Datei ist unvollstaendig (Kalenderende fehlt)";

// A calendar's last line, and the line that begins each event. Property names are
// case-insensitive in iCalendar, so both are compared without regard to case.
constexpr char k_calendar_end[] = "END:VCALENDAR";
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_read_error_text[] = "Datei konnte nicht gelesen werden";

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

// True for the bytes that may stand around a marker line: blanks and line ends.
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when text[at, at + length of marker) is the marker, ignoring the case of letters.
bool marker_at(TextSpan text, int at, const char* marker) {
    const int length = static_cast<int>(std::strlen(marker));
    if (at < 0 || at + length > text.length) return false;
    for (int i = 0; i < length; ++i) {
        const char c = text.bytes[at + i];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != marker[i]) return false;
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

// Start of the first "BEGIN:VEVENT" line at or behind the line start from, or -1.
int next_event_begin(TextSpan text, int from) {
    for (int line = from; line >= 0 && line < text.length;) {
        const int end = line_end(text, line);
        const int stop = end < 0 ? text.length : end;
        if (marker_at(text, line, k_event_begin)) {
            int rest = line + static_cast<int>(sizeof k_event_begin - 1);
            while (rest < stop && is_blank(text.bytes[rest])) ++rest;
            if (rest == stop) return line;
        }
        line = end < 0 ? -1 : end + 1;
    }
    return -1;
}

// The "BEGIN:VEVENT" lines met so far while the events are read front to back.
struct EventBegins {
    int next;    // start of the next line not yet counted, or -1
    int before;  // lines counted: all that start before the position last asked for
};

// Counts the "BEGIN:VEVENT" lines that start before pos.
void count_begins_before(TextSpan text, EventBegins& begins, int pos) {
    while (begins.next >= 0 && begins.next < pos) {
        ++begins.before;
        const int end = line_end(text, begins.next);
        begins.next = end < 0 ? -1 : next_event_begin(text, end + 1);
    }
}

// The loaded text as a span.
TextSpan loaded_text(const RunState& state) { return {state.file_buffer, state.file_length}; }

// Occurrences of name anywhere in the text, overlapping ones one by one.
int count_occurrences(TextSpan text, const char* name) {
    int count = 0;
    for (int from = 0;;) {
        const int at = find_text(text, from, text.length, name);
        if (at < 0) return count;
        ++count;
        from = at + 1;
    }
}

// First pass: the two team names of the file's first summary line.
ReadResult take_candidates(RunState& state) {
    const TextSpan text = loaded_text(state);
    const int marker = find_text(text, 0, text.length, k_first_summary_marker);
    if (marker < 0) return ReadResult::no_match_found;
    const int value = marker + static_cast<int>(sizeof k_first_summary_marker) - 1;

    const SplitResult split = split_summary(text, value, state.candidate_home, sizeof state.candidate_home);
    switch (split.outcome) {
        case SummarySplit::done: break;
        case SummarySplit::no_separator: return ReadResult::no_match_found;
        case SummarySplit::too_long: return ReadResult::team_name_invalid;
    }
    trim_name(state.candidate_home);

    const int line_feed = line_end(text, split.next);
    const int away_end = line_feed < 0 ? text.length : line_feed;
    if (!copy_bytes(state.candidate_away, sizeof state.candidate_away, text.bytes + split.next,
                    static_cast<size_t>(away_end - split.next))) {
        return ReadResult::team_name_invalid;
    }
    trim_name(state.candidate_away);
    if (state.candidate_home[0] == '\0' || state.candidate_away[0] == '\0') return ReadResult::team_name_invalid;
    return ReadResult::ok;
}

// Last pass: every event, in file order, into the rows from current_row on. The read
// position only advances: each event is searched from where the previous one ended.
// Event k must be the first "UID:" behind the k-th "BEGIN:VEVENT" line, and every such
// line must have one, so that no match is lost without a word (a file written with
// "uid:", or one missing a line).
ReadResult take_events(RunState& state, int& events) {
    const TextSpan text = loaded_text(state);
    EventBegins begins{next_event_begin(text, 0), 0};
    for (int from = 0;;) {
        const int at = find_text(text, from, text.length, k_event_marker);
        if (at < 0) break;
        if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
        state.failed_event = events + 1;
        count_begins_before(text, begins, at);
        if (begins.before != events + 1) return ReadResult::event_layout;
        from = parse_event(text, at, state.own_team, state.match_table[state.current_row]);
        if (from < 0) return ReadResult::event_layout;
        ++state.current_row;
        ++events;
    }
    count_begins_before(text, begins, text.length);
    if (begins.before != events) {
        state.failed_event = events + 1;  // the first event without a "UID:" of its own
        return ReadResult::event_layout;
    }
    return ReadResult::ok;
}

}  // namespace

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
    if (!ends_as_calendar(text)) return ReadResult::incomplete;
    if (!is_valid_utf8(text.bytes, text.length)) return ReadResult::not_utf8;
    return ReadResult::ok;
}

ReadResult read_calendar_file(RunState& state, int file_index) {
    if (file_index < 0 || file_index >= k_max_input_files) return ReadResult::read_error;
    ReadResult result = load_calendar_text(state, state.input_files[file_index]);
    if (result == ReadResult::ok) result = check_calendar_text(loaded_text(state));
    if (result != ReadResult::ok) return result;

    result = take_candidates(state);
    if (result != ReadResult::ok) return result;
    state.home_candidate_count = count_occurrences(loaded_text(state), state.candidate_home);
    state.away_candidate_count = count_occurrences(loaded_text(state), state.candidate_away);
    const char* winner = state.home_candidate_count > state.away_candidate_count ? state.candidate_home
                                                                                 : state.candidate_away;
    copy_text(state.own_team, sizeof state.own_team, winner);

    int events = 0;
    result = take_events(state, events);
    if (result != ReadResult::ok) return result;

    const char* league = state.current_row > 0 ? state.match_table[state.current_row - 1].league : "";
    std::printf(k_file_line, state.own_team, league, events);
    return ReadResult::ok;
}

ReadResult import_calendar_files(RunState& state, int files, int& failed_file) {
    state.current_row = 0;
    for (int k = 0; k < files; ++k) {
        failed_file = k;
        // The separator row itself must leave room for the end mark behind it.
        if (state.current_row < 0 || state.current_row >= k_max_used_rows) return ReadResult::too_many_rows;
        state.match_table[state.current_row].day[0] = ' ';
        ++state.current_row;
        const ReadResult result = read_calendar_file(state, k);
        if (result != ReadResult::ok) return result;
    }
    failed_file = -1;
    return ReadResult::ok;
}

void describe_read_failure(const RunState& state, ReadResult result, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    switch (result) {
        case ReadResult::ok: break;
        case ReadResult::file_too_large: std::snprintf(out, size, k_too_large_text, k_file_buffer_size - 1); break;
        case ReadResult::no_match_found: copy_text(out, size, k_no_match_text); break;
        case ReadResult::team_name_invalid: std::snprintf(out, size, k_team_name_text, k_team_name_size - 1); break;
        case ReadResult::event_layout: std::snprintf(out, size, k_event_layout_text, state.failed_event); break;
        case ReadResult::too_many_rows: std::snprintf(out, size, k_too_many_rows_text, k_max_used_rows); break;
        case ReadResult::incomplete: copy_text(out, size, k_incomplete_text); break;
        case ReadResult::not_utf8: copy_text(out, size, k_not_utf8_text); break;
        case ReadResult::read_error: copy_text(out, size, k_read_error_text); break;
    }
}
