// End-to-end run for the match days of a made-up club of six teams in three sports
// (examples/mehrere-sportarten): two home matches that collide in one hall, one of them
// with the hall written in other letters and blanks, and beside them every case that is
// no collision: youth matches back to back, a team's own matches on one day, a derby, an
// away match, matches without a time, a called-off match, the same time in two halls; and
// the run's time that SOURCE_DATE_EPOCH fixes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

using MatchDays = E2eTest;

const std::vector<std::string> k_club = {
    "Handball_2025-2026_Herren1.ics", "Handball_2025-2026_Herren2.ics", "Handball_2025-2026_mA1.ics",
    "Handball_2025-2026_mC1.ics",     "Volleyball_2025-2026_Damen1.ics", "Tischtennis_2025-2026_Herren2.ics",
};

// The part of text from the first from to the first to behind it.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const size_t begin = text.find(from);
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find(to, begin) - begin);
}

// The rows (<tr> to </tr>) of a part of the document that hold the needle.
std::vector<std::string> rows_with(const std::string& part, const std::string& needle) {
    std::vector<std::string> rows;
    for (size_t at = part.find("<tr"); at != std::string::npos; at = part.find("<tr", at + 1)) {
        const std::string row = part.substr(at, part.find("</tr>", at) - at);
        if (row.find(needle) != std::string::npos) rows.push_back(row);
    }
    return rows;
}

TEST_F(MatchDays, CollisionsOfTheClubsHomeMatches) {
    for (const std::string& name : k_club) copy_example("mehrere-sportarten/" + name, name);
    set_environment("SOURCE_DATE_EPOCH", "1782858600");  // 30.06.2026 22:30 UTC
    const ProgramRun result = run(k_club);
    EXPECT_EQ(0, result.exit_status);
    std::string expected = complete_run(
        k_club, k_season,
        {"TuS Lindenbr\xC3\xBC" "ck 1 (Bezirksliga M\xC3\xA4nner): 5 Spiele\n",
         "TuS Lindenbr\xC3\xBC" "ck 2 (Kreisliga M\xC3\xA4nner): 3 Spiele, 1 abgesagt\n",
         "JSG Lindenbr\xC3\xBC" "ck 1 (m\xC3\xA4nnliche A-Jugend Bezirksliga): 3 Spiele\n",
         "JSG Lindenbr\xC3\xBC" "ck 1 (m\xC3\xA4nnliche C-Jugend Kreisliga): 3 Spiele\n",
         "TuS Lindenbr\xC3\xBC" "ck 1 (Landesliga Damen): 4 Spiele\n",
         "TuS Lindenbr\xC3\xBC" "ck 2 (Bezirksklasse Nord): 3 Spiele\n"});
    const std::string warning = "Achtung: 2 Ueberschneidungen in derselben Halle (siehe Spieltage)\n";
    expected.insert(expected.find(k_closing_prompt), warning);
    EXPECT_EQ(expected, result.output);

    // The run's time in German time: summer time, a day and a weekday later than in UTC.
    const std::string plan = read_output(k_days);
    EXPECT_NE(std::string::npos, plan.find("</h1>\n<p class=\"stand\">Stand: Mi, 01.07.2026 00:30</p>\n"));
    EXPECT_NE(std::string::npos, read_file(k_ics).find("\r\nX-WR-CALDESC:Stand: Mi\\, 01.07.2026 00:30\r\n"));
    const std::string top = between(plan, "<ol class=\"kollisionen\">", "</ol>");
    const std::string days = between(plan, "id=\"spieltage\"", "id=\"hallen\"");
    const std::string halls = plan.substr(plan.find("id=\"hallen\""));
    // Listed once at the top: the men's first team against the volleyball women in the hall
    // written two ways, and the A youth that has the hall until 11:15 against the C youth at 11:00.
    EXPECT_EQ(2u, count_of(top, "<li id=\"ue"));
    EXPECT_NE(std::string::npos, between(top, "id=\"ue1\"", "</li>")
                                     .find("15:00 bis 16:30 TuS Lindenbr\xC3\xBC" "ck 1 (Bezirksliga M\xC3\xA4nner) "
                                           "gegen HSG Waldfeld 1; 16:00 bis 17:30 TuS Lindenbr\xC3\xBC" "ck 1 "
                                           "(Landesliga Damen) gegen SV Rabenau 2"));
    EXPECT_NE(std::string::npos, between(top, "id=\"ue2\"", "</li>")
                                     .find("10:00 bis 11:15 JSG Lindenbr\xC3\xBC" "ck 1 (m\xC3\xA4nnliche A-Jugend "
                                           "Bezirksliga) gegen HSG Nordheim 1; 11:00 bis 12:00"));
    // Marked at both rows, in the match days and in the hall plan, and nowhere else.
    for (const std::string* part : {&days, &halls}) {
        const std::vector<std::string> first = rows_with(*part, "href=\"#ue1\"");
        const std::vector<std::string> second = rows_with(*part, "href=\"#ue2\"");
        ASSERT_EQ(2u, first.size());
        EXPECT_NE(std::string::npos, first[0].find("HSG Waldfeld 1"));
        EXPECT_NE(std::string::npos, first[1].find("SV Rabenau 2"));
        ASSERT_EQ(2u, second.size());
        EXPECT_NE(std::string::npos, second[0].find("HSG Nordheim 1"));
        EXPECT_NE(std::string::npos, second[1].find("TV Eichenrode 1"));
        EXPECT_EQ(4u, count_of(*part, "class=\"ue\""));
    }
    // Every match once in the match days, home ones marked; the called-off one struck
    // through in its week and colliding with none.
    EXPECT_EQ(21u, count_of(days, "<tr><td>") + count_of(days, "<tr class=\"heim\">"));
    const std::vector<std::string> called_off = rows_with(days, "class=\"absage\"");
    ASSERT_EQ(1u, called_off.size());
    EXPECT_NE(std::string::npos, called_off[0].find("SG Talheim 2"));
    EXPECT_NE(std::string::npos, called_off[0].find("<tr class=\"heim abgesagt\">"));
    // In date order: a day's matches by time, the derby from both files, a match without a time last.
    const std::vector<std::string> saturday = rows_with(days, "Sa 04.10.");
    ASSERT_EQ(9u, saturday.size());
    const char* times[] = {"09:00", "10:00", "11:15", "12:00", "15:00", "15:30", "16:00", "18:00", "18:00"};
    for (size_t i = 0; i < saturday.size(); ++i) EXPECT_NE(std::string::npos, saturday[i].find(times[i])) << i;
    const std::vector<std::string> late = rows_with(days, "Sa 18.10.");
    ASSERT_EQ(2u, late.size());
    EXPECT_NE(std::string::npos, late[1].find("ohne Uhrzeit"));
    EXPECT_NE(std::string::npos, days.find("KW 40/2025: Montag, 29.09. bis Sonntag, 05.10.2025"));
}

}  // namespace
