// The weekly round in one folder, with the clock before the season: the sample club's
// first run, then its downloads a week later with one match moved, one new, one called
// off, one gone from its file and one team's file left out, then the same again. What
// changed is told once, in the window, the match days and the club calendar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

const std::string k_lindenbrueck = "Lindenbr\xC3\xBC" "ck";

// The text with its first "from" replaced by "to"; the test fails when it is not there.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The lines of the match days' list of changes, without their markup.
std::vector<std::string> change_lines(const std::string& days) {
    std::vector<std::string> lines;
    const size_t list = days.find("<ul class=\"aenderungen\">");
    const size_t end = days.find("</ul>", list);
    for (size_t at = days.find("<li>", list); list != std::string::npos && at < end; at = days.find("<li>", at + 1)) {
        lines.push_back(days.substr(at + 4, days.find("</li>", at) - at - 4));
    }
    return lines;
}

class WeeklyRound : public E2eTest {};

TEST_F(WeeklyRound, WhatChangedSinceTheLastRunIsToldOnce) {
    set_environment("SOURCE_DATE_EPOCH", "1754049600");  // Fr, 01.08.2025 14:00
    std::vector<std::string> files;
    for (const SampleCalendar& sample : k_sample_calendars) {
        copy_example(sample.file, sample.file);
        files.push_back(sample.file);
    }
    ASSERT_EQ(0, run(files).exit_status);

    // A week later: the league moved, added and called off matches; one team's file is not downloaded.
    const std::string first = files[0];
    std::string herren1 = replaced(read_file(first), "20250913T193000", "20250914T193000");
    herren1 = replaced(herren1, "UID:spiel-4102-2025-2026@liga.example.org", "UID:spiel-4102-2025-2026@liga.example.org\nSTATUS:CANCELLED");
    write_file(first, herren1);
    const std::string herren2 = read_file(files[1]);
    const size_t gone = herren2.find("BEGIN:VEVENT", herren2.find("UID:spiel-5203"));
    const size_t gone_from = herren2.rfind("BEGIN:VEVENT", gone - 1);
    write_file(files[1], herren2.substr(0, gone_from) + herren2.substr(gone));
    write_file(files[2], replaced(read_file(files[2]), "END:VCALENDAR",
                                  "BEGIN:VEVENT\nUID:spiel-3299-2025-2026@liga.example.org\n"
                                  "DTSTART;TZID=Europe/Berlin:20251022T193000\nSUMMARY:TuS " + k_lindenbrueck +
                                      " 3 - SV Neudorf 1\nLOCATION:Am Sportpark 3, 35999 " + k_lindenbrueck +
                                      ", Gro\xC3\x9Fsporthalle " + k_lindenbrueck +
                                      "\nDESCRIPTION:Spiel 3299, Staffel 7, Kreisklasse B, Spieltag 9\nEND:VEVENT\nEND:VCALENDAR"));
    files.erase(files.begin() + 4);
    set_environment("SOURCE_DATE_EPOCH", "1754654400");  // Fr, 08.08.2025 14:00
    const ProgramRun second = run(files);
    EXPECT_EQ(0, second.exit_status);
    EXPECT_EQ(complete_run(files, k_season,
                           {"TuS " + k_lindenbrueck + " 1 (Bezirksklasse Nord): 21 Spiele, 1 abgesagt\n",
                            "TuS " + k_lindenbrueck + " 2 (Kreisliga A): 17 Spiele\n",
                            "TuS " + k_lindenbrueck + " 3 (Kreisklasse B): 17 Spiele\n", k_sample_calendars[3].line,
                            k_sample_calendars[5].line},
                           "JSG " + k_lindenbrueck + " 2 (U19 Kreisliga) fehlt in diesem Lauf\n" +
                               changes_since(1, 1, 2, "Fr, 01.08.2025")),
              second.output);

    const std::string days = read_file(k_days);
    EXPECT_NE(std::string::npos, days.find("\xC3\x84nderungen seit dem Fr, 01.08.2025"));
    EXPECT_EQ((std::vector<std::string>{
                  "verlegt: TuS " + k_lindenbrueck + " 1 (Bezirksklasse Nord) gegen SG Oberhain 1: Sa, 13.09.2025 19:30, " +
                      k_lindenbrueck + " \xE2\x86\x92 So, 14.09.2025 19:30, " + k_lindenbrueck,
                  "abgesagt: TuS " + k_lindenbrueck + " 1 (Bezirksklasse Nord) gegen TV Talheim 1: Sa, 20.09.2025 19:00, Gymn. Talheim",
                  "abgesagt: TuS " + k_lindenbrueck + " 2 (Kreisliga A) gegen HSG Waldfeld-Ostrach 2: So, 28.09.2025 18:00, Sport und Kulturhalle Waldfeld",
                  "neu: TuS " + k_lindenbrueck + " 3 (Kreisklasse B) gegen SV Neudorf 1: Mi, 22.10.2025 19:30, " + k_lindenbrueck,
              }),
              change_lines(days));
    EXPECT_EQ(2u, count_of(days, "<span class=\"absage\">abgesagt</span>"));

    // Members' phones: the called-off matches stay, cancelled, and every changed match steps its SEQUENCE.
    const std::string calendar = read_file(k_ics);
    EXPECT_EQ(2u, count_of(calendar, "STATUS:CANCELLED"));
    EXPECT_NE(std::string::npos, calendar.find("SUMMARY:Abgesagt: TV Talheim 1 - TuS " + k_lindenbrueck));
    EXPECT_NE(std::string::npos, calendar.find("SUMMARY:Abgesagt: HSG Waldfeld-Ostrach 2 - TuS " + k_lindenbrueck + " 2"));
    EXPECT_EQ(3u, count_of(calendar, "SEQUENCE:1"));
    EXPECT_NE(std::string::npos, calendar.find("SEQUENCE:1\r\nDTSTART;TZID=Europe/Berlin:20250914T193000"));
    EXPECT_EQ(0u, count_of(calendar, "JSG " + k_lindenbrueck + " 2"));

    // The same downloads again: nothing new, and the called-off matches are carried on unchanged.
    const ProgramRun third = run(files);
    EXPECT_NE(std::string::npos, third.output.find(changes_since(0, 0, 0, "Fr, 08.08.2025")));
    EXPECT_NE(std::string::npos, read_file(k_days).find("Keine \xC3\x84nderungen."));
    EXPECT_EQ(masked_stamps(calendar), masked_stamps(read_file(k_ics)));
}

}  // namespace
