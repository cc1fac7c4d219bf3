// Generates the benchmark workload: realistic calendars in the league site's layout,
// every event with a venue that passes through the word table and a league with commas;
// or the same matches in a table-tennis site's calendars. Every team meets opponents of
// its own, as in a real club, so that the club calendar holds all 499 matches.
#include "workload.h"

#include <cstdio>

namespace {

constexpr int k_files = 40;
constexpr int k_long_seasons = 19;  // files with 12 matches; the rest have 11 (40 + 19*12 + 21*11 = 499 rows)

const char* const k_leagues[] = {"Kreisliga A", "Bezirksklasse Nord", "U19 Bezirksliga", "U15 Kreisliga"};
const char* const k_venues[] = {
    "Sporthalle der Grundschule Am Mühlbach",
    "Turnhalle des Gymnasiums Lindenbrück",
    "Großsporthalle Oberhain",
    "Schulsporthalle Hauptschule plus Talheim",
    "Sport- und Kulturhalle Realschule Nord",
};

// A table-tennis site's calendar: the properties in its own order, times in UTC, the
// league in the summary, the hall first in the location.
std::string other_site_calendar(int index, int matches, const char* own) {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Tischtennis-Ligaportal//Spielplan 2.1//DE\nMETHOD:PUBLISH\n";
    for (int m = 0; m < matches; ++m) {
        char opponent[40];
        std::snprintf(opponent, sizeof opponent, "SG Gegnerstadt %d", index * 12 + m + 1);
        const bool home = m % 2 == 0;
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
                      "DTSTART:2025%02d%02dT%02d3000Z\n"
                      "DTEND:2025%02d%02dT%02d3000Z\n"
                      "DTSTAMP:20250801T080000Z\n"
                      "END:VEVENT\n",
                      index, m, summary, summary, k_venues[m % 5], m + 1, 9 + m / 4, 1 + (m % 4) * 7, 12 + m % 6,
                      9 + m / 4, 1 + (m % 4) * 7, 15 + m % 6);
        text += event;
    }
    return text + "END:VCALENDAR\n";
}

}  // namespace

std::string workload_calendar(int index, WorkloadStyle style) {
    const int matches = index < k_long_seasons ? 12 : 11;
    char own[32];
    std::snprintf(own, sizeof own, "TuS Lindenbrück %d", index % 4 + 1);
    if (style == WorkloadStyle::other_site) return other_site_calendar(index, matches, own);
    std::string text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Liga-Verwaltung//Spielplan-Export 3.2//DE\r\n"
        "CALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n";
    for (int m = 0; m < matches; ++m) {
        char opponent[40];
        std::snprintf(opponent, sizeof opponent, "SG Gegnerstadt %d", index * 12 + m + 1);
        const bool home = m % 2 == 0;
        char event[1024];
        std::snprintf(event, sizeof event,
                      "BEGIN:VEVENT\r\n"
                      "UID:spiel-%d-%d@liga.example.org\r\n"
                      "DTSTAMP:20250801T120000Z\r\n"
                      "DTSTART;TZID=Europe/Berlin:2025%02d%02dT%02d3000\r\n"
                      "DTEND;TZID=Europe/Berlin:2025%02d%02dT%02d3000\r\n"
                      "SUMMARY:%s - %s\r\n"
                      "TRANSP:OPAQUE\r\n"
                      "LOCATION:Am Sportpark %d, 35999 Lindenbrück, %s\r\n"
                      "DESCRIPTION:Spiel %d, Staffel 4, %s, Spieltag %d\r\n"
                      "END:VEVENT\r\n",
                      index, m, 9 + m / 4, 1 + (m % 4) * 7, 14 + m % 6, 9 + m / 4, 1 + (m % 4) * 7,
                      16 + m % 6, home ? own : opponent, home ? opponent : own, m + 1,
                      k_venues[m % 5], index * 100 + m, k_leagues[index % 4], m + 1);
        text += event;
    }
    text += "END:VCALENDAR\r\n";
    return text;
}

std::vector<std::string> write_workload(const std::string& folder, WorkloadStyle style) {
    std::vector<std::string> paths;
    for (int i = 0; i < k_files; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/Spielplan_2025-2026_%02d.ics", i + 1);
        std::string path = folder + name;
        std::string text = workload_calendar(i, style);
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return {};
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        paths.push_back(path);
    }
    return paths;
}
