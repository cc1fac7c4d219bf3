// Match rows as the tests expect them, compared byte for byte with what the import left.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/run_state.h"

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
