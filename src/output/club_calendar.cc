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
#include "output/calendar_lines.h"
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

bool all_digits(const char* text, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

int two_digits(const char* text) { return (text[0] - '0') * 10 + (text[1] - '0'); }

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int month, int year) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : days[month - 1];
}

// The row's date and time; false when the date is no real date. A time that is not a
// real one counts as none.
bool match_time(const MatchRecord& row, MatchTime& when) {
    if (!all_digits(row.year, 4) || !all_digits(row.month, 2) || !all_digits(row.day, 2)) return false;
    const int year = (row.year[0] - '0') * 1000 + (row.year[1] - '0') * 100 + two_digits(row.year + 2);
    const int month = two_digits(row.month);
    const int day = two_digits(row.day);
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(month, year)) return false;
    std::memcpy(when.date, row.year, 4);
    std::memcpy(when.date + 4, row.month, 2);
    std::memcpy(when.date + 6, row.day, 2);
    when.date[8] = '\0';
    when.time[0] = '\0';
    if (all_digits(row.hour, 2) && all_digits(row.minute, 2) && two_digits(row.hour) < 24 &&
        two_digits(row.minute) < 60) {
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

// Writes a fixed text as a line of its own, through line.
bool put_text(FILE* stream, CalendarLine& line, const char* text) {
    start_line(line, text);
    return put_line(stream, line);
}

// One event, through line; own_team is the club's team of the row's file.
bool put_event(FILE* stream, CalendarLine& line, const RunState& state, int row, const MatchTime& when, uint64_t hash,
               const char* own_team) {
    const MatchRecord& match = state.match_table[row];
    constexpr char hex[] = "0123456789abcdef";
    char uid[k_hash_digits + 1];
    for (int i = 0; i < k_hash_digits; ++i) uid[i] = hex[(hash >> (60 - 4 * i)) & 0xF];
    uid[k_hash_digits] = '\0';

    bool ok = put_text(stream, line, k_event_begin);
    start_line(line, k_uid);
    add_plain(line, uid);
    add_plain(line, k_uid_domain);
    ok = put_line(stream, line) && ok;
    start_line(line, k_stamp);
    add_plain(line, state.run_stamp);
    ok = put_line(stream, line) && ok;
    start_line(line, when.time[0] != '\0' ? k_start_timed : k_start_day);
    add_plain(line, when.date);
    if (when.time[0] != '\0') {
        add_plain(line, "T");
        add_plain(line, when.time);
        add_plain(line, "00");
    }
    ok = put_line(stream, line) && ok;
    ok = put_text(stream, line, when.time[0] != '\0' ? k_timed_duration : k_day_duration) && ok;
    start_line(line, k_summary);
    add_escaped(line, state.match_homes[row], k_opponent_size);
    add_plain(line, k_team_separator);
    add_escaped(line, state.match_aways[row], k_opponent_size);
    ok = put_line(stream, line) && ok;
    if (state.match_locations[row][0] != '\0') {
        start_line(line, k_location);
        add_escaped(line, state.match_locations[row], k_location_size);
        ok = put_line(stream, line) && ok;
    }
    if (match.league[0] != '\0') {
        start_line(line, k_categories);
        add_escaped(line, match.league, sizeof match.league);
        ok = put_line(stream, line) && ok;
    }
    start_line(line, k_description);
    add_escaped(line, own_team, k_team_name_size);
    if (match.league[0] != '\0') {
        add_escaped(line, k_description_separator, sizeof k_description_separator);
        add_escaped(line, match.league, sizeof match.league);
    }
    ok = put_line(stream, line) && ok;
    return put_text(stream, line, k_event_end) && ok;
}

}  // namespace

bool write_club_calendar(RunState& state, FILE* stream) {
    bool ok = true;
    CalendarLine line{};
    for (const char* text : k_calendar_head) ok = put_text(stream, line, text) && ok;
    start_line(line, k_calendar_name);
    add_escaped(line, state.season, sizeof state.season);
    ok = put_line(stream, line) && ok;
    for (const char* text : k_calendar_zone) ok = put_text(stream, line, text) && ok;

    WrittenMatches written{};
    const int end = end_of_table_row(state);
    int file = 0;  // row 0 is the first file's separator; each further one begins the next file
    for (int row = 1; row < end && ok; ++row) {
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
        const char* own_team = file < k_max_input_files ? state.file_own_teams[file] : "";
        ok = put_event(stream, line, state, row, when, hash, own_team);
    }
    ok = put_text(stream, line, k_calendar_end) && ok;
    return ok && std::ferror(stream) == 0;
}

void stamp_run_time(RunState& state) {
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    if (utc == nullptr || std::strftime(state.run_stamp, sizeof state.run_stamp, "%Y%m%dT%H%M%SZ", utc) == 0) {
        copy_text(state.run_stamp, sizeof state.run_stamp, "19700101T000000Z");
    }
}
