// End-to-end runs of a whole league's calendar (examples/ganze-liga: 56 matches of eight
// teams, two of them the club's with their derby, two of another club, the last rounds
// without a time): the club's two teams each get a block, whether the club comes from a
// team's file in the same drop, from the answer on standard input or from the club
// calendar an earlier run left in the folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

const std::string k_league = "Volleyball_2025-2026_BK26F.ics";
const std::vector<std::string> k_club_lines = {"SV Ostheim V (BK26F): 14 Spiele\n", "SV Ostheim VI (BK26F): 14 Spiele\n"};
const std::string k_club_name = "X-WR-CALNAME:Spielplan SV Ostheim 2025-2026";

// The question with the league's clubs in the order they first appear in the file.
const std::string k_question =
    "\n\nIn den Liga-Dateien spielen diese Vereine:\n"
    "  1 TV Westfeld\n  2 VC Nordau\n  3 USC Mittelberg\n  4 SV Ostheim\n  5 SC S\xC3\xBC" "dtal\n  6 TSG Auenbach\n"
    "Welcher ist dein Verein? Nummer oder Name, dann Enter: ";

// A team's file of the club's second men's team, of another league.
const std::string k_team_file = "Volleyball_2025-2026_Herren2.ics";
const std::string k_team_text = calendar_text({{.summary = "SV Ostheim II - TV Nord 1", .uid = "h2-1"},
                                               {.summary = "FC Anders 1 - SV Ostheim II", .start = "20250920T150000",
                                                .uid = "h2-2"}});

class LeagueFile : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        copy_example("ganze-liga/" + k_league, k_league);
    }
    // The club calendar's name line and its events' summaries of the two teams' derby.
    void expect_club_calendar(size_t events) {
        const std::string calendar = read_file(k_ics);
        EXPECT_EQ(std::vector<std::string>{k_club_name}, property_lines(calendar, "X-WR-CALNAME"));
        EXPECT_EQ(events, count_of(calendar, "BEGIN:VEVENT"));
        EXPECT_EQ(1u, count_of(calendar, "SUMMARY:SV Ostheim V - SV Ostheim VI\r\n"));
        EXPECT_EQ(1u, count_of(calendar, "SUMMARY:SV Ostheim VI - SV Ostheim V\r\n"));
        EXPECT_EQ(5u, count_of(calendar, "DTSTART;VALUE=DATE:")) << "the matches at 00:00 (a derby among them) have no time";
    }
};

// The club's team file names the club; the league's file before it gives its two blocks
// first. A team's file of another club leaves the league's file without a team of it.
TEST_F(LeagueFile, TeamFileOfTheClubInTheSameDrop) {
    write_file(k_team_file, k_team_text);
    const ProgramRun result = run({k_league, k_team_file});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run({k_league, k_team_file}, k_season,
                           {k_club_lines[0], k_club_lines[1], "SV Ostheim II (Kreisklasse West): 2 Spiele\n"}),
              result.output);
    expect_club_calendar(28);

    write_file("anders/" + k_team_file, calendar_text({{.summary = "FC Anders 1 - TV Nord 1"}, {.summary = "TV Ost 1 - FC Anders 1", .uid = "a-2"}}));
    copy_example("ganze-liga/" + k_league, "anders/" + k_league);
    const ProgramRun other = run({"anders/" + k_team_file, "anders/" + k_league});
    EXPECT_EQ(1, other.exit_status);
    EXPECT_EQ(reading(2) + listed({k_team_file, k_league}) + season_line(k_season) +
                  "FC Anders 1 (Kreisklasse West): 2 Spiele\n" + k_league + ": keine Mannschaft von FC Anders in dieser Datei\n" +
                  nothing_written(1, 2),
              other.output);
}

// Without a team's file the run asks once; a number or a name in any letter case is an
// answer; an answer not in the list writes nothing.
TEST_F(LeagueFile, AnswerOnStandardInput) {
    const std::string head = reading(1) + listed({k_league}) + k_question;
    const ProgramRun wrong = run_with_input("7\n", {k_league});
    EXPECT_EQ(1, wrong.exit_status);
    EXPECT_EQ(head + "Kein Verein gewaehlt, nichts geschrieben.\n" + k_closing_prompt + k_banner, wrong.output);
    EXPECT_EQ(std::set<std::string>{k_league}, files());

    const ProgramRun by_number = run_with_input("4\n", {k_league});
    EXPECT_EQ(0, by_number.exit_status);
    EXPECT_EQ(head + complete_run({}, k_season, k_club_lines).substr(reading(0).size()), by_number.output);
    expect_club_calendar(26);
    const std::string table = read_file(k_xml);
    EXPECT_EQ(0, run_with_input("  sv OSTHEIM\r\n", {k_league}).exit_status);
    EXPECT_EQ(table, read_file(k_xml));
}

// The club calendar of an earlier run names the club: beside the league's file in its
// folder, or given among the files.
TEST_F(LeagueFile, EarlierClubCalendarRemembersTheClub) {
    ASSERT_EQ(0, run_with_input("SV Ostheim\n", {k_league}).exit_status);
    const std::string table = read_file(k_xml);
    const std::string calendar = read_file(k_ics);

    const ProgramRun again = run({k_league});
    EXPECT_EQ(0, again.exit_status);
    EXPECT_EQ(complete_run({k_league}, k_season, k_club_lines, changes_since(0, 0, 0)), again.output);
    EXPECT_EQ(table, read_file(k_xml));
    expect_club_calendar(26);

    write_file("neu/alt.ics", calendar);
    copy_example("ganze-liga/" + k_league, "neu/" + k_league);
    const ProgramRun given = run({"neu/" + k_league, "neu/alt.ics"});
    EXPECT_EQ(0, given.exit_status);
    EXPECT_EQ(reading(2) + listed({k_league, "alt.ics"}) + season_line(k_season) + k_club_lines[0] + k_club_lines[1] +
                  skipped_as_own_output("alt.ics") + changes_since(0, 0, 0) + xml_written(k_season) + html_written(k_season) +
                  calendar_written(k_season) + match_days_written(k_season) + k_closing_prompt + k_banner,
              given.output);
    EXPECT_EQ(table, read_file("neu/" + k_xml));
}

}  // namespace
