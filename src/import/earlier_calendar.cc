// Reading the last run's club calendar back: lines joined where they were folded, the
// header's "Stand:" for the run's date (else the first event's stamp), and each event read
// as the import reads any event, its team taken from its description.
#include "import/earlier_calendar.h"

#include <cstring>

#include "core/bounded_text.h"
#include "import/calendar_text.h"
#include "import/event_parser.h"
#include "import/german_time.h"
#include "import/properties.h"
#include "import/text_search.h"
#include "import/time_zones.h"

namespace {

constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";
constexpr char k_caldesc[] = "X-WR-CALDESC";
constexpr char k_stamp[] = "DTSTAMP";
constexpr char k_description[] = "DESCRIPTION";
constexpr char k_stand[] = "Stand: ";
constexpr char k_uid_domain[] = "@termarium";
constexpr char k_league_separator[] = ", ";
constexpr int k_date_length = 14;        // "Di, 09.12.2025" of "Di, 09.12.2025 07:45"
constexpr int k_event_size = 16 << 10;   // one event's lines; the calendar writes far less

// Refills the chunk; false at the stream's end or past the size read at most.
bool refill(LineStream& lines) {
    if (lines.bytes_read > k_earlier_calendar_limit) return false;
    const size_t got = std::fread(lines.chunk, 1, sizeof lines.chunk, lines.stream);
    lines.at = 0;
    lines.end = static_cast<int32_t>(got);
    lines.bytes_read += static_cast<int64_t>(got);
    return got > 0;
}

// One physical line into next, its line end taken off; false at the end.
bool read_physical(LineStream& lines) {
    lines.next_length = 0;
    bool any = false;
    for (;;) {
        if (lines.at >= lines.end && !refill(lines)) return any;
        any = true;
        const char* from = lines.chunk + lines.at;
        const int available = lines.end - lines.at;
        const void* feed = std::memchr(from, '\n', static_cast<size_t>(available));
        const int take = feed != nullptr ? static_cast<int>(static_cast<const char*>(feed) - from) : available;
        const int room = k_line_size - 1 - lines.next_length;
        const int copied = take < room ? take : room;
        std::memcpy(lines.next + lines.next_length, from, static_cast<size_t>(copied));
        lines.next_length += copied;
        lines.too_long = lines.too_long || copied < take;
        lines.at += take;
        if (feed != nullptr) {
            ++lines.at;
            break;
        }
    }
    if (lines.next_length > 0 && lines.next[lines.next_length - 1] == '\r') --lines.next_length;
    lines.next[lines.next_length] = '\0';
    return true;
}

// The value of a line "NAME[;parameters]:value", unescaped, into out; false when the line
// has another name.
template <size_t Size>
bool named_value(const char* line, int length, const char* name, char (&out)[Size]) {
    const TextSpan text{line, length};
    ContentLine parts{};
    if (!read_content_line(text, 0, parts) || !is_named(text, parts, name)) return false;
    bool cut = false;
    unescape_text(text, parts.value, parts.end, out, Size, cut);
    return true;
}

// The club's team of an event: its description, ", <league>" taken off its end.
void take_own_team(const char* description, const char* league, char (&own_team)[k_team_name_size]) {
    size_t length = std::strlen(description);
    const size_t league_length = std::strlen(league);
    const size_t tail = league_length + sizeof k_league_separator - 1;
    if (league_length > 0 && length > tail && std::strcmp(description + length - league_length, league) == 0 &&
        std::strncmp(description + length - tail, k_league_separator, sizeof k_league_separator - 1) == 0) {
        length -= tail;
    }
    if (!copy_bytes(own_team, sizeof own_team, description, length)) own_team[0] = '\0';
}

// Takes " (<league>)" off the end of a side: the calendar names the league beside the
// club's team where two of the club's teams share a name.
void without_league(char (&side)[k_opponent_size], const char* league) {
    const size_t length = std::strlen(side);
    const size_t league_length = std::strlen(league);
    if (league_length == 0 || length < league_length + 3) return;
    char* open = side + length - league_length - 3;
    if (open[0] == ' ' && open[1] == '(' && side[length - 1] == ')' &&
        std::strncmp(open + 2, league, league_length) == 0) {
        *open = '\0';
    }
}

// Reads the event in text into the next earlier match; false when it cannot be read.
bool take_event(RunState& state, TextSpan text, const char* description, DeclaredZones& zones) {
    EarlierRun& earlier = state.earlier;
    if (earlier.count >= k_table_rows) return false;
    ParsedEvent event{};
    if (parse_event(text, 0, zones, event) != EventRead::done) return false;
    EarlierMatch& match = earlier.matches[earlier.count];
    match = EarlierMatch{};
    take_own_team(description, event.row.league, match.own_team);
    if (match.own_team[0] == '\0') return false;
    without_league(event.home, event.row.league);
    without_league(event.away, event.row.league);
    match.row = event.row;
    take_club_side(match.row, event.home, event.away, match.own_team);
    MatchDetails& details = match.details;
    copy_text(details.home, sizeof details.home, event.home);
    copy_text(details.away, sizeof details.away, event.away);
    copy_text(details.location, sizeof details.location, event.location);
    // The calendar's UID is the source's with the calendar's domain behind it.
    const size_t uid_length = std::strlen(event.uid);
    const size_t domain = sizeof k_uid_domain - 1;
    const bool own_domain = uid_length > domain && std::strcmp(event.uid + uid_length - domain, k_uid_domain) == 0;
    copy_bytes(details.uid, sizeof details.uid, event.uid, own_domain ? uid_length - domain : uid_length);
    details.sequence = event.sequence;
    details.cancelled = event.cancelled;
    ++earlier.count;
    return true;
}

// The run's date of a "Stand: Di, 09.12.2025 07:45" into since.
void take_since(const char* stand, char (&since)[k_run_time_size]) {
    if (std::strncmp(stand, k_stand, sizeof k_stand - 1) != 0) return;
    copy_bytes(since, sizeof since, stand + sizeof k_stand - 1, k_date_length);
}

}  // namespace

void start_lines(LineStream& lines, FILE* stream) {
    std::rewind(stream);
    lines.stream = stream;
    lines.at = 0;
    lines.end = 0;
    lines.bytes_read = 0;
    lines.too_long = false;
    lines.has_next = read_physical(lines);
}

bool next_line(LineStream& lines, char (&line)[k_line_size], int& length) {
    if (!lines.has_next) return false;
    length = lines.next_length;
    std::memcpy(line, lines.next, static_cast<size_t>(length) + 1);
    // Continuation lines begin with a blank, which belongs to the folding.
    while ((lines.has_next = read_physical(lines)) && (lines.next[0] == ' ' || lines.next[0] == '\t')) {
        const int take = lines.next_length - 1;
        const int copied = take < k_line_size - 1 - length ? take : k_line_size - 1 - length;
        std::memcpy(line + length, lines.next + 1, static_cast<size_t>(copied));
        lines.too_long = lines.too_long || copied < take;
        length += copied;
        line[length] = '\0';
    }
    return true;
}

EarlierRead read_earlier_calendar(RunState& state, FILE* stream) {
    EarlierRun& earlier = state.earlier;
    earlier.count = 0;
    earlier.since[0] = '\0';
    if (stream == nullptr || peek_input_start(stream) != InputStart::own_calendar) return EarlierRead::unreadable;
    LineStream lines;  // NOLINT(cppcoreguidelines-pro-type-member-init): start_lines sets what is read
    start_lines(lines, stream);
    char line[k_line_size];
    int length = 0;
    char event[k_event_size];
    int event_length = -1;  // -1 outside an event
    char description[k_line_size] = "";
    char stamp[k_stamp_size] = "";
    DeclaredZones zones{};
    bool ended = false;
    while (!ended && next_line(lines, line, length)) {
        const TextSpan text{line, length};
        // Markers and the properties looked for here begin with these letters; the others
        // are copied into the event as they are.
        const char first = ascii_upper(line[0]);
        if (event_length < 0) {
            if (first == 'B' && marker_at(text, 0, k_event_begin)) {
                event_length = 0;
                description[0] = '\0';
            } else if (first == 'E' && marker_at(text, 0, "END:VCALENDAR")) {
                ended = true;
                continue;
            } else {
                char stand[k_line_size];
                if (first == 'X' && named_value(line, length, k_caldesc, stand)) take_since(stand, earlier.since);
                continue;
            }
        }
        if (event_length + length + 1 >= k_event_size) break;
        std::memcpy(event + event_length, line, static_cast<size_t>(length));
        event_length += length;
        event[event_length++] = '\n';
        if (first == 'D') {
            if (stamp[0] == '\0') named_value(line, length, k_stamp, stamp);
            named_value(line, length, k_description, description);
        }
        if (first == 'E' && marker_at(text, 0, k_event_end)) {
            if (!take_event(state, TextSpan{event, event_length}, description, zones)) break;
            event_length = -1;
        }
    }
    if (!ended || lines.too_long || lines.bytes_read > k_earlier_calendar_limit || std::ferror(stream) != 0) {
        earlier.count = 0;
        return EarlierRead::unreadable;
    }
    if (earlier.since[0] == '\0' && stamp[0] != '\0') {
        char time[k_run_time_size];
        if (german_time_of_stamp(stamp, time)) copy_bytes(earlier.since, sizeof earlier.since, time, k_date_length);
    }
    return EarlierRead::done;
}
