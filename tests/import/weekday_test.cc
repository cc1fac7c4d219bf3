// Weekday of a match row: the worked dates with their negative totals and the record's
// numbers; that every date of the years the program serves is Gregorian is the civil
// date's test.
#include "import/weekday.h"

#include <gtest/gtest.h>

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

}  // namespace
