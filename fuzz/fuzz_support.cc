// Checks shared by the fuzz targets. The table checks hold for whatever a file holds:
// rows are filled strictly in order, each field stays terminated inside its size, and a
// failed event leaves no half-filled row. The output checks are the ones a spreadsheet
// program or a browser would trip over first: characters XML forbids, markup or a bare
// '&' from a calendar text, row numbers out of sequence, a declared row count that does
// not cover the rows, a document cut short; in the club calendar, what a calendar
// program refuses: a bare line end, an over-long or badly folded line, a control character.
// The outputs are the driver's own table of them, so a new output is fuzzed once it is there.
#include "fuzz_support.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/bounded_text.h"
#include "driver/messages.h"
#include "driver/outputs.h"
#include "import/calendar_reader.h"
#include "import/run_changes.h"
#include "import/run_club.h"
#include "output/club_calendar.h"
#include "output/match_plan.h"
#include "platform/streams.h"

namespace {

constexpr char k_weekdays[][3] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
constexpr int k_template_rows = 25;  // rows the workbook declares at least
constexpr int k_rows_around_table = 2;  // header and fixed row 1 of the workbook
constexpr int k_highest_style = 74;  // styles s1..s74 exist

[[noreturn]] void fault(const char* what, long where) {
    std::fprintf(stderr, "fuzz check failed: %s (at %ld)\n", what, where);
    std::abort();
}

void check(bool ok, const char* what, long where = -1) {
    if (!ok) fault(what, where);
}

bool terminated(const char* text, size_t size) { return strnlen(text, size) < size; }

bool all_digits(const char* text, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

bool is_zero(const MatchRecord& row) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&row);
    unsigned char any = 0;
    for (size_t i = 0; i < sizeof row; ++i) any |= bytes[i];
    return any == 0;
}

void check_match_row(const MatchRecord& row, long index) {
    check(all_digits(row.day, 2) && row.day[2] == '\0', "day", index);
    check(all_digits(row.month, 2) && row.month[2] == '\0', "month", index);
    check(all_digits(row.year, 4) && row.year[4] == '\0', "year", index);
    // A start without a time shows "--:--".
    const bool no_time = std::strcmp(row.hour, "--") == 0 && std::strcmp(row.minute, "--") == 0;
    check(no_time || (all_digits(row.hour, 2) && row.hour[2] == '\0'), "hour", index);
    check(no_time || (all_digits(row.minute, 2) && row.minute[2] == '\0'), "minute", index);
    bool known_weekday = false;
    for (const char* name : k_weekdays) known_weekday = known_weekday || std::strcmp(row.weekday, name) == 0;
    check(known_weekday, "weekday", index);
    check(row.is_home == 0 || row.is_home == 1, "home flag", index);
    check(std::isdigit(static_cast<unsigned char>(row.team_digit)) != 0, "team digit", index);
    check(terminated(row.venue, sizeof row.venue), "venue terminated", index);
    check(terminated(row.league, sizeof row.league), "league terminated", index);
    check(terminated(row.opponent, sizeof row.opponent), "opponent terminated", index);
    check(std::strchr(row.venue, '\n') == nullptr, "line feed in venue", index);
    check(std::strchr(row.league, '\n') == nullptr, "line feed in league", index);
    check(std::strchr(row.opponent, '\n') == nullptr, "line feed in opponent", index);
}

// First row from 1 on whose day[0] is NUL, found without the writers' code.
int table_end(const RunState& state) {
    int row = 1;
    while (row < k_max_used_rows && state.match_table[row].day[0] != '\0') ++row;
    return row;
}

// Whether text holds needle at index at.
bool holds_at(std::string_view text, size_t at, std::string_view needle) {
    if (at > text.size() || text.size() - at < needle.size()) return false;
    for (size_t k = 0; k < needle.size(); ++k) {
        if (text[at + k] != needle[k]) return false;
    }
    return true;
}

// Index of needle in text from `from` on, or npos. Compared byte by byte here rather than
// through memcmp, whose interceptor would feed the checks' own texts to the fuzzer.
size_t find_text(std::string_view text, std::string_view needle, size_t from = 0) {
    while (!needle.empty() && from < text.size()) {
        const void* first = std::memchr(text.data() + from, needle[0], text.size() - from);
        if (first == nullptr) break;
        const size_t at = static_cast<size_t>(static_cast<const char*>(first) - text.data());
        if (holds_at(text, at, needle)) return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

size_t count_of(std::string_view text, std::string_view needle) {
    size_t count = 0;
    for (size_t at = find_text(text, needle); at != std::string_view::npos; at = find_text(text, needle, at + 1)) {
        ++count;
    }
    return count;
}

// Only tab, line feed and carriage return below 0x20, and neither U+FFFE nor U+FFFF (the
// UTF-8 bytes EF BF BE and EF BF BF): anything else makes XML unreadable.
void check_forbidden_characters(std::string_view text, const char* what) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') fault(what, static_cast<long>(i));
        if (c == 0xEF && (holds_at(text, i, "\xEF\xBF\xBE") || holds_at(text, i, "\xEF\xBF\xBF"))) {
            fault(what, static_cast<long>(i));
        }
    }
}

// Every '&' starts one of the references the writers and the template use.
void check_ampersands(std::string_view text, const char* what) {
    static constexpr std::string_view k_references[] = {"&amp;", "&lt;", "&gt;", "&quot;"};
    for (size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
        bool known = false;
        for (std::string_view reference : k_references) known = known || holds_at(text, at, reference);
        if (!known) fault(what, static_cast<long>(at));
    }
}

// The text between each opener and the next closer holds no markup character.
void check_cell_texts(std::string_view text, std::string_view opener, std::string_view closer, const char* what) {
    for (size_t at = find_text(text, opener); at != std::string_view::npos; at = find_text(text, opener, at + 1)) {
        const size_t start = at + opener.size();
        const size_t end = find_text(text, closer, start);
        if (end == std::string_view::npos) fault(what, static_cast<long>(at));
        if (text.substr(start, end - start).find_first_of("<>") != std::string_view::npos) {
            fault(what, static_cast<long>(start));
        }
    }
}

// The decimal number behind needle, which must be followed by digits and then stop.
long number_behind(std::string_view text, size_t at, size_t& digits) {
    digits = 0;
    long value = 0;
    while (at + digits < text.size() && std::isdigit(static_cast<unsigned char>(text[at + digits])) != 0) {
        value = value * 10 + (text[at + digits] - '0');
        ++digits;
    }
    return value;
}

// Index behind the first occurrence of needle, which must be there.
size_t position_behind(std::string_view text, std::string_view needle) {
    const size_t at = find_text(text, needle);
    if (at == std::string_view::npos) fault("missing markup", 0);
    return at + needle.size();
}

void check_workbook(std::string_view xml, int end_row) {
    check_forbidden_characters(xml, "character XML forbids in the workbook");
    check_ampersands(xml, "bare '&' in the workbook");
    check(count_of(xml, "\n") == 2, "line breaks in the workbook besides the prolog's two");
    check(holds_at(xml, 0, "<?xml"), "workbook prolog");
    check(xml.size() >= 11 && holds_at(xml, xml.size() - 11, "</Workbook>"), "workbook cut short");
    check_cell_texts(xml, "<Data ss:Type=\"String\">", "</Data>", "markup in a workbook text cell");

    // Rows: header, fixed row 1, table rows 1 .. end_row - 1, closing row.
    const long rows = static_cast<long>(count_of(xml, "<Row"));
    check(rows == end_row + k_rows_around_table, "workbook rows", rows);
    const long declared = rows > k_template_rows ? rows : k_template_rows;
    size_t digits = 0;
    // Every needle starts with '<', which no calendar text can bring along unescaped.
    const std::string_view count_attribute = "<Table ss:ExpandedColumnCount=\"8\" ss:ExpandedRowCount=\"";
    const size_t count_at = position_behind(xml, count_attribute);
    check(number_behind(xml, count_at, digits) == declared && xml[count_at + digits] == '"', "declared row count",
          declared);
    const std::string_view range = "<AutoFilter xmlns=\"urn:schemas-microsoft-com:office:excel\" x:Range=\"R1C1:R";
    const size_t range_at = position_behind(xml, range);
    check(number_behind(xml, range_at, digits) == declared && holds_at(xml, range_at + digits, "C7\""),
          "filter range", declared);

    // Column 1 numbers the rows 1, 02, 03 ... without a gap.
    const std::string_view number_cell = "<Data ss:Type=\"Number\">";
    long expected = 1;
    for (size_t at = find_text(xml, number_cell); at != std::string_view::npos; at = find_text(xml, number_cell, at + 1)) {
        const size_t start = at + number_cell.size();
        check(number_behind(xml, start, digits) == expected, "row number", expected);
        check(expected == 1 ? digits == 1 : digits >= 2, "row number digits", expected);
        check(holds_at(xml, start + digits, "</Data>"), "row number end", expected);
        ++expected;
    }
    check(expected - 1 == rows - 1, "number cells", expected);  // every row but the header

    const std::string_view style = "<Cell ss:StyleID=\"s";
    for (size_t at = find_text(xml, style); at != std::string_view::npos; at = find_text(xml, style, at + 1)) {
        const long n = number_behind(xml, at + style.size(), digits);
        check(digits > 0 && n >= 1 && n <= k_highest_style && xml[at + style.size() + digits] == '"', "style",
              static_cast<long>(at));
    }
}

void check_fragment(std::string_view html, int end_row) {
    check_forbidden_characters(html, "character XML forbids in the fragment");
    check_ampersands(html, "bare '&' in the fragment");
    check(holds_at(html, 0, "\n            <table>"), "fragment head");
    check(html.size() >= 8 && holds_at(html, html.size() - 8, "</table>"), "fragment cut short");
    check(static_cast<long>(count_of(html, "<tr>")) == end_row - 1, "fragment rows", end_row);
    check(count_of(html, "<td") == count_of(html, "</td>"), "cells opened and closed");
    // Behind each cell tag's end, text up to the cell's closer only.
    for (size_t at = find_text(html, "<td"); at != std::string_view::npos; at = find_text(html, "<td", at + 1)) {
        const size_t start = html.find('>', at);
        const size_t end = html.find('<', start);
        check(start != std::string_view::npos && end != std::string_view::npos &&
                  holds_at(html, end, "</td>") &&
                  html.substr(start + 1, end - start - 1).find('>') == std::string_view::npos,
              "markup in a fragment cell", static_cast<long>(at));
    }
}

// The club calendar: CR LF after every line and nowhere else, no physical line over 75
// octets, a folded line never begins inside a character, no control character or
// noncharacter, every event closed, at most one event per match row.
void check_calendar(std::string_view ics, int end_row) {
    check(holds_at(ics, 0, "BEGIN:VCALENDAR\r\n"), "calendar head");
    check(ics.size() >= 15 && holds_at(ics, ics.size() - 15, "END:VCALENDAR\r\n"), "calendar cut short");
    size_t line_start = 0;
    for (size_t i = 0; i < ics.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(ics[i]);
        if (c == '\r') {
            check(i + 1 < ics.size() && ics[i + 1] == '\n', "CR without LF in the calendar", static_cast<long>(i));
            check(i - line_start <= 75, "calendar line over 75 octets", static_cast<long>(line_start));
            if (i + 2 < ics.size() && ics[i + 2] == ' ') {
                check(i + 3 < ics.size() && (static_cast<unsigned char>(ics[i + 3]) & 0xC0) != 0x80,
                      "folded inside a character", static_cast<long>(i));
            }
            line_start = i + 2;
            ++i;
            continue;
        }
        check(c != '\n', "LF without CR in the calendar", static_cast<long>(i));
        check(c >= 0x20 && c != 0x7F, "control character in the calendar", static_cast<long>(i));
        check(!(c == 0xEF && holds_at(ics, i + 1, "\xBF") && i + 2 < ics.size() &&
                (static_cast<unsigned char>(ics[i + 2]) == 0xBE || static_cast<unsigned char>(ics[i + 2]) == 0xBF)),
              "noncharacter in the calendar", static_cast<long>(i));
    }
    const size_t events = count_of(ics, "\r\nBEGIN:VEVENT\r\n");
    check(events == count_of(ics, "\r\nEND:VEVENT\r\n"), "calendar events closed");
    check(static_cast<long>(events) <= end_row - 1, "calendar events", static_cast<long>(events));
}

void check_all_closed(const RunState& state) {
    for (FILE* stream : state.input_files) check(stream == nullptr, "input stream left open");
    check(state.spreadsheet_file == nullptr && state.html_file == nullptr && state.calendar_file == nullptr,
          "output stream left open");
}

// The read results: a failure has a reason text, a file read has its console line, and
// the row behind the last file's rows is the table's end.
void check_read_results(const RunState& state, int files, const ReadResult (&results)[k_max_arguments]) {
    check(state.files_read == files, "files read", state.files_read);
    check(state.current_row >= 0 && state.current_row <= k_max_used_rows, "current_row", state.current_row);
    check(state.match_table[state.current_row].day[0] == '\0', "row behind the files' rows", state.current_row);
    for (int k = 0; k < files; ++k) {
        const ReadResult result = results[k];
        char reason[k_reason_size];
        describe_read_failure(state, k, result, reason, sizeof reason);
        check(terminated(reason, sizeof reason), "reason terminated", k);
        check((result == ReadResult::ok) == (reason[0] == '\0'), "reason text", static_cast<long>(result));
        check(result != ReadResult::read_error, "a memory stream cannot fail to read");
        if (result != ReadResult::ok) continue;
        char lines[k_file_lines_size];
        describe_file(state, k, lines, sizeof lines);
        // A league's file waiting for the club has no line yet.
        check(terminated(lines, sizeof lines) && (lines[0] != '\0' || state.file_reports[k].league_file), "a file's console line", k);
        const FileReport& report = state.file_reports[k];
        check(report.same_as >= 0 && report.same_as <= k, "a file's earlier copy", k);
        for (int b = report.first_block; b < report.first_block + report.blocks; ++b) {
            check(state.blocks[b].also_in >= 0 && state.blocks[b].also_in <= b, "a block's earlier team", b);
        }
    }
}

// Every row of the table: separators, complete match rows, then only zero rows.
void check_table(const RunState& state) {
    check(state.current_row == 0 || state.match_table[0].day[0] == ' ', "row 0 is the first separator");
    for (int block = 0; block < k_max_blocks; ++block) {
        check(terminated(state.blocks[block].own_team, k_team_name_size), "own team terminated", block);
    }
    bool ended = false;
    for (int i = 0; i < k_table_rows; ++i) {
        const MatchRecord& row = state.match_table[i];
        if (ended || i == k_max_used_rows) {
            check(is_zero(row), "row behind the end of the table", i);
            ended = true;
        } else if (row.day[0] == '\0') {
            check(is_zero(row), "half-filled row", i);
            ended = true;
        } else if (row.day[0] == ' ') {
            MatchRecord rest = row;
            rest.day[0] = '\0';
            check(is_zero(rest), "separator row holds data", i);
        } else {
            check_match_row(row, i);
            check(terminated(state.match_details[i].home, k_opponent_size), "home team terminated", i);
            check(terminated(state.match_details[i].away, k_opponent_size), "away team terminated", i);
            check(state.match_details[i].home[0] != '\0' && state.match_details[i].away[0] != '\0', "calendar team missing", i);
            check(terminated(state.match_details[i].location, k_location_size), "location terminated", i);
        }
    }
}

// The match days: a whole document, with no character XML forbids and no bare '&'.
void check_match_days(std::string_view html, int) {
    check_forbidden_characters(html, "character XML forbids in the match days");
    check_ampersands(html, "bare '&' in the match days");
    check(holds_at(html, 0, "<!DOCTYPE html>"), "match days head");
    check(html.size() >= 16 && holds_at(html, html.size() - 16, "</body>\n</html>\n"), "match days cut short");
}

// The check of each output of the driver's table, in its order, and whether its writer
// leaves current_row at the table's end (the writers that walk the table by it).
struct OutputCheck {
    void (*check_output)(std::string_view, int);
    bool walks_rows;
};
constexpr OutputCheck k_checks[k_output_count] = {
    {check_workbook, true}, {check_fragment, true}, {check_calendar, false}, {check_match_days, false}};

// Writes every output of the driver's table into memory as the driver does (the match days
// planned once, each writer, then every stream closed), checks that each reported success
// and hands its bytes to its check.
void write_and_check_outputs(RunState& state) {
    const int end_row = table_end(state);
    copy_text(state.run_stamp, sizeof state.run_stamp, "20260101T120000Z");
    static MatchPlan plan;  // planned afresh for each input
    plan_match_days(state, plan);
    check(plan.listed <= plan.collision_count && plan.count < end_row, "match days plan", plan.count);
    int called_off = 0;
    for (int row = 1; row < end_row; ++row) called_off += state.match_details[row].cancelled ? 1 : 0;
    for (int k = 0; k < k_output_count; ++k) {
        const Output& output = k_outputs[k];
        char* bytes = nullptr;
        size_t size = 0;
        state.*output.stream = open_memstream(&bytes, &size);
        check(state.*output.stream != nullptr, "open_memstream failed");
        const bool written = output.write(state, plan, state.*output.stream);
        check(close_all_streams(state) && written, output.write_failed);
        check_all_closed(state);
        check(state.current_row == end_row || !k_checks[k].walks_rows, "writer's last row", state.current_row);
        // The workbook and the HTML table leave the called-off rows out.
        k_checks[k].check_output(std::string_view(bytes, size), k_checks[k].walks_rows ? end_row - called_off : end_row);
        std::free(bytes);
    }
}

}  // namespace

// Both targets: standard output (the per-file lines of the import) goes to /dev/null.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) fault("cannot silence standard output", 0);
    return 0;
}

RunState& fresh_state() {
    static RunState state;  // large; one instance, made fresh for every input
    reset_run_state(state);
    return state;
}

FILE* open_bytes(const uint8_t* data, size_t size) {
    // A read-only memory stream never writes to its buffer.
    static char empty[1];
    void* buffer = size > 0 ? const_cast<uint8_t*>(data) : static_cast<void*>(empty);
    FILE* stream = fmemopen(buffer, size, "rb");
    if (stream == nullptr) fault("fmemopen failed", static_cast<long>(size));
    return stream;
}

// The comparison with an earlier club calendar: every change names a row or an earlier
// match that exists, and the counts add up.
void check_changes(const RunState& state) {
    const EarlierRun& earlier = state.earlier;
    check(earlier.count >= 0 && earlier.count <= k_table_rows, "earlier matches", earlier.count);
    check(earlier.change_count >= 0 && earlier.change_count <= k_max_changes, "changes", earlier.change_count);
    check(earlier.added + earlier.moved + earlier.called_off == earlier.change_count, "changes counted");
    for (int k = 0; k < earlier.change_count; ++k) {
        const MatchChange& change = earlier.changes[k];
        check(change.row < state.current_row && (change.row >= 0 || change.earlier >= 0), "a change's row", k);
        check(change.earlier < earlier.count, "a change's earlier match", k);
    }
    check(terminated(earlier.since, sizeof earlier.since), "earlier run's date terminated");
}

void import_and_check(RunState& state, int files, FILE* earlier) {
    ReadResult results[k_max_arguments] = {};
    int failed = import_calendar_files(state, files, results);
    check(failed >= 0 && failed <= files, "failed files", failed);
    // A league's file that waits for the club: the run's first club chosen, as a user
    // answers the question, and everything read again; with no club to choose, the run
    // ends there and writes nothing.
    if (league_files_waiting(state)) {
        if (!choose_club(state, "1")) return;
        failed = import_calendar_files(state, files, results);
        check(failed >= 0 && failed <= files, "failed files", failed);
    }
    check_read_results(state, files, results);
    if (earlier != nullptr) {
        if (compare_with_earlier(state, earlier, "20251001T120000Z") == EarlierRead::done) check_changes(state);
        std::fclose(earlier);
    }
    check_table(state);
    write_and_check_outputs(state);
}
