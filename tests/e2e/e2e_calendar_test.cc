// End-to-end runs for the club calendar: what a volunteer drops gives one calendar file
// in which a derby of two of the club's teams stands once, names with the characters a
// calendar escapes come out escaped, a match without a time is an all-day event, and a
// long line is folded without cutting a character, with CR LF on every platform. The
// calendar and both schedules read every event the same way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

using ClubCalendar = E2eTest;

// The calendar's events from the first BEGIN:VEVENT to the last END:VEVENT, UID and
// DTSTAMP values replaced by fixed texts.
std::string events_of(const std::string& calendar) {
    std::string events = masked_stamps(calendar.substr(calendar.find("BEGIN:VEVENT")));
    events = events.substr(0, events.rfind("END:VEVENT\r\n") + 12);
    for (const std::string& uid : property_lines(events, "UID")) events.replace(events.find(uid), uid.size(), "UID:<uid>");
    return events;
}

// A team calendar of another site, read by property name, in CR LF with folded lines.
std::string other_site_calendar(const std::vector<std::string>& events) {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Verband//Spielplan//DE\n";
    for (const std::string& event : events) text += "BEGIN:VEVENT\n" + event + "END:VEVENT\n";
    return with_crlf(text + "END:VCALENDAR\n");
}

// The derby of the club's first and second team, as the site writes it in both files.
const std::string k_derby =
    "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 1 - TuS Lindenbr\xC3\xBC" "ck 2\n"
    "DTSTART;VALUE=DATE:20251004\n"
    "UID:derby-1@verband.example\n"
    "LOCATION:Dreifeldhalle der Gesamtschule\\, Am M\xC3\xBC" "hlbach 12\\, 35999 Lindenbr\xC3\xBC" "ck-S\xC3\xBC" "d\n"
    "DESCRIPTION:Bezirksliga Nord\\nSpieltag 4\n";

TEST_F(ClubCalendar, DerbyOnceEscapedNamesAndFoldedLines) {
    write_file("Spielplan_2025-2026_Herren1.ics",
               other_site_calendar({k_derby,
                                    "SUMMARY:SV Komma\\, Semikolon\\; Back\\\\slash - TuS Lindenbr\xC3\xBC" "ck 1 "
                                    "(Bezirksliga Nord)\n"
                                    "DTSTART:20251011T140000Z\n"
                                    "UID:spiel-2@verband.example\n"
                                    "LOCATION:Halle\\; Nebeneingang\n"}));
    write_file("Spielplan_2025-2026_Herren2.ics",
               other_site_calendar({k_derby,
                                    "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 - FC S\xC3\xBC" "d 3 (Bezirksliga Nord)\n"
                                    "DTSTART:20251101T150000Z\n"
                                    "UID:spiel-3@verband.example\n"}));
    const std::vector<std::string> names = {"Spielplan_2025-2026_Herren1.ics", "Spielplan_2025-2026_Herren2.ics"};
    const ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(names, k_season,
                           {"TuS Lindenbr\xC3\xBC" "ck 1 (Bezirksliga Nord): 2 Spiele\n",
                            "TuS Lindenbr\xC3\xBC" "ck 2 (Bezirksliga Nord): 2 Spiele\n"}),
              result.output);

    const std::string calendar = read_file(k_ics);
    // The derby stands in both files and once here; the location line is folded in front
    // of its "ü", which would not fit whole into the line's 75 octets.
    EXPECT_EQ(
        "BEGIN:VEVENT\r\n"
        "UID:<uid>\r\n"
        "DTSTAMP:20000101T000000Z\r\n"
        "DTSTART;VALUE=DATE:20251004\r\n"
        "DURATION:P1D\r\n"
        "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 1 - TuS Lindenbr\xC3\xBC" "ck 2\r\n"
        "LOCATION:Dreifeldhalle der Gesamtschule\\, Am M\xC3\xBC" "hlbach 12\\, 35999 Lindenbr\r\n"
        " \xC3\xBC" "ck-S\xC3\xBC" "d\r\n"
        "CATEGORIES:Bezirksliga Nord\r\n"
        "DESCRIPTION:TuS Lindenbr\xC3\xBC" "ck 1\\, Bezirksliga Nord\r\n"
        "X-TERMARIUM-VENUE:Dreifeldhalle Gesamtschule\r\n"
        "END:VEVENT\r\n"
        "BEGIN:VEVENT\r\n"
        "UID:<uid>\r\n"
        "DTSTAMP:20000101T000000Z\r\n"
        "DTSTART;TZID=Europe/Berlin:20251011T160000\r\n"
        "DURATION:PT1H30M\r\n"
        "SUMMARY:SV Komma\\, Semikolon\\; Back\\\\slash - TuS Lindenbr\xC3\xBC" "ck 1\r\n"
        "LOCATION:Halle\\; Nebeneingang\r\n"
        "CATEGORIES:Bezirksliga Nord\r\n"
        "DESCRIPTION:TuS Lindenbr\xC3\xBC" "ck 1\\, Bezirksliga Nord\r\n"
        "X-TERMARIUM-VENUE:Halle\\; Nebeneingang\r\n"
        "END:VEVENT\r\n"
        "BEGIN:VEVENT\r\n"
        "UID:<uid>\r\n"
        "DTSTAMP:20000101T000000Z\r\n"
        "DTSTART;TZID=Europe/Berlin:20251101T160000\r\n"
        "DURATION:PT1H30M\r\n"
        "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 - FC S\xC3\xBC" "d 3\r\n"
        "CATEGORIES:Bezirksliga Nord\r\n"
        "DESCRIPTION:TuS Lindenbr\xC3\xBC" "ck 2\\, Bezirksliga Nord\r\n"
        "X-TERMARIUM-VENUE:\r\n"
        "END:VEVENT\r\n",
        events_of(calendar));
    const std::vector<std::string> uids = property_lines(calendar, "UID");
    ASSERT_EQ(3u, uids.size());
    EXPECT_NE(uids[0], uids[1]);
    EXPECT_NE(uids[1], uids[2]);
    EXPECT_EQ(0u, calendar.rfind("BEGIN:VCALENDAR\r\n", 0));
    EXPECT_EQ(calendar.size() - 15, calendar.find("END:VCALENDAR\r\n"));
    EXPECT_NE(std::string::npos, calendar.find("\r\nX-WR-CALNAME:Spielplan TuS Lindenbr\xC3\xBC" "ck 2025-2026\r\n"));
}

// A first team without a number: its name stands inside the second team's, so that the
// table counts the derby as a home match of the first team. The calendar takes both names
// from the summary and still writes the derby once, as the league wrote it.
TEST_F(ClubCalendar, DerbyOfAnUnnumberedFirstTeamStandsOnceAsWritten) {
    const std::string derby = "SUMMARY:TuS Lindenbr\xC3\xBC" "ck II - TuS Lindenbr\xC3\xBC" "ck\n"
                              "DTSTART:20251018T150000\n"
                              "UID:derby-2@verband.example\n"
                              "LOCATION:Sporthalle Lindenbr\xC3\xBC" "ck\n";
    write_file("Spielplan_2025-2026_Herren.ics",
               other_site_calendar({derby, "SUMMARY:TuS Lindenbr\xC3\xBC" "ck - SV Nord 1\n"
                                           "DTSTART:20251025T150000\nUID:spiel-4@verband.example\n"}));
    write_file("Spielplan_2025-2026_Herren2.ics",
               other_site_calendar({"SUMMARY:TuS Lindenbr\xC3\xBC" "ck II - FC S\xC3\xBC" "d 3\n"
                                    "DTSTART:20251011T150000\nUID:spiel-5@verband.example\n",
                                    derby}));
    ASSERT_EQ(0, run({"Spielplan_2025-2026_Herren.ics", "Spielplan_2025-2026_Herren2.ics"}).exit_status);
    EXPECT_EQ((std::vector<std::string>{"SUMMARY:TuS Lindenbr\xC3\xBC" "ck II - TuS Lindenbr\xC3\xBC" "ck",
                                        "SUMMARY:TuS Lindenbr\xC3\xBC" "ck - SV Nord 1",
                                        "SUMMARY:TuS Lindenbr\xC3\xBC" "ck II - FC S\xC3\xBC" "d 3"}),
              property_lines(read_file(k_ics), "SUMMARY"));
}

// The league site's own file as a calendar program exports it again: no UID lines, a
// parameter on every summary, and an escaped ";" in a name. The rows are those of the
// download, the name unescaped in both schedules and escaped again in the calendar.
TEST_F(ClubCalendar, EveryOutputReadsTheEventsAlike) {
    const std::string sample = k_sample_calendars[0].file;
    copy_example(sample, "download/" + sample);
    std::string exported;
    const std::string original = read_file("download/" + sample);
    for (size_t at = 0; at < original.size();) {
        const size_t end = original.find('\n', at) + 1;
        const std::string line = original.substr(at, end - at);
        if (line.rfind("UID:", 0) != 0) exported += line;
        at = end;
    }
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
        return text;
    };
    exported = replaced(replaced(exported, "SUMMARY:", "SUMMARY;LANGUAGE=de:"), "SG Oberhain 1", "SG Ober\\;hain 1");
    write_file("export/" + sample, exported);
    ASSERT_EQ(0, run({"download/" + sample}).exit_status);
    const ProgramRun result = run({"export/" + sample});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({sample}, k_season, {k_sample_calendars[0].line}), result.output);

    for (const std::string& schedule : {k_xml, k_html}) {
        EXPECT_EQ(replaced(read_file("download/" + schedule), "SG Oberhain 1", "SG Ober;hain 1"),
                  read_file("export/" + schedule)) << schedule;
    }
    const std::string calendar = events_of(read_file("export/" + k_ics));
    EXPECT_EQ(replaced(events_of(read_file("download/" + k_ics)), "SG Oberhain 1", "SG Ober\\;hain 1"), calendar);
    EXPECT_EQ(2u, count_of(calendar, "SG Ober\\;hain 1"));
}

// The club calendar of one team's file, given to the program again as members' calendar
// programs keep it, gives the same rows, league and venue included, and the same line.
TEST_F(ClubCalendar, ReadBackItGivesTheSameRows) {
    const std::string sample = k_sample_calendars[0].file;
    copy_example(sample, "download/" + sample);
    ASSERT_EQ(0, run({"download/" + sample}).exit_status);
    write_file("zurueck/" + sample, read_file("download/" + k_ics));
    const ProgramRun result = run({"zurueck/" + sample});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({sample}, k_season, {k_sample_calendars[0].line}), result.output);
    for (const std::string& output : {k_xml, k_html}) {
        EXPECT_EQ(read_file("download/" + output), read_file("zurueck/" + output)) << output;
    }
    EXPECT_EQ(masked_stamps(read_file("download/" + k_ics)), masked_stamps(read_file("zurueck/" + k_ics)));
}

}  // namespace
