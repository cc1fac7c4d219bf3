// Generates the benchmark workloads: realistic calendars in the league site's layout,
// every event with a venue that passes through the word table and a league with commas;
// or the same matches in a table-tennis site's calendars. Every team meets opponents of
// its own, as in a real club, so that the club calendar holds every match.
#include "workload.h"

#include <cstdio>

#include "core/civil_date.h"

namespace {

constexpr int k_files = 40;
constexpr int k_long_seasons = 19;  // files with 12 matches; the rest have 11 (40 + 19*12 + 21*11 = 499 rows)
constexpr int k_large_matches = 120;  // matches of every file of the large workload (40 + 40*120 = 4840 rows)
constexpr int k_halls = 5;

const char* const k_leagues[] = {"Kreisliga A", "Bezirksklasse Nord", "U19 Bezirksliga", "U15 Kreisliga"};
const char* const k_venues[k_halls] = {
    "Sporthalle der Grundschule Am Mühlbach",
    "Turnhalle des Gymnasiums Lindenbrück",
    "Großsporthalle Oberhain",
    "Schulsporthalle Hauptschule plus Talheim",
    "Sport- und Kulturhalle Realschule Nord",
};

// When and where one match of a calendar is. The full table's teams all play on the same
// days; the large workload's teams play every third day from August on, a third of them a
// day later, and each team's home matches are in its own hall, which eight teams share
// at staggered hours (so some matches in one hall overlap).
struct MatchShape {
    CivilDate date;
    int hour;          // German time; the match begins at half past
    const char* hall;  // the location's hall
    int opponent;      // number of the opponent, unique over the workload
    int game;          // the league's number of the match
    bool home;         // the club's team plays at home: every other match
    char opponent_name[40];  // "SG Gegnerstadt <opponent>"
};

MatchShape match_shape(int index, int m, WorkloadSize size) {
    const bool home = m % 2 == 0;
    MatchShape shape{};
    if (size == WorkloadSize::full_table) {
        shape = {{2025, 9 + m / 4, 1 + (m % 4) * 7}, 14 + m % 6, k_venues[m % k_halls], index * 12 + m + 1,
                 index * 100 + m, home, {}};
    } else {
        const CivilDate date = civil_from_days(days_from_civil({2025, 8, 1}) + m * 3 + index % 3);
        shape = {date, 10 + index % 4, k_venues[home ? index % k_halls : m % k_halls], index * k_large_matches + m + 1,
                 index * 1000 + m, home, {}};
    }
    std::snprintf(shape.opponent_name, sizeof shape.opponent_name, "SG Gegnerstadt %d", shape.opponent);
    return shape;
}

// A table-tennis site's calendar: the properties in its own order, times in UTC, the
// league in the summary, the hall first in the location.
std::string other_site_calendar(int index, int matches, const char* own, WorkloadSize size) {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Tischtennis-Ligaportal//Spielplan 2.1//DE\nMETHOD:PUBLISH\n";
    for (int m = 0; m < matches; ++m) {
        const MatchShape shape = match_shape(index, m, size);
        const char* opponent = shape.opponent_name;
        const bool home = shape.home;
        char summary[128];
        std::snprintf(summary, sizeof summary, "%s - %s (%s)", home ? own : opponent, home ? opponent : own,
                      k_leagues[index % 4]);
        char event[1024];
        std::snprintf(event, sizeof event,
                      "BEGIN:VEVENT\n"
                      "UID: tt-%d-%d@tt-ligaportal.example\n"
                      "ORGANIZER;CN=\"Tischtennis-Bezirk Nord: Staffelleitung\":mailto:staffel@tt-bezirk.example\n"
                      "SUMMARY:%s\n"
                      "DESCRIPTION:%s\n"
                      "LOCATION:%s, Am Sportpark %d, 35999, Lindenbrück\n"
                      "CLASS:PUBLIC\n"
                      "DTSTART:%04d%02d%02dT%02d3000Z\n"
                      "DTEND:%04d%02d%02dT%02d3000Z\n"
                      "DTSTAMP:20250801T080000Z\n"
                      "END:VEVENT\n",
                      index, m, summary, summary, shape.hall, m + 1, shape.date.year, shape.date.month,
                      shape.date.day, shape.hour - 2, shape.date.year, shape.date.month, shape.date.day,
                      shape.hour + 1);
        text += event;
    }
    return text + "END:VCALENDAR\n";
}

}  // namespace

std::string workload_calendar(int index, WorkloadStyle style, WorkloadSize size) {
    const int matches = size == WorkloadSize::large ? k_large_matches : index < k_long_seasons ? 12 : 11;
    char own[32];
    std::snprintf(own, sizeof own, "TuS Lindenbrück %d", index % 4 + 1);
    if (style == WorkloadStyle::other_site) return other_site_calendar(index, matches, own, size);
    std::string text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Liga-Verwaltung//Spielplan-Export 3.2//DE\r\n"
        "CALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n";
    for (int m = 0; m < matches; ++m) {
        const MatchShape shape = match_shape(index, m, size);
        const char* opponent = shape.opponent_name;
        const bool home = shape.home;
        char event[1024];
        std::snprintf(event, sizeof event,
                      "BEGIN:VEVENT\r\n"
                      "UID:spiel-%d-%d@liga.example.org\r\n"
                      "DTSTAMP:20250801T120000Z\r\n"
                      "DTSTART;TZID=Europe/Berlin:%04d%02d%02dT%02d3000\r\n"
                      "DTEND;TZID=Europe/Berlin:%04d%02d%02dT%02d3000\r\n"
                      "SUMMARY:%s - %s\r\n"
                      "TRANSP:OPAQUE\r\n"
                      "LOCATION:Am Sportpark %d, 35999 Lindenbrück, %s\r\n"
                      "DESCRIPTION:Spiel %d, Staffel 4, %s, Spieltag %d\r\n"
                      "END:VEVENT\r\n",
                      index, m, shape.date.year, shape.date.month, shape.date.day, shape.hour, shape.date.year,
                      shape.date.month, shape.date.day, shape.hour + 2, home ? own : opponent, home ? opponent : own,
                      m + 1, shape.hall, shape.game, k_leagues[index % 4], m + 1);
        text += event;
    }
    text += "END:VCALENDAR\r\n";
    return text;
}

std::vector<std::string> write_workload(const std::string& folder, WorkloadStyle style, WorkloadSize size) {
    std::vector<std::string> paths;
    for (int i = 0; i < k_files; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/Spielplan_2025-2026_%02d.ics", i + 1);
        std::string path = folder + name;
        std::string text = workload_calendar(i, style, size);
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return {};
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        paths.push_back(path);
    }
    return paths;
}
