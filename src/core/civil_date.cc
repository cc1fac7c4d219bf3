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

int day_of_week(const CivilDate& date) {
    // January and February count as months 11 and 12 of the previous year.
    const int month = date.month;
    const int day = date.day;
    const int shifted_month = month <= 2 ? month + 10 : month - 2;
    const int shifted_year = month <= 2 ? date.year - 1 : date.year;
    const int century = floor_div(shifted_year, 100);
    const int year_in_century = shifted_year - 100 * century;  // 0..99 for every year
    const int total = day + (26 * shifted_month - 2) / 10 + year_in_century + year_in_century / 4 +
                      floor_div(century, 4) - 2 * century;
    const int weekday = total % k_days_per_week;
    return weekday < 0 ? weekday + k_days_per_week : weekday;  // the total is negative for many dates
}

bool is_real_date(const CivilDate& date) {
    return date.year >= 1 && date.year <= k_last_year && date.day >= 1 && date.day <= days_in_month(date.year, date.month);
}

// The day counts follow the proleptic Gregorian calendar in eras of 400 years (146097 days),
// each counted from a 1st of March, so that a leap day ends its year.
int days_from_civil(const CivilDate& date) {
    const int month = date.month;
    const int year = date.year - (month <= 2 ? 1 : 0);
    const int era = floor_div(year, 400);
    const int year_of_era = year - era * 400;                                      // 0..399
    const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;  // 0..365
    const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;  // 719468: days from 0000-03-01 to 1970-01-01
}

CivilDate civil_from_days(int days) {
    days += 719468;
    const int era = floor_div(days, 146097);
    const int day_of_era = days - era * 146097;                                                        // 0..146096
    const int year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;  // 0..399
    const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);    // 0..365
    const int shifted_month = (5 * day_of_year + 2) / 153;                                             // 0..11, March first
    const int month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    return CivilDate{year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day_of_year - (153 * shifted_month + 2) / 5 + 1};
}

int iso_weekday(int days) {
    const int weekday = (days + 3) % k_days_per_week;  // 1970-01-01 was a Thursday
    return weekday < 0 ? weekday + k_days_per_week : weekday;
}

int iso_week(int days, int& week_year) {
    const int thursday = days - iso_weekday(days) + 3;  // the Thursday of the same week decides its year
    week_year = civil_from_days(thursday).year;
    return (thursday - days_from_civil(CivilDate{week_year, 1, 1})) / k_days_per_week + 1;
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
    when.date = CivilDate{digits_value(row.year, 4), digits_value(row.month, 2), digits_value(row.day, 2)};
    if (!is_real_date(when.date)) return false;
    when.hour = digits_value(row.hour, 2);
    when.minute = digits_value(row.minute, 2);
    if (when.hour < 0 || when.hour > 23 || when.minute < 0 || when.minute > 59) {
        when.hour = -1;
        when.minute = -1;
    }
    return true;
}
