// End-to-end runs on downloads as real league sites and calendar programs write them: team
// names that stand inside each other, a cup tie beside a team file of the club, and starts in the time zones of several programs
// next to one the program cannot convert.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

using RealDownloads = E2eTest;

// A team calendar of events given by their summary and start lines.
std::string calendar_of(const std::vector<std::pair<std::string, std::string>>& events, const std::string& zones = "") {
    std::string text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Verband//Spielplan//DE\n" + zones;
    int number = 1;
    for (const auto& [summary, start] : events) {
        text += "BEGIN:VEVENT\nUID:spiel-" + std::to_string(number++) + "@verband.example\n" + start +
                "\nSUMMARY:" + summary + "\nLOCATION:Sporthalle Nord\nEND:VEVENT\n";
    }
    return text + "END:VCALENDAR\n";
}

// Each workbook row's "Heim" or "Auswärts" and opponent, in order.
std::vector<std::string> sides_in(const std::string& workbook) {
    const std::regex row(">(Heim|Auswärts)</Data>.*?<Data ss:Type=\"String\">[^<]*</Data>.*?"
                         "<Data ss:Type=\"String\">([^<]*)</Data>");
    std::vector<std::string> sides;
    for (std::sregex_iterator it(workbook.begin(), workbook.end(), row), end; it != end; ++it) {
        sides.push_back((*it)[1].str() + " " + (*it)[2].str());
    }
    return sides;
}

// TV Ost's file holds a match against TV Oststadt, whose own file holds it too; a first
// team without a number plays its own second team "II". Each side is the club's where it
// is the club's name, whatever other name it stands inside.
TEST_F(RealDownloads, TeamNamesThatStandInsideEachOther) {
    const std::string start = "DTSTART;TZID=Europe/Berlin:202510";
    write_file("Spielplan_2025-2026_Ost.ics",
               calendar_of({{"TV Oststadt - TV Ost (Kreisliga)", start + "04T150000"},
                            {"TV Ost - SG Nord (Kreisliga)", start + "11T150000"},
                            {"SV Sued - TV Ost (Kreisliga)", start + "18T150000"}}));
    write_file("Spielplan_2025-2026_Oststadt.ics",
               calendar_of({{"TV Oststadt - TV Ost (Kreisliga)", start + "04T150000"},
                            {"SG Nord - TV Oststadt (Kreisliga)", start + "25T150000"}}));
    write_file("Spielplan_2025-2026_TuS.ics",
               calendar_of({{"TuS Lindenbr\xC3\xBC" "ck II - TuS Lindenbr\xC3\xBC" "ck (Kreisliga)", start + "04T180000"},
                            {"TuS Lindenbr\xC3\xBC" "ck - SV Nord 1 (Kreisliga)", start + "11T180000"}}));
    const std::vector<std::string> names = {"Spielplan_2025-2026_Ost.ics", "Spielplan_2025-2026_Oststadt.ics",
                                            "Spielplan_2025-2026_TuS.ics"};
    const ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(names, k_season,
                           {"TV Ost (Kreisliga): 3 Spiele\n", "TV Oststadt (Kreisliga): 2 Spiele\n",
                            "TuS Lindenbr\xC3\xBC" "ck (Kreisliga): 2 Spiele\n"}),
              result.output);
    EXPECT_EQ((std::vector<std::string>{"Auswärts TV Oststadt", "Heim SG Nord", "Auswärts SV Sued", "Heim TV Ost",
                                        "Auswärts SG Nord", "Auswärts TuS Lindenbr\xC3\xBC" "ck II", "Heim SV Nord 1"}),
              sides_in(read_file(k_xml)));
}

// A cup file of one match names both sides once: the side of the club of the run's other
// files is the club's, at home and away, letter case aside, even when the cup file is read
// first.
TEST_F(RealDownloads, CupTieGoesToTheClubOfTheTeamFiles) {
    const std::string start = "DTSTART;TZID=Europe/Berlin:202510";
    write_file("Pokal_2025-2026_1.ics", calendar_of({{"TSV Musterstadt - FC Gro\xC3\x9F" "dorf (Kreispokal)", start + "03T150000"}}));
    write_file("Spielplan_2025-2026_Herren2.ics",
               calendar_of({{"TSV Musterstadt II - SV Nord (Kreisliga)", start + "11T150000"},
                            {"SG Ost - TSV Musterstadt II (Kreisliga)", start + "18T150000"}}));
    write_file("Pokal_2025-2026_2.ics", calendar_of({{"FC Kleinau - TSV MUSTERSTADT (Kreispokal)", start + "29T190000"}}));
    const std::vector<std::string> names = {"Pokal_2025-2026_1.ics", "Spielplan_2025-2026_Herren2.ics",
                                            "Pokal_2025-2026_2.ics"};
    const ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(names, k_season,
                           {"TSV Musterstadt (Kreispokal): 1 Spiele\n", "TSV Musterstadt II (Kreisliga): 2 Spiele\n",
                            "TSV MUSTERSTADT (Kreispokal): 1 Spiele\n"}),
              result.output);
    EXPECT_EQ((std::vector<std::string>{"Heim FC Gro\xC3\x9F" "dorf", "Heim SV Nord", "Auswärts SG Ost", "Auswärts FC Kleinau"}),
              sides_in(read_file(k_xml)));
}

// Starts under the zone names of Evolution and Outlook, in a zone the file defines with
// German time's offsets and in UTC are shown as German time; a start in another zone
// refuses the file, which would otherwise show a wrong time as if it were right.
TEST_F(RealDownloads, TimeZonesOfCalendarPrograms) {
    const std::string zone =
        "BEGIN:VTIMEZONE\nTZID:Mitteleuropa\nBEGIN:STANDARD\nDTSTART:19701025T030000\nTZOFFSETFROM:+0200\n"
        "TZOFFSETTO:+0100\nEND:STANDARD\nBEGIN:DAYLIGHT\nDTSTART:19700329T020000\nTZOFFSETFROM:+0100\n"
        "TZOFFSETTO:+0200\nEND:DAYLIGHT\nEND:VTIMEZONE\n";
    const std::string summary = "TV Nord - TuS Lindenbr\xC3\xBC" "ck 1";
    write_file("Spielplan_2025-2026_Herren1.ics",
               calendar_of({{summary, "DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Berlin:20251004T150000"},
                            {summary, "DTSTART;TZID=\"W. Europe Standard Time\":20251011T160000"},
                            {summary, "DTSTART;TZID=Mitteleuropa:20251018T170000"},
                            {summary, "DTSTART:20251025T130000Z"}},
                           zone));
    ASSERT_EQ(0, run({"Spielplan_2025-2026_Herren1.ics"}).exit_status);
    const std::string fragment = read_output(k_html);
    for (const char* when : {"Sa, 04.10.2025 15:00", "Sa, 11.10.2025 16:00", "Sa, 18.10.2025 17:00", "Sa, 25.10.2025 15:00"}) {
        EXPECT_NE(std::string::npos, fragment.find(when)) << when;
    }

    write_file("andere/Spielplan_2025-2026_Herren1.ics",
               calendar_of({{summary, "DTSTART;TZID=Europe/Berlin:20251004T150000"},
                            {summary, "DTSTART;TZID=America/New_York:20251011T160000"}}));
    const ProgramRun refused = run({"andere/Spielplan_2025-2026_Herren1.ics"});
    EXPECT_EQ(1, refused.exit_status);
    EXPECT_EQ(reading(1) + listed({"Spielplan_2025-2026_Herren1.ics"}) + k_lines_apart +
                  read_failed("Spielplan_2025-2026_Herren1.ics", "Spiel 2 hat eine unbekannte Zeitzone") +
                  nothing_written(1, 1),
              refused.output);
    EXPECT_EQ("<missing " + path("andere/" + k_html) + ">", read_file("andere/" + k_html));
}

}  // namespace
