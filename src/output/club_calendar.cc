// The club calendar. Each match keeps one identity over every run, so that a phone that
// imports or subscribes again updates the match instead of adding it twice: its UID is the
// league's own UID of the event with this calendar's domain behind it, which stays when
// the league moves the match; an event without a UID gets a hash of date, time, home and
// away team. A match stands once: the rows of one source UID, or of one date, time, home
// and away team (a derby of two of the club's teams, in both teams' files), are one event,
// with a location from whichever row has one and the highest SEQUENCE among them. Times
// are German local times under the Europe/Berlin zone, which the file itself defines; a
// match without a time is an all-day event, a timed one lasts as the match days reckon it.
// An event all of whose rows are called off is marked cancelled and says so in its summary,
// since some calendar programs hide a cancelled event and others show it as any other; it
// takes its date from its first row that takes place, where it has one.
// Where two of the club's teams share a name, their summaries name the league. A row whose date is no real date has no place
// in a calendar and is left out of this file only.
#include "output/club_calendar.h"

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "core/civil_date.h"
#include "core/hash.h"
#include "output/calendar_lines.h"
#include "output/output_buffer.h"
#include "output/table_rows.h"

namespace {

constexpr char k_product[] = "PRODID:-//Termarium//Termarium " TERMARIUM_VERSION "//DE";

// True when the PRODID line names the maker by which a later run knows its own output.
constexpr bool names_own_product(const char* line) {
    constexpr char k_name[] = "PRODID:";
    for (size_t i = 0; i + 1 < sizeof k_name; ++i) {
        if (line[i] != k_name[i]) return false;
    }
    for (size_t i = 0; i + 1 < sizeof k_own_product; ++i) {
        if (line[sizeof k_name - 1 + i] != k_own_product[i]) return false;
    }
    return true;
}
static_assert(names_own_product(k_product), "a later run must know the club calendar as its own");
constexpr const char* k_calendar_head[] = {
    "BEGIN:VCALENDAR",
    "VERSION:2.0",
    k_product,
    "CALSCALE:GREGORIAN",
    "METHOD:PUBLISH",
};
// A subscribed calendar is fetched again within hours, so that a moved match reaches the phones.
constexpr const char* k_calendar_zone[] = {
    "X-WR-TIMEZONE:Europe/Berlin",
    "REFRESH-INTERVAL;VALUE=DURATION:PT6H",
    "X-PUBLISHED-TTL:PT6H",
    "BEGIN:VTIMEZONE",
    "TZID:Europe/Berlin",
    "BEGIN:DAYLIGHT",
    "TZOFFSETFROM:+0100",
    "TZOFFSETTO:+0200",
    "TZNAME:CEST",
    "DTSTART:19700329T020000",
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
    "END:DAYLIGHT",
    "BEGIN:STANDARD",
    "TZOFFSETFROM:+0200",
    "TZOFFSETTO:+0100",
    "TZNAME:CET",
    "DTSTART:19701025T030000",
    "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU",
    "END:STANDARD",
    "END:VTIMEZONE",
};
constexpr char k_calendar_name[] = "X-WR-CALNAME:";
constexpr char k_calendar_description[] = "X-WR-CALDESC:";
constexpr char k_calendar_end[] = "END:VCALENDAR";
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";
constexpr char k_uid[] = "UID:";
constexpr char k_stamp[] = "DTSTAMP:";
constexpr char k_sequence[] = "SEQUENCE:";
constexpr char k_start_timed[] = "DTSTART;TZID=Europe/Berlin:";
constexpr char k_start_day[] = "DTSTART;VALUE=DATE:";
constexpr char k_timed_duration[] = "DURATION:";
constexpr char k_day_duration[] = "DURATION:P1D";
constexpr char k_summary[] = "SUMMARY:";
constexpr char k_called_off_status[] = "STATUS:CANCELLED";
constexpr char k_location[] = "LOCATION:";
constexpr char k_categories[] = "CATEGORIES:";
constexpr char k_description[] = "DESCRIPTION:";
constexpr char k_league_open[] = " (";
constexpr char k_league_close[] = ")";
constexpr char k_key_separator[] = "\x1F";  // between the parts of a match's identity; no name holds it

constexpr int k_hash_digits = 16;
constexpr int k_slots = 16384;  // hash slots for the rows' identities: more than twice the rows
static_assert(k_slots > 2 * k_table_rows, "a probe for a row's identity always meets a free slot soon");

// A match's date and time as the calendar writes them.
struct MatchTime {
    char date[9];   // YYYYMMDD
    char time[5];   // HHMM, empty for a match without a time
};

// One event of the calendar and the rows it stands for.
struct CalendarEvent {
    int row;            // its first row: date, time, teams, league and venue
    int location_row;   // a row of the match with a location (row when none has one)
    int uid_row;        // the row whose source UID it takes, the smallest of its rows', or -1
    int32_t sequence;   // the highest SEQUENCE of its rows
    bool live;          // one of its rows takes place: row is the first such
    MatchTime when;
};

// The events in table order, and where the rows' identities lead: slots of row + 1 by hash.
// Only the count and the slots start as zeros (start_events); a row's entries are written
// before they are read, so that a small table leaves most of this record untouched.
struct CalendarEvents {
    CalendarEvent events[k_table_rows];
    int count;
    int event_of[k_table_rows];  // the event each row belongs to
    int by_uid[k_slots];
    int by_key[k_slots];
    uint64_t uid_hash[k_table_rows];  // of each row, so that a slot is compared whole only on an equal hash
    uint64_t key_hash[k_table_rows];
};

// No events yet, and every slot free.
void start_events(CalendarEvents& found) {
    found.count = 0;
    std::memset(found.by_uid, 0, sizeof found.by_uid);
    std::memset(found.by_key, 0, sizeof found.by_key);
}

// The row's date and time as the calendar writes them; false when the date is no real date.
// A time that is not a real one counts as none.
bool match_time(const MatchRecord& row, MatchTime& when) {
    CivilTime civil{};
    if (!row_time(row, civil)) return false;
    std::memcpy(when.date, row.year, 4);
    std::memcpy(when.date + 4, row.month, 2);
    std::memcpy(when.date + 6, row.day, 2);
    when.date[8] = '\0';
    when.time[0] = '\0';
    if (civil.hour >= 0) {
        std::memcpy(when.time, row.hour, 2);
        std::memcpy(when.time + 2, row.minute, 2);
        when.time[4] = '\0';
    }
    return true;
}

// The hash of the match's identity without a UID: date, time, home and away team, a separator
// between each two, hashed part by part as one text.
uint64_t match_key_hash(const RunState& state, int row, const MatchTime& when) {
    constexpr size_t k_separator_length = sizeof k_key_separator - 1;
    uint64_t hash = hash_text(k_hash_start, when.date);
    hash = hash_bytes(hash, k_key_separator, k_separator_length);
    hash = hash_text(hash, when.time);
    hash = hash_bytes(hash, k_key_separator, k_separator_length);
    hash = hash_text(hash, state.match_details[row].home);
    hash = hash_bytes(hash, k_key_separator, k_separator_length);
    return hash_text(hash, state.match_details[row].away);
}

// True when the earlier row's match has the identity of the row's: date, time, home and away team.
bool same_match_key(const RunState& state, int earlier, int row, const MatchTime& when) {
    MatchTime other{};
    match_time(state.match_table[earlier], other);
    return std::strcmp(other.date, when.date) == 0 && std::strcmp(other.time, when.time) == 0 &&
           same_home_and_away(state, earlier, row);
}

// The event of an earlier row whose identity is the same, found through its slot, or -1;
// else the row takes the free slot. hashes holds each row's hash; same(earlier) compares
// the identities whole.
template <typename Same>
int find_or_keep(int row, int (&slots)[k_slots], const CalendarEvents& found, const uint64_t (&hashes)[k_table_rows],
                 Same same) {
    const uint64_t hash = hashes[row];
    for (unsigned slot = static_cast<unsigned>(hash % k_slots);; slot = (slot + 1) % k_slots) {
        if (slots[slot] == 0) {
            slots[slot] = row + 1;
            return -1;
        }
        const int earlier = slots[slot] - 1;
        if (hashes[earlier] == hash && same(earlier)) return found.event_of[earlier];
    }
}

// Adds the row to the events: to the event of its source UID, else to that of its date,
// time and teams, else as a new one.
void add_row(const RunState& state, CalendarEvents& found, int row, const MatchTime& when) {
    const char* uid = state.match_details[row].uid;
    int event = -1;
    if (uid[0] != '\0') {
        found.uid_hash[row] = hash_text(k_hash_start, uid);
        event = find_or_keep(row, found.by_uid, found, found.uid_hash,
                             [&](int earlier) { return std::strcmp(state.match_details[earlier].uid, uid) == 0; });
    }
    found.key_hash[row] = match_key_hash(state, row, when);
    const int by_key = find_or_keep(row, found.by_key, found, found.key_hash,
                                    [&](int earlier) { return same_match_key(state, earlier, row, when); });
    if (event < 0) event = by_key;
    if (event < 0) {
        event = found.count++;
        found.events[event] = CalendarEvent{row, row, -1, 0, false, when};
    }
    found.event_of[row] = event;
    CalendarEvent& match = found.events[event];
    if (!match.live && !called_off(state, row)) {
        match.row = row;
        match.live = true;
        match.when = when;
    }
    if (state.match_details[match.location_row].location[0] == '\0') match.location_row = row;
    if (state.match_details[row].sequence > match.sequence) match.sequence = state.match_details[row].sequence;
    if (uid[0] != '\0' && (match.uid_row < 0 || std::strcmp(uid, state.match_details[match.uid_row].uid) < 0)) {
        match.uid_row = row;
    }
}

// True when text ends with tail: a UID of this calendar read back keeps its domain once.
bool ends_with(const char* text, const char* tail) {
    const size_t length = std::strlen(text);
    const size_t tail_length = std::strlen(tail);
    return length >= tail_length && std::strcmp(text + length - tail_length, tail) == 0;
}

// "PT1H30M": a timed match's length, as the match days reckon it, as an iCalendar duration.
void add_duration(CalendarLine& line, const MatchRecord& match) {
    const int minutes = match_minutes(match);
    char text[] = "PT0H00M";
    write_digits<1>(text + 2, minutes / 60 % 10);  // a match lasts less than ten hours
    write_digits<2>(text + 4, minutes % 60);
    if (minutes % 60 == 0) text[4] = '\0';
    add_plain(line, text);
}

// For each club team (by its first block): true when another of the run's club teams has its
// name (a U15 and a U19 team both "JSG Lindenbrück 1"): its matches then name the league too.
void find_shared_names(const RunState& state, bool (&shared)[k_max_blocks]) {
    const int blocks = state.block_count < k_max_blocks ? state.block_count : k_max_blocks;
    const auto team = [&](int block) { return state.blocks[block].also_in > 0 ? state.blocks[block].also_in - 1 : block; };
    for (int own = 0; own < k_max_blocks; ++own) {
        shared[own] = false;
        for (int block = 0; block < blocks && !shared[own]; ++block) {
            const char* name = state.blocks[block].own_team;
            shared[own] = team(block) != own && name[0] != '\0' && std::strcmp(name, state.blocks[own].own_team) == 0;
        }
    }
}

// One side of the summary; the club's team with its league when its name is not its own.
void add_side(CalendarLine& line, const char* name, const MatchRecord& match, bool with_league) {
    add_escaped(line, name, k_opponent_size);
    if (!with_league || match.league[0] == '\0') return;
    add_plain(line, k_league_open);
    add_escaped(line, match.league, sizeof match.league);
    add_plain(line, k_league_close);
}

// One event; own_team is the club's team of its first row's file, with_league true when
// another club team has its name.
void put_event(OutputBuffer& out, const RunState& state, const CalendarEvent& event, const char* own_team,
               bool with_league) {
    const MatchRecord& match = state.match_table[event.row];
    const MatchTime& when = event.when;
    CalendarLine line{};

    put_fixed_line(out, k_event_begin);
    start_line(line, out, k_uid);
    if (event.uid_row >= 0) {
        add_escaped(line, state.match_details[event.uid_row].uid, k_uid_size);
        if (!ends_with(state.match_details[event.uid_row].uid, k_uid_domain)) add_plain(line, k_uid_domain);
    } else {
        char hashed[k_hash_digits + 1];
        hex_digits(match_key_hash(state, event.row, when), k_hash_digits, hashed);
        add_plain(line, hashed);
        add_plain(line, k_uid_domain);
    }
    end_line(line);
    start_line(line, out, k_stamp);
    add_plain(line, state.run_stamp);
    end_line(line);
    if (event.sequence > 0) {
        char digits[k_number_size] = "";  // the zero fill ends the digits
        write_number(digits, sizeof digits - 1, event.sequence, 1);
        start_line(line, out, k_sequence);
        add_plain(line, digits);
        end_line(line);
    }
    start_line(line, out, when.time[0] != '\0' ? k_start_timed : k_start_day);
    add_plain(line, when.date);
    if (when.time[0] != '\0') {
        add_plain(line, "T");
        add_plain(line, when.time);
        add_plain(line, "00");
    }
    end_line(line);
    if (when.time[0] != '\0') {
        start_line(line, out, k_timed_duration);
        add_duration(line, match);
        end_line(line);
    } else {
        put_fixed_line(out, k_day_duration);
    }
    start_line(line, out, k_summary);
    if (!event.live) add_plain(line, k_cancelled_title);
    add_side(line, state.match_details[event.row].home, match, with_league && match.is_home != 0);
    add_plain(line, summary_separator);
    add_side(line, state.match_details[event.row].away, match, with_league && match.is_home == 0);
    end_line(line);
    if (!event.live) put_fixed_line(out, k_called_off_status);
    if (state.match_details[event.location_row].location[0] != '\0') {
        start_line(line, out, k_location);
        add_escaped(line, state.match_details[event.location_row].location, k_location_size);
        end_line(line);
    }
    if (match.league[0] != '\0') {
        start_line(line, out, k_categories);
        add_escaped(line, match.league, sizeof match.league);
        end_line(line);
    }
    start_line(line, out, k_description);
    add_escaped(line, own_team, k_team_name_size);
    if (match.league[0] != '\0') {
        add_escaped(line, k_team_league_separator, sizeof k_team_league_separator);
        add_escaped(line, match.league, sizeof match.league);
    }
    end_line(line);
    start_line(line, out, k_venue_property);
    add_plain(line, ":");
    add_escaped(line, match.venue, sizeof match.venue);
    end_line(line);
    put_fixed_line(out, k_event_end);
}

}  // namespace

bool write_club_calendar(RunState& state, const MatchPlan& /*plan*/, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out{};
    start_output(out, stream);
    for (const char* text : k_calendar_head) put_fixed_line(out, text);
    CalendarLine line{};
    // "Spielplan <club> <season>": a later run takes the club from it.
    start_line(line, out, k_calendar_name);
    add_plain(line, k_calendar_title);
    if (state.club[0] != '\0') {
        add_escaped(line, state.club, sizeof state.club);
        add_plain(line, " ");
    }
    add_escaped(line, state.season, sizeof state.season);
    end_line(line);
    start_line(line, out, k_calendar_description);
    add_plain(line, k_stand_title);
    add_escaped(line, state.run_time, sizeof state.run_time);
    end_line(line);
    for (const char* text : k_calendar_zone) put_fixed_line(out, text);

    // Some 380 KiB on the stack for a full table; start_events zeroes what is read before it is written.
    CalendarEvents found;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    start_events(found);
    const int end = end_of_table_row(state);
    for (int row = 1; row < end; ++row) {
        MatchTime when{};
        if (match_time(state.match_table[row], when)) add_row(state, found, row, when);
    }
    bool shared[k_max_blocks];
    find_shared_names(state, shared);
    for (int i = 0; i < found.count; ++i) {
        const int team = team_of(state, found.events[i].row);
        put_event(out, state, found.events[i], own_team_of(state, found.events[i].row), team >= 0 && shared[team]);
    }
    put_fixed_line(out, k_calendar_end);
    return finish_output(out);
}

void stamp_run_time(RunState& state, int64_t seconds_since_1970) {
    // The calendar's own arithmetic gives UTC, so no time zone file is read for it.
    constexpr long long k_seconds_per_day = 86400;
    const long long now = static_cast<long long>(seconds_since_1970);
    const CivilDate date = civil_from_days(static_cast<int>(now / k_seconds_per_day));
    const int seconds = static_cast<int>(now % k_seconds_per_day);
    if (now < 0 || !is_real_date(date)) {
        copy_text(state.run_stamp, sizeof state.run_stamp, "19700101T000000Z");
        return;
    }
    char stamp[k_stamp_size] = "YYYYMMDDTHHMMSSZ";
    write_digits<4>(stamp, date.year);
    write_digits<2>(stamp + 4, date.month);
    write_digits<2>(stamp + 6, date.day);
    write_digits<2>(stamp + 9, seconds / 3600);
    write_digits<2>(stamp + 11, seconds / 60 % 60);
    write_digits<2>(stamp + 13, seconds % 60);
    copy_text(state.run_stamp, sizeof state.run_stamp, stamp);
}
