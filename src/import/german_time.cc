// UTC to German time for one match row. The date texts are checked to be a real date and
// time first; then the offset of that instant is added and carried into the date.
#include "import/german_time.h"

#include <cstdio>

#include "core/bounded_text.h"
#include "import/weekday.h"

namespace {

constexpr int k_summer_offset = 2;   // hours ahead of UTC in summer time
constexpr int k_winter_offset = 1;   // hours ahead of UTC otherwise
constexpr int k_switch_hour = 1;     // both switches happen at 01:00 UTC
constexpr int k_march = 3;
constexpr int k_october = 10;
constexpr int k_last_year = 9999;    // the last year four digits hold

// The number the digit texts hold, or -1 when one of them is no digit.
int number_of(const char* digits, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return -1;
        value = value * 10 + (digits[i] - '0');
    }
    return value;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
    constexpr int k_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap(year) ? 29 : k_days[month - 1];
}

// Day of the week, 0 for Sunday, of a Gregorian date from year 1 on (Sakamoto's method).
int day_of_week(int year, int month, int day) {
    constexpr int k_month_shift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    return (year + year / 4 - year / 100 + year / 400 + k_month_shift[month - 1] + day) % 7;
}

// The day of the month's last Sunday, for a month of 31 days.
int last_sunday(int year, int month) { return 31 - day_of_week(year, month, 31); }

// A full hour of a year, as date and hour.
struct Hour {
    int year;
    int month;
    int day;
    int hour;
};

// The hours of a year in their order.
int order_of(const Hour& at) { return (at.month * 32 + at.day) * 24 + at.hour; }

// True when the hour lies in summer time: from the last Sunday of March, 01:00 UTC, up
// to (not including) the last Sunday of October, 01:00 UTC.
bool in_summer_time(const Hour& at) {
    const Hour begins{at.year, k_march, last_sunday(at.year, k_march), k_switch_hour};
    const Hour ends{at.year, k_october, last_sunday(at.year, k_october), k_switch_hour};
    return order_of(at) >= order_of(begins) && order_of(at) < order_of(ends);
}

}  // namespace

bool utc_to_german_time(MatchRecord& row) {
    int year = number_of(row.year, 4);
    int month = number_of(row.month, 2);
    int day = number_of(row.day, 2);
    int hour = number_of(row.hour, 2);
    const int minute = number_of(row.minute, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59) {
        return false;
    }
    hour += in_summer_time(Hour{year, month, day, hour}) ? k_summer_offset : k_winter_offset;
    if (hour >= 24) {
        hour -= 24;
        if (++day > days_in_month(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                if (++year > k_last_year) return false;  // 31.12.9999 23:00 UTC has no four-digit year behind it
            }
        }
    }
    char digits[12];  // room for any int, though each value here has at most four digits
    std::snprintf(digits, sizeof digits, "%04d", year);
    copy_bytes(row.year, sizeof row.year, digits, 4);
    std::snprintf(digits, sizeof digits, "%02d", month);
    copy_bytes(row.month, sizeof row.month, digits, 2);
    std::snprintf(digits, sizeof digits, "%02d", day);
    copy_bytes(row.day, sizeof row.day, digits, 2);
    std::snprintf(digits, sizeof digits, "%02d", hour);
    copy_bytes(row.hour, sizeof row.hour, digits, 2);
    compute_weekday(row);
    return true;
}
