// The Gregorian calendar's rules: leap years, month lengths, the day of the week, and
// which dates and times are real. The weekday, the German time and every writer ask these
// here, so that the table and the calendar agree on every date.
#pragma once

#include "core/bounded_text.h"
#include "core/run_state.h"

// A date of the Gregorian calendar as numbers.
struct CivilDate {
    int year;
    int month;  // 1..12
    int day;    // 1..31
};

// A match's date and time as numbers.
struct CivilTime {
    CivilDate date;
    int hour;    // 0..23, or -1 when the match has no time
    int minute;  // 0..59, or -1 when the match has no time
};

// True for a leap year of the Gregorian calendar.
bool is_leap_year(int year);

// Days of the month (1..12) in the year; 0 for any other month number.
int days_in_month(int year, int month);

// Day of the week, 0 for Sunday to 6 for Saturday, by Gauss's formula over a year that
// begins in March. Defined for any numbers: a day past its month's end gets the weekday
// of the day that many days on.
int day_of_week(const CivilDate& date);

// True when the year has four digits and the month and day exist in it.
bool is_real_date(const CivilDate& date);

// Days from 1970-01-01 to the date (negative before it), for a real date.
int days_from_civil(const CivilDate& date);

// The date of a day count of days_from_civil.
CivilDate civil_from_days(int days);

// The ISO 8601 week of a day count: its number (1..53) and the year it counts in; the
// week begins on Monday, and week 1 holds the year's first Thursday.
int iso_week(int days, int& week_year);

// The weekday of a day count, 0 for Monday to 6 for Sunday.
int iso_weekday(int days);

// The value of count decimal digits, or -1 when one of them is no digit.
int digits_value(const char* digits, int count);

// Writes value (0 .. 10^count - 1) as count decimal digits at digits, with leading zeros:
// the texts of dates and times, through write_number.
template <int count>
void write_digits(char* digits, int value) {
    write_number(digits, count, value, count);
}

// The row's date and time; false when its date texts are no real date. A time whose
// texts are no real time counts as none (hour and minute -1).
bool row_time(const MatchRecord& row, CivilTime& when);
