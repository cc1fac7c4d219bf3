// The weekday of a match row from its date texts. No character is checked to be a digit:
// whatever the date texts hold, the row gets one of the seven weekday texts.
#include "import/weekday.h"

#include "core/civil_date.h"

namespace {

// Weekday texts by day_of_week: 0 is Sunday.
constexpr char k_weekday_names[7][3] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};

int digit_value(char c) { return static_cast<unsigned char>(c) - '0'; }

}  // namespace

void compute_weekday(MatchRecord& record) {
    record.day_number = 10 * digit_value(record.day[0]) + digit_value(record.day[1]);
    record.month_number = 10 * digit_value(record.month[0]) + digit_value(record.month[1]);
    record.year_number = 1000 * digit_value(record.year[0]) + 100 * digit_value(record.year[1]) +
                         10 * digit_value(record.year[2]) + digit_value(record.year[3]);
    const int weekday = day_of_week(CivilDate{record.year_number, record.month_number, record.day_number});
    record.weekday[0] = k_weekday_names[weekday][0];
    record.weekday[1] = k_weekday_names[weekday][1];
    record.weekday[2] = '\0';
}
