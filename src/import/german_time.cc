// UTC to German time for one match row. The date texts are checked to be a real date and
// time first; then the offset of that instant is added and carried into the date.
#include "import/german_time.h"

#include <cstring>

#include "core/bounded_text.h"
#include "core/civil_date.h"
#include "import/weekday.h"

namespace {

constexpr int k_summer_offset = 2;   // hours ahead of UTC in summer time
constexpr int k_winter_offset = 1;   // hours ahead of UTC otherwise
constexpr int k_switch_hour = 1;     // both switches happen at 01:00 UTC
constexpr int k_march = 3;
constexpr int k_october = 10;

// The day of the month's last Sunday, for a month of 31 days.
int last_sunday(int year, int month) { return 31 - day_of_week(CivilDate{year, month, 31}); }

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
    CivilTime when{};
    if (!row_time(row, when) || when.hour < 0) return false;
    const CivilDate& utc = when.date;
    const int hour = when.hour + (in_summer_time(Hour{utc.year, utc.month, utc.day, when.hour}) ? k_summer_offset
                                                                                                 : k_winter_offset);
    const CivilDate date = hour < 24 ? utc : civil_from_days(days_from_civil(utc) + 1);
    // 31.12.9999 23:00 UTC has no four-digit year behind it.
    if (!is_real_date(date)) return false;
    write_digits<4>(row.year, date.year);
    write_digits<2>(row.month, date.month);
    write_digits<2>(row.day, date.day);
    write_digits<2>(row.hour, hour % 24);
    compute_weekday(row);
    return true;
}

// Through a match row, so that the stamp passes the very rules a match's time does.
bool german_row_of_stamp(const char* utc_stamp, MatchRecord& row) {
    row = MatchRecord{};
    if (strnlen(utc_stamp, k_stamp_size) != k_stamp_size - 1) return false;
    std::memcpy(row.year, utc_stamp, 4);
    std::memcpy(row.month, utc_stamp + 4, 2);
    std::memcpy(row.day, utc_stamp + 6, 2);
    std::memcpy(row.hour, utc_stamp + 9, 2);
    std::memcpy(row.minute, utc_stamp + 11, 2);
    return utc_to_german_time(row);
}

bool german_time_of_stamp(const char* utc_stamp, char (&text)[k_run_time_size]) {
    text[0] = '\0';
    MatchRecord row{};
    if (!german_row_of_stamp(utc_stamp, row)) return false;
    char shown[k_run_time_size] = "Wd, DD.MM.YYYY HH:MM";
    std::memcpy(shown, row.weekday, 2);
    std::memcpy(shown + 4, row.day, 2);
    std::memcpy(shown + 7, row.month, 2);
    std::memcpy(shown + 10, row.year, 4);
    std::memcpy(shown + 15, row.hour, 2);
    std::memcpy(shown + 18, row.minute, 2);
    return copy_text(text, sizeof text, shown);
}
