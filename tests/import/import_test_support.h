// Helpers shared by the import tests: calendar texts in the league site's event layout,
// placing a text in a run state, and whole-row comparison of match rows.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/run_state.h"

// One event of a calendar file; the lines the parser does not read are fixed.
struct EventSpec {
    std::string summary = "BC Beispielheim 1 - TSG Musterfeld 2";
    std::string start = "20250913T150000";
    std::string location = "Am Sportplatz 4, Beispielheim, Sporthalle der Grundschule Beispielheim";
    std::string description = "Spiel 117, Staffel 4, Kreisklasse West, Spieltag 3";
    std::string uid = "match-117";
};

// The event's lines from its "UID:" line on (line 0) to the end of line 7.
inline std::string event_lines(const EventSpec& e) {
    return "UID:" + e.uid + "\nDTSTAMP:20250801T120000Z\nDTSTART;TZID=Europe/Berlin:" + e.start +
           "\nDTEND;TZID=Europe/Berlin:" + e.start + "\nSUMMARY:" + e.summary +
           "\nTRANSP:OPAQUE\nLOCATION:" + e.location + "\nDESCRIPTION:" + e.description + "\n";
}

inline std::string calendar_text(const std::vector<EventSpec>& events, const std::string& trailer = "") {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Liga//Spielplan//DE\n";
    for (const EventSpec& e : events) text += "BEGIN:VEVENT\n" + event_lines(e) + "END:VEVENT\n";
    return text + trailer + "END:VCALENDAR\n";
}

inline std::string with_crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Folds every line longer than width: a line break plus the given blank or tab after
// every width bytes, also inside a UTF-8 sequence.
inline std::string folded(const std::string& text, size_t width, char fold_mark = ' ') {
    std::string out;
    size_t column = 0;
    for (char c : text) {
        if (c == '\n') {
            column = 0;
        } else {
            if (column == width) {
                out += '\n';
                out += fold_mark;
                column = 1;
            }
            ++column;
        }
        out += c;
    }
    return out;
}

// Puts text into file_buffer as a loaded file, read position at its start.
inline void place_text(RunState& state, const std::string& text) {
    ASSERT_LT(text.size(), sizeof state.file_buffer);
    std::memcpy(state.file_buffer, text.data(), text.size());
    state.file_buffer[text.size()] = '\0';
    state.file_length = static_cast<int32_t>(text.size());
    state.buffer_pos = 0;
}

// A match row as expected: date "YYYYMMDD", time "HHMM".
struct RowSpec {
    std::string date;
    std::string weekday;
    std::string time;
    std::string venue;
    int is_home;
    char team_digit;
    std::string league;
    std::string opponent;
};

inline MatchRecord expected_row(const RowSpec& s) {
    MatchRecord r{};
    std::memcpy(r.year, s.date.data(), 4);
    std::memcpy(r.month, s.date.data() + 4, 2);
    std::memcpy(r.day, s.date.data() + 6, 2);
    r.year_number = std::stoi(s.date.substr(0, 4));
    r.month_number = std::stoi(s.date.substr(4, 2));
    r.day_number = std::stoi(s.date.substr(6, 2));
    std::memcpy(r.weekday, s.weekday.c_str(), s.weekday.size() + 1);
    std::memcpy(r.hour, s.time.data(), 2);
    std::memcpy(r.minute, s.time.data() + 2, 2);
    std::memcpy(r.venue, s.venue.c_str(), s.venue.size() + 1);
    r.is_home = static_cast<char>(s.is_home);
    r.team_digit = s.team_digit;
    std::memcpy(r.league, s.league.c_str(), s.league.size() + 1);
    std::memcpy(r.opponent, s.opponent.c_str(), s.opponent.size() + 1);
    return r;
}

inline std::string describe_row(const MatchRecord& r) {
    char text[512];
    std::snprintf(text, sizeof text, "%d.%d.%d [%.4s|%.4s|%.6s] %.4s %.4s:%.4s venue[%.50s] home=%d digit=%d league[%.50s] opponent[%.52s]",
                  r.day_number, r.month_number, r.year_number, r.day, r.month, r.year, r.weekday, r.hour,
                  r.minute, r.venue, r.is_home, r.team_digit, r.league, r.opponent);
    return text;
}

// Compares every byte of the row, so that a stray write or a missing terminator shows.
inline ::testing::AssertionResult same_row(const MatchRecord& actual, const RowSpec& wanted) {
    const MatchRecord expected = expected_row(wanted);
    if (std::memcmp(&actual, &expected, sizeof actual) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\n  actual:   " << describe_row(actual)
                                         << "\n  expected: " << describe_row(expected);
}

inline bool is_zero_row(const MatchRecord& row) {
    static const MatchRecord zero{};
    return std::memcmp(&row, &zero, sizeof row) == 0;
}
