// Weekday of a match row: the worked dates with their negative totals, the record's
// numbers, and every date of the years the program serves against the standard library.
#include "import/weekday.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

MatchRecord record_for(const std::string& day, const std::string& month, const std::string& year) {
    MatchRecord r{};
    std::memcpy(r.day, day.data(), 2);
    std::memcpy(r.month, month.data(), 2);
    std::memcpy(r.year, year.data(), 4);
    r.weekday[3] = '#';  // the fourth byte is not the routine's
    return r;
}

struct WorkedDate {
    const char* date;  // DD.MM.YYYY
    const char* weekday;
};

TEST(ComputeWeekday, WorkedDatesIncludingNegativeTotals) {
    const WorkedDate cases[] = {
        {"04.10.2014", "Sa"}, {"01.01.2015", "Do"}, {"28.02.2015", "Sa"}, {"29.02.2016", "Mo"},
        {"01.03.2015", "So"}, {"05.04.2014", "Sa"}, {"13.09.2025", "Sa"}, {"24.12.2023", "So"},
        {"01.01.2000", "Sa"}, {"01.03.2000", "Mi"}, {"31.12.2099", "Do"},
        {"31.02.2015", "Di"},  // no such date: the weekday of 03.03.2015
        {"01.01.0000", "Sa"}, {"29.02.0000", "Di"},  // the formula's year -1: divisions round down
    };
    for (const WorkedDate& c : cases) {
        const std::string date = c.date;
        MatchRecord r = record_for(date.substr(0, 2), date.substr(3, 2), date.substr(6, 4));
        compute_weekday(r);
        EXPECT_STREQ(c.weekday, r.weekday) << date;
        EXPECT_EQ('#', r.weekday[3]) << date;
        // The numbers are the calendar values, not the shifted ones the formula uses.
        EXPECT_EQ(std::stoi(date.substr(0, 2)), r.day_number) << date;
        EXPECT_EQ(std::stoi(date.substr(3, 2)), r.month_number) << date;
        EXPECT_EQ(std::stoi(date.substr(6, 4)), r.year_number) << date;
    }
}

TEST(ComputeWeekday, EveryDateFrom1990To2100IsGregorian) {
    using namespace std::chrono;
    const char* names[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    int checked = 0;
    for (sys_days d = sys_days{1990y / January / 1}; d <= sys_days{2100y / December / 31}; d += days{1}) {
        const year_month_day ymd{d};
        char text[16];
        std::snprintf(text, sizeof text, "%02u%02u%04d", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()));
        MatchRecord r = record_for(std::string(text, 2), std::string(text + 2, 2), std::string(text + 4, 4));
        compute_weekday(r);
        ASSERT_STREQ(names[weekday{d}.c_encoding()], r.weekday) << text;
        ++checked;
    }
    EXPECT_EQ(40542, checked);  // 111 years, 27 of them leap years
}

}  // namespace
