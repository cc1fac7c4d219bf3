// Gauss's day-of-week formula over a year that begins in March, so that a leap day is
// the last day of its year. No character is checked to be a digit: whatever the date
// texts hold, the row gets one of the seven weekday texts.
#include "import/weekday.h"

namespace {

constexpr int k_days_per_week = 7;

// Weekday texts by the formula's result: 0 is Sunday.
constexpr char k_weekday_names[k_days_per_week][3] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};

int digit_value(char c) { return static_cast<unsigned char>(c) - '0'; }

// The quotient rounded down, as the formula means it; C++ division rounds toward zero,
// which differs for a negative dividend (the shifted year -1 of January 0000).
int floor_div(int dividend, int divisor) {
    const int quotient = dividend / divisor;
    return dividend % divisor < 0 ? quotient - 1 : quotient;
}

}  // namespace

void compute_weekday(MatchRecord& record) {
    const int day = 10 * digit_value(record.day[0]) + digit_value(record.day[1]);
    const int month = 10 * digit_value(record.month[0]) + digit_value(record.month[1]);
    const int year = 1000 * digit_value(record.year[0]) + 100 * digit_value(record.year[1]) +
                     10 * digit_value(record.year[2]) + digit_value(record.year[3]);
    record.day_number = day;
    record.month_number = month;
    record.year_number = year;

    // January and February count as months 11 and 12 of the previous year.
    const int shifted_month = month <= 2 ? month + 10 : month - 2;
    const int shifted_year = month <= 2 ? year - 1 : year;
    const int century = floor_div(shifted_year, 100);
    const int year_in_century = shifted_year - 100 * century;  // 0..99 for every year

    const int total = day + (26 * shifted_month - 2) / 10 + year_in_century + year_in_century / 4 +
                      floor_div(century, 4) - 2 * century;
    int weekday = total % k_days_per_week;
    if (weekday < 0) weekday += k_days_per_week;  // the total is negative for many dates

    record.weekday[0] = k_weekday_names[weekday][0];
    record.weekday[1] = k_weekday_names[weekday][1];
    record.weekday[2] = '\0';
}
