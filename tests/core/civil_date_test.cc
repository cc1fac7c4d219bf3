// Day counts, weekdays and calendar weeks: every date from 1990 to 2100 there and back and
// its weekday by both formulas against the standard library, and the weeks at the turn of
// the year that ISO 8601 counts apart.
#include "core/civil_date.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(CivilDate, DayCountsAndWeekdaysAgreeWithTheStandardLibrary) {
    using namespace std::chrono;
    for (sys_days d = sys_days{1990y / January / 1}; d <= sys_days{2100y / December / 31}; d += days{1}) {
        const year_month_day ymd{d};
        const int year = static_cast<int>(ymd.year());
        const int month = static_cast<int>(static_cast<unsigned>(ymd.month()));
        const int day = static_cast<int>(static_cast<unsigned>(ymd.day()));
        const int count = days_from_civil(CivilDate{year, month, day});
        ASSERT_EQ(d.time_since_epoch().count(), count) << year << "-" << month << "-" << day;
        const CivilDate back = civil_from_days(count);
        ASSERT_TRUE(back.year == year && back.month == month && back.day == day) << count;
        ASSERT_EQ(static_cast<int>(weekday{d}.iso_encoding()) - 1, iso_weekday(count)) << count;
        ASSERT_EQ(static_cast<int>(weekday{d}.c_encoding()), day_of_week(CivilDate{year, month, day})) << count;
    }
}

TEST(CivilDate, WeeksAtTheTurnOfTheYear) {
    const struct {
        int year, month, day, week, week_year;
    } cases[] = {
        {2025, 12, 28, 52, 2025}, {2025, 12, 29, 1, 2026}, {2026, 1, 4, 1, 2026}, {2026, 1, 5, 2, 2026},
        {2021, 1, 3, 53, 2020},   {2020, 12, 31, 53, 2020}, {2025, 10, 4, 40, 2025},
    };
    for (const auto& c : cases) {
        int week_year = 0;
        EXPECT_EQ(c.week, iso_week(days_from_civil(CivilDate{c.year, c.month, c.day}), week_year)) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(c.week_year, week_year) << c.year << "-" << c.month << "-" << c.day;
    }
}

}  // namespace
