// Calendar texts for the tests: events in the league site's layout, whole calendars
// built from them, line-end and folding variants, and a one-match calendar that the
// end-to-end cases share.
#pragma once

#include <string>
#include <vector>

// One event of a calendar file; the lines the parser does not read are fixed.
struct EventSpec {
    std::string summary = "BC Beispielheim 1 - TSG Musterfeld 2";
    std::string start = "20250913T150000";
    std::string location = "Am Sportplatz 4, Beispielheim, Sporthalle der Grundschule Beispielheim";
    std::string description = "Spiel 117, Staffel 4, Kreisklasse West, Spieltag 3";
    std::string uid = "match-117";
};

// The event's lines from its "UID:" line on (line 0) to the end of line 7.
inline std::string event_lines(const EventSpec& e) {
    return "UID:" + e.uid + "\nDTSTAMP:20250801T120000Z\nDTSTART;TZID=Europe/Berlin:" + e.start +
           "\nDTEND;TZID=Europe/Berlin:" + e.start + "\nSUMMARY:" + e.summary +
           "\nTRANSP:OPAQUE\nLOCATION:" + e.location + "\nDESCRIPTION:" + e.description + "\n";
}

inline std::string calendar_text(const std::vector<EventSpec>& events, const std::string& trailer = "") {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Liga//Spielplan//DE\n";
    for (const EventSpec& e : events) text += "BEGIN:VEVENT\n" + event_lines(e) + "END:VEVENT\n";
    return text + trailer + "END:VCALENDAR\n";
}

inline std::string with_crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Folds every line longer than width: a line break plus the given blank or tab after
// every width bytes, also inside a UTF-8 sequence.
inline std::string folded(const std::string& text, size_t width, char fold_mark = ' ') {
    std::string out;
    size_t column = 0;
    for (char c : text) {
        if (c == '\n') {
            column = 0;
        } else {
            if (column == width) {
                out += '\n';
                out += fold_mark;
                column = 1;
            }
            ++column;
        }
        out += c;
    }
    return out;
}

// A one-match calendar (a cup round) with the line the import prints for it: both teams
// occur once, so the away team is taken as the club's, and the club plays away.
inline const std::string k_cup_match =
    "BEGIN:VCALENDAR\n"
    "VERSION:2.0\n"
    "BEGIN:VEVENT\n"
    "UID:pokal-9001@liga.example.org\n"
    "DTSTAMP:20250801T120000Z\n"
    "DTSTART;TZID=Europe/Berlin:20251101T160000\n"
    "DTEND;TZID=Europe/Berlin:20251101T180000\n"
    "SUMMARY:TV Talheim 1 - TuS Lindenbr\xC3\xBC" "ck 1\n"
    "STATUS:CONFIRMED\n"
    "LOCATION:Schulweg 7, 35930 Talheim, Turnhalle des Gymnasiums Talheim\n"
    "DESCRIPTION:Spiel 9001, Runde 1, Kreispokal, Spieltag 1\n"
    "END:VEVENT\n"
    "END:VCALENDAR\n";
inline const std::string k_cup_match_line = "TuS Lindenbr\xC3\xBC" "ck 1 (Kreispokal): 1 Spiele\n";

// The cup match of the club's team number n (team 1's is k_cup_match), so that the files of
// several teams hold different bytes; and the lines of the teams 1 to files.
inline std::string cup_match_of(int n) {
    std::string text = k_cup_match;
    const std::string team = "Lindenbr\xC3\xBC" "ck 1\n";
    return text.replace(text.find(team), team.size(), "Lindenbr\xC3\xBC" "ck " + std::to_string(n) + "\n");
}
inline std::vector<std::string> cup_match_lines(size_t files) {
    std::vector<std::string> lines;
    for (size_t n = 1; n <= files; ++n) {
        lines.push_back("TuS Lindenbr\xC3\xBC" "ck " + std::to_string(n) + " (Kreispokal): 1 Spiele\n");
    }
    return lines;
}

// The bundled sample calendars (examples/) in the order the sample run drops them, and
// the line the import prints for each; all of them give the season 2025-2026.
struct SampleCalendar {
    std::string file;
    std::string line;
};
inline const std::vector<SampleCalendar> k_sample_calendars = {
    {"Spielplan_2025-2026_Herren1.ics", "TuS Lindenbr\xC3\xBC" "ck 1 (Bezirksklasse Nord): 22 Spiele\n"},
    {"Spielplan_2025-2026_Herren2.ics", "TuS Lindenbr\xC3\xBC" "ck 2 (Kreisliga A): 18 Spiele\n"},
    {"Spielplan_2025-2026_Herren3.ics", "TuS Lindenbr\xC3\xBC" "ck 3 (Kreisklasse B): 16 Spiele\n"},
    {"Spielplan_2025-2026_U19-1.ics", "JSG Lindenbr\xC3\xBC" "ck 1 (U19 Bezirksliga): 16 Spiele\n"},
    {"Spielplan_2025-2026_U19-2.ics", "JSG Lindenbr\xC3\xBC" "ck 2 (U19 Kreisliga): 12 Spiele\n"},
    {"Spielplan_2025-2026_U15-1.ics", "JSG Lindenbr\xC3\xBC" "ck 1 (U15 Kreisliga S\xC3\xBC" "d): 10 Spiele\n"},
};

// The season of the sample calendars and of the cup match, and the schedules it names.
inline const std::string k_season = "2025-2026";
inline const std::string k_xml = "Termarium_2025-2026.xml";
inline const std::string k_html = "Termarium_2025-2026.html";
inline const std::string k_ics = "Termarium_2025-2026.ics";
inline const std::string k_days = "Termarium_2025-2026_Spieltage.html";

// How often needle stands in text.
inline size_t count_of(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

// Every line of a calendar written with CR LF whose property is name ("UID", "SUMMARY"),
// whole and in order, its line end left off.
inline std::vector<std::string> property_lines(const std::string& calendar, const std::string& name) {
    std::vector<std::string> lines;
    const std::string start = "\r\n" + name + ":";
    for (size_t at = calendar.find(start); at != std::string::npos; at = calendar.find(start, at + 1)) {
        lines.push_back(calendar.substr(at + 2, calendar.find("\r\n", at + 2) - at - 2));
    }
    return lines;
}

// A club calendar with the run's time in every DTSTAMP line replaced by a fixed one, so
// that calendars of different runs compare byte for byte.
inline std::string masked_stamps(std::string text) {
    const std::string stamp = "\nDTSTAMP:";
    const std::string fixed = "20000101T000000Z";
    for (size_t at = text.find(stamp); at != std::string::npos; at = text.find(stamp, at + 1)) {
        text.replace(at + stamp.size(), fixed.size(), fixed);
    }
    return text;
}

// The match days without their list of changes since the last run.
inline std::string without_changes(std::string days) {
    const size_t start = days.find("<section aria-labelledby=\"aenderungen\">");
    if (start == std::string::npos) return days;
    const std::string end = "</section>";
    size_t behind = days.find(end, start) + end.size();
    if (days.compare(behind, 2, "\r\n") == 0) behind += 2;  // a Windows build ends its lines so
    else if (days.compare(behind, 1, "\n") == 0) behind += 1;
    return days.erase(start, behind - start);
}
