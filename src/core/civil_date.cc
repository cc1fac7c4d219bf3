// Calendar arithmetic for the match rows. Gauss's formula works over a year that begins
// in March, so that a leap day is the last day of its year.
#include "core/civil_date.h"

namespace {

constexpr int k_days_per_week = 7;
constexpr int k_last_year = 9999;  // the last year four digits hold
constexpr int k_month_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The quotient rounded down, as the formula means it; C++ division rounds toward zero,
// which differs for a negative dividend (the shifted year -1 of January 0000).
int floor_div(int dividend, int divisor) {
    const int quotient = dividend / divisor;
    return dividend % divisor < 0 ? quotient - 1 : quotient;
}

}  // namespace

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return month == 2 && is_leap_year(year) ? 29 : k_month_days[month - 1];
}

int day_of_week(int year, int month, int day) {
    // January and February count as months 11 and 12 of the previous year.
    const int shifted_month = month <= 2 ? month + 10 : month - 2;
    const int shifted_year = month <= 2 ? year - 1 : year;
    const int century = floor_div(shifted_year, 100);
    const int year_in_century = shifted_year - 100 * century;  // 0..99 for every year
    const int total = day + (26 * shifted_month - 2) / 10 + year_in_century + year_in_century / 4 +
                      floor_div(century, 4) - 2 * century;
    const int weekday = total % k_days_per_week;
    return weekday < 0 ? weekday + k_days_per_week : weekday;  // the total is negative for many dates
}

bool is_real_date(int year, int month, int day) {
    return year >= 1 && year <= k_last_year && day >= 1 && day <= days_in_month(year, month);
}

int digits_value(const char* digits, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return -1;
        value = value * 10 + (digits[i] - '0');
    }
    return value;
}

bool row_time(const MatchRecord& row, CivilTime& when) {
    when.year = digits_value(row.year, 4);
    when.month = digits_value(row.month, 2);
    when.day = digits_value(row.day, 2);
    if (!is_real_date(when.year, when.month, when.day)) return false;
    when.hour = digits_value(row.hour, 2);
    when.minute = digits_value(row.minute, 2);
    if (when.hour < 0 || when.hour > 23 || when.minute < 0 || when.minute > 59) {
        when.hour = -1;
        when.minute = -1;
    }
    return true;
}
