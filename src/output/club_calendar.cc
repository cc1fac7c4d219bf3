// The club calendar. Each match keeps one identity over every run: its UID is a hash of
// date, time, home and away team, so a phone that imports or subscribes again updates
// the match instead of adding it twice, and a derby of two of the club's teams, which
// stands in both teams' files, is written once. Times are German local times under the
// Europe/Berlin zone, which the file itself defines; a match without a time is an
// all-day event. A row whose date is no real date has no place in a calendar and is
// left out of this file only.
#include "output/club_calendar.h"

#include <cctype>
#include <cstring>
#include <ctime>

#include "core/bounded_text.h"
#include "core/civil_date.h"
#include "core/hash.h"
#include "output/calendar_lines.h"
#include "output/output_buffer.h"
#include "output/table_rows.h"

namespace {

constexpr char k_product[] = "PRODID:-//Termarium//Termarium " TERMARIUM_VERSION "//DE";
constexpr const char* k_calendar_head[] = {
    "BEGIN:VCALENDAR",
    "VERSION:2.0",
    k_product,
    "CALSCALE:GREGORIAN",
    "METHOD:PUBLISH",
};
// A subscribed calendar is fetched again daily, so that a new schedule reaches the phones.
constexpr const char* k_calendar_zone[] = {
    "X-WR-TIMEZONE:Europe/Berlin",
    "REFRESH-INTERVAL;VALUE=DURATION:P1D",
    "X-PUBLISHED-TTL:P1D",
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
constexpr char k_calendar_name[] = "X-WR-CALNAME:Spielplan ";
constexpr char k_calendar_end[] = "END:VCALENDAR";
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";
constexpr char k_uid[] = "UID:";
constexpr char k_uid_domain[] = "@termarium";
constexpr char k_stamp[] = "DTSTAMP:";
constexpr char k_start_timed[] = "DTSTART;TZID=Europe/Berlin:";
constexpr char k_start_day[] = "DTSTART;VALUE=DATE:";
constexpr char k_timed_duration[] = "DURATION:PT2H";
constexpr char k_day_duration[] = "DURATION:P1D";
constexpr char k_summary[] = "SUMMARY:";
constexpr char k_team_separator[] = " - ";
constexpr char k_location[] = "LOCATION:";
constexpr char k_categories[] = "CATEGORIES:";
constexpr char k_description[] = "DESCRIPTION:";
constexpr char k_description_separator[] = ", ";
constexpr char k_key_separator[] = "\x1F";  // between the parts of a match's identity; no name holds it

constexpr int k_key_size = 2 * k_opponent_size + 24;  // date, time, both names, separators
constexpr int k_hash_digits = 16;

// A match's date and time as the calendar writes them.
struct MatchTime {
    char date[9];   // YYYYMMDD
    char time[5];   // HHMM, empty for a match without a time
};

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

// The match's identity: date, time, home and away team.
void match_key(const RunState& state, int row, const MatchTime& when, char (&key)[k_key_size]) {
    copy_text(key, sizeof key, when.date);
    append_text(key, sizeof key, k_key_separator);
    append_text(key, sizeof key, when.time);
    append_text(key, sizeof key, k_key_separator);
    append_text(key, sizeof key, state.match_homes[row]);
    append_text(key, sizeof key, k_key_separator);
    append_text(key, sizeof key, state.match_aways[row]);
}

// The matches already written: their rows and the hashes of their keys.
struct WrittenMatches {
    int rows[k_table_rows];
    uint64_t hashes[k_table_rows];
    int count;
};

// True when a match of the same key was written before.
bool written_before(const RunState& state, const WrittenMatches& written, uint64_t hash, const char* key) {
    for (int i = 0; i < written.count; ++i) {
        if (written.hashes[i] != hash) continue;
        MatchTime when{};
        char other[k_key_size];
        match_time(state.match_table[written.rows[i]], when);
        match_key(state, written.rows[i], when, other);
        if (std::strcmp(other, key) == 0) return true;
    }
    return false;
}

// One event; own_team is the club's team of the row's file.
void put_event(OutputBuffer& out, const RunState& state, int row, const MatchTime& when, uint64_t hash,
               const char* own_team) {
    const MatchRecord& match = state.match_table[row];
    char uid[k_hash_digits + 1];
    hex_digits(hash, k_hash_digits, uid);
    CalendarLine line{};

    put_fixed_line(out, k_event_begin);
    start_line(line, out, k_uid);
    add_plain(line, uid);
    add_plain(line, k_uid_domain);
    end_line(line);
    start_line(line, out, k_stamp);
    add_plain(line, state.run_stamp);
    end_line(line);
    start_line(line, out, when.time[0] != '\0' ? k_start_timed : k_start_day);
    add_plain(line, when.date);
    if (when.time[0] != '\0') {
        add_plain(line, "T");
        add_plain(line, when.time);
        add_plain(line, "00");
    }
    end_line(line);
    put_fixed_line(out, when.time[0] != '\0' ? k_timed_duration : k_day_duration);
    start_line(line, out, k_summary);
    add_escaped(line, state.match_homes[row], k_opponent_size);
    add_plain(line, k_team_separator);
    add_escaped(line, state.match_aways[row], k_opponent_size);
    end_line(line);
    if (state.match_locations[row][0] != '\0') {
        start_line(line, out, k_location);
        add_escaped(line, state.match_locations[row], k_location_size);
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
        add_escaped(line, k_description_separator, sizeof k_description_separator);
        add_escaped(line, match.league, sizeof match.league);
    }
    end_line(line);
    put_fixed_line(out, k_event_end);
}

}  // namespace

bool write_club_calendar(RunState& state, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out;
    start_output(out, stream);
    for (const char* text : k_calendar_head) put_fixed_line(out, text);
    CalendarLine line{};
    start_line(line, out, k_calendar_name);
    add_escaped(line, state.season, sizeof state.season);
    end_line(line);
    for (const char* text : k_calendar_zone) put_fixed_line(out, text);

    WrittenMatches written{};
    const int end = end_of_table_row(state);
    int file = 0;  // row 0 is the first file's separator; each further one begins the next file
    for (int row = 1; row < end; ++row) {
        const char kind = state.match_table[row].day[0];
        if (kind == ' ') ++file;
        MatchTime when{};
        if (!std::isdigit(static_cast<unsigned char>(kind)) || !match_time(state.match_table[row], when)) continue;
        char key[k_key_size];
        match_key(state, row, when, key);
        const uint64_t hash = hash_text(k_hash_start, key);
        if (written_before(state, written, hash, key)) continue;
        written.rows[written.count] = row;
        written.hashes[written.count] = hash;
        ++written.count;
        put_event(out, state, row, when, hash, file < k_max_input_files ? state.file_own_teams[file] : "");
    }
    put_fixed_line(out, k_calendar_end);
    return finish_output(out);
}

void stamp_run_time(RunState& state) {
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    if (utc == nullptr || std::strftime(state.run_stamp, sizeof state.run_stamp, "%Y%m%dT%H%M%SZ", utc) == 0) {
        copy_text(state.run_stamp, sizeof state.run_stamp, "19700101T000000Z");
    }
}
