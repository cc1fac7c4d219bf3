// Match tables for the writer tests, filled the way the import leaves them (row 0 a
// separator, rows in order, a zero row after the last), and file helpers for outputs.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/bounded_text.h"
#include "core/run_state.h"
#include "file_text.h"

struct Match {
    const char* date;  // "YYYY-MM-DD"
    const char* weekday;
    const char* time;  // "HH:MM"
    const char* venue;
    bool home;
    const char* league;
    char team_digit;
    const char* opponent;
};

inline void put_separator(RunState& state, int row) {
    state.match_table[row].day[0] = ' ';
}

inline void put_match(RunState& state, int row, const Match& match) {
    MatchRecord& record = state.match_table[row];
    const std::string date = match.date;
    const std::string time = match.time;
    copy_text(record.year, sizeof record.year, date.substr(0, 4).c_str());
    copy_text(record.month, sizeof record.month, date.substr(5, 2).c_str());
    copy_text(record.day, sizeof record.day, date.substr(8, 2).c_str());
    copy_text(record.weekday, sizeof record.weekday, match.weekday);
    copy_text(record.hour, sizeof record.hour, time.substr(0, 2).c_str());
    copy_text(record.minute, sizeof record.minute, time.substr(3, 2).c_str());
    ASSERT_TRUE(copy_text(record.venue, sizeof record.venue, match.venue));
    record.is_home = match.home ? 1 : 0;
    record.team_digit = match.team_digit;
    ASSERT_TRUE(copy_text(record.league, sizeof record.league, match.league));
    ASSERT_TRUE(copy_text(record.opponent, sizeof record.opponent, match.opponent));
}

// Makes row the current row and gives it only a league text and a team digit, the two
// fields the colour choice of both writers reads.
inline void put_team(RunState& state, int row, const char* league, char team_digit) {
    state.current_row = row;
    MatchRecord& record = state.match_table[row];
    ASSERT_TRUE(copy_text(record.league, sizeof record.league, league));
    record.team_digit = team_digit;
}

// Four files: two adult teams, a youth file with U19, U15 and a cup match, an empty
// file, and a fourth team; home and away, every category, separators side by side.
inline void fill_sample_table(RunState& state) {
    put_separator(state, 0);
    put_match(state, 1, {"2025-09-13", "Sa", "15:00", "GS Beispielheim", false, "Bezirksliga", '1', "BC Beispielheim 1"});
    put_match(state, 2, {"2025-09-20", "Sa", "18:00", "Großsporthalle", true, "Bezirksliga", '1', "TV Musterstadt 2"});
    put_separator(state, 3);
    put_match(state, 4, {"2025-09-14", "So", "11:00", "Halle Nord", true, "Kreisklasse West", '3', "SG Beispieltal 3"});
    put_separator(state, 5);
    put_match(state, 6, {"2025-09-27", "Sa", "13:30", "Großsporthalle", true, "U19 Bezirksliga", '2', "JSG Talgrund"});
    put_match(state, 7, {"2025-10-04", "Sa", "10:00", "GS Am Park", false, "U15 Kreisliga", '1', "TSV Hausen U15"});
    put_match(state, 8, {"2025-10-05", "So", "16:00", "Halle Süd", false, "Pokal", '2', "FC Irgendwo"});
    put_separator(state, 9);
    put_separator(state, 10);
    put_match(state, 11, {"2025-10-11", "Sa", "19:30", "Sporthalle Ost", true, "Landesliga", '4', "HSG Weststadt"});
}

// Markup characters in every calendar text, quotes and an entity that must stay
// as they are, UTF-8, and a team without a digit of its own (its NUL stored).
inline void fill_hazard_table(RunState& state) {
    put_separator(state, 0);
    put_match(state, 1, {"2025-11-01", "Sa", "17:45", "Halle \"A\" & <B>", false, "U19 <Liga> & 'Nord' &amp;", '1',
                         "SG Nord & Süd >1<"});
    put_match(state, 2, {"2025-11-02", "So", "09:00", "<>&", true, "Kreisklasse", '\0', "&&"});
}

// Separator rows 1 .. end_row - 1, so that row end_row ends the table.
inline void fill_separators(RunState& state, int end_row) {
    for (int row = 0; row < end_row; ++row) put_separator(state, row);
}

inline std::string golden(const char* name) {
    return file_text(std::string(TERMARIUM_TEST_DATA_DIR) + "/golden/" + name);
}

// A fresh temporary file name; the file exists, empty.
inline std::string temporary_path() {
    char pattern[] = "/tmp/termarium-output-XXXXXX";
    int fd = mkstemp(pattern);
    EXPECT_NE(-1, fd);
    if (fd != -1) close(fd);
    return pattern;
}
