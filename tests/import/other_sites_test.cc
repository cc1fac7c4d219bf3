// The team calendars of other league sites, made up in the style of each (examples/
// andere-seiten): a table-tennis site in UTC, a handball site with results, a derby, a
// start not yet fixed and Roman team numbers, a handball youth league, a football feed
// with a called-off match (a row marked so), a youth league named by a description of one line. Imported
// together as one run, every row written out by hand.
// And a file of the league site's own layout in which events moved their properties.
#include "import/calendar_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calendar_texts.h"
#include "file_text.h"
#include "import_run.h"
#include "match_rows.h"
#include "temp_folder.h"

namespace {

const std::string k_folder = TERMARIUM_EXAMPLES_DIR "/andere-seiten/";

class OtherSites : public ImportRun {
protected:
    // Compares the rows from first on with the expected ones, and the separator behind them.
    void expect_rows(int first, const std::vector<RowSpec>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(same_row(state->match_table[first + static_cast<int>(i)], rows[i])) << "row " << first + i;
        }
    }
};

const std::string k_u = "\xC3\x9C";  // "Ü"
const std::string k_ue = "\xC3\xBC";  // "ü"

// A youth team's calendar whose description is the league alone, in one line.
const std::string k_one_line_league =
    "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Jugendliga//Spielplan//DE\n"
    "BEGIN:VEVENT\nUID:j-1@jugendliga.example\nDTSTART:20250920T080000Z\n"
    "SUMMARY:TSV Musterstadt 2 - SV Hohenfels\nLOCATION:Sporthalle Musterstadt\nDESCRIPTION:Kreisklasse 2\nEND:VEVENT\n"
    "BEGIN:VEVENT\nUID:j-2@jugendliga.example\nDTSTART:20251004T080000Z\n"
    "SUMMARY:FC Rabenau - TSV Musterstadt 2\nLOCATION:Waldstadion\nDESCRIPTION:Kreisklasse 2\nEND:VEVENT\n"
    "END:VCALENDAR\n";

TEST_F(OtherSites, FiveSitesInOneRun) {
    ASSERT_EQ(ReadResult::ok, import({file_text(k_folder + "Tischtennis_2025-2026_Herren2.ics"),
                                      file_text(k_folder + "Handball_2026-2027_Frauen3.ics"),
                                      file_text(k_folder + "Handball_2026-2027_mC1.ics"),
                                      file_text(k_folder + "Fussball_2025-2026_Herren1.ics"), k_one_line_league}));
    EXPECT_EQ("TuS Lindenbr" + k_ue + "ck 2 (Bezirksliga Nord): 6 Spiele\n"
              "TUS LINDENBR" + k_u + "CK III (Landesliga Frauen): 5 Spiele\n"
              "TUS LINDENBR" + k_u + "CK (Regionsoberliga m" + "\xC3\xA4" + "nnliche C): 2 Spiele\n"
              "TuS Lindenbr" + k_ue + "ck (Kreispokal): 4 Spiele, 1 abgesagt\n"
              "TSV Musterstadt 2 (Kreisklasse 2): 2 Spiele\n",
              printed);
    // Table tennis: UTC shown as German time either side of both clock changes and over
    // the year's end; the league from the summary; the hall, or the town where the hall
    // is just "Turnhalle".
    const std::string tt = "Bezirksliga Nord";
    const std::string town = "Lindenbr" + k_ue + "ck";
    expect_rows(1, {
        {"20250922", "Mo", "2000", "Stadthalle Rabenau", 0, '2', tt, "TTC Rabenau 3"},
        {"20251025", "Sa", "1930", town, 1, '2', tt, "SV Hohenfels 1"},
        {"20251026", "So", "1000", "GS Bergstadt", 0, '2', tt, "TSV Bergstadt 2"},
        {"20260101", "Do", "0030", town, 1, '2', tt, "TV Eichenrode 1"},
        {"20260328", "Sa", "1930", "Gymn. Talheim", 0, '2', tt, "TV Talheim 1"},
        {"20260329", "So", "1100", town, 1, '2', tt, "SC Steinau 2"},
    });
    // Handball: an opponent of 32 bytes in the first match, results taken off, the third
    // team by its Roman number, a derby against the club's fourth team without a
    // location, a start not yet fixed.
    const std::string hb = "Landesliga Frauen";
    const std::string hall = "KREISSPORTHALLE LINDENBR" + k_u + "CK";
    expect_rows(8, {
        {"20260912", "Sa", "1930", "SPORTHALLE WALDFELD", 0, '3', hb, "HSG WALDFELD-OSTRACH-M" + k_u + "HLTAL II"},
        {"20260920", "So", "1700", hall, 1, '3', hb, "TV EICHENRODE"},
        {"20261003", "Sa", "1800", "", 0, '3', hb, "TUS LINDENBR" + k_u + "CK IV"},
        {"20270123", "Sa", "----", hall, 1, '3', hb, "SG STEINAU/BRUNNENTAL"},
        {"20270206", "Sa", "1900", "SPORTHALLE DER GRUNDSCHULE BERGSTADT", 0, '3', hb, "TSV BERGSTADT"},
    });
    const std::string youth = "Regionsoberliga m\xC3\xA4nnliche C";
    expect_rows(14, {
        {"20260919", "Sa", "1100", hall, 1, '1', youth, "JSG TALHEIM/EICHENRODE"},
        {"20261024", "Sa", "1400", "STADTHALLE RABENAU", 0, '1', youth, "HSG RABENAU"},
    });
    // Football: UTC, competition and league behind commas, the called-off match left out.
    const std::string park = "Sportpark Lindenbr" + k_ue + "ck";
    expect_rows(17, {
        {"20250817", "So", "1500", park, 1, '1', "Kreisklasse 5", "SV Hohenfels"},
        {"20250824", "So", "1500", "Waldstadion", 0, '1', "Kreisklasse 5", "FC Rabenau"},
        {"20250907", "So", "1500", "Sportplatz Steinau", 0, '1', "Kreisklasse 5", "SG Steinau/Brunnental"},
        {"20251102", "So", "1400", park, 1, '1', "Kreisklasse 5", "TSV Bergstadt"},
        {"20251119", "Mi", "1930", park, 1, '1', "Kreispokal", "TV Talheim"},
    });
    // The league from a description of one line.
    EXPECT_TRUE(state->match_details[19].cancelled);
    EXPECT_FALSE(state->match_details[18].cancelled);
    expect_rows(23, {
        {"20250920", "Sa", "1000", "Musterstadt", 1, '2', "Kreisklasse 2", "SV Hohenfels"},
        {"20251004", "Sa", "1000", "Waldstadion", 0, '2', "Kreisklasse 2", "FC Rabenau"},
    });
    for (int separator : {0, 7, 13, 16, 22}) EXPECT_EQ(' ', state->match_table[separator].day[0]) << separator;
    EXPECT_EQ(25, state->current_row);
    EXPECT_TRUE(is_zero_row(state->match_table[25]));
}

// A calendar of the league site's own layout whose events moved a property: a line
// added before the start, the location ahead of the summary. Each gives the row it gave
// in the league site's order.
TEST_F(OtherSites, EventsInAnotherOrderGiveTheSameRows) {
    std::vector<EventSpec> events(3);
    events[0].summary = "TSG Musterfeld 2 - SV Nord 1";
    events[2].summary = "SG Ost 1 - TSG Musterfeld 2";
    events[2].start = "20251011T170000";
    std::string text = calendar_text(events);
    ASSERT_EQ(ReadResult::ok, import({text}));
    const std::string unmoved = printed;
    MatchRecord rows[3];
    for (int i = 0; i < 3; ++i) rows[i] = state->match_table[1 + i];

    const size_t second = text.find("UID:", text.find("UID:") + 1);
    text.insert(text.find('\n', second) + 1, "SEQUENCE:2\n");
    const size_t third = text.find("UID:", second + 1);
    const size_t summary = text.find("SUMMARY:", third);
    const std::string summary_line = text.substr(summary, text.find('\n', summary) + 1 - summary);
    text.erase(summary, summary_line.size());
    const size_t location = text.find("LOCATION:", third);
    text.insert(text.find('\n', location) + 1, summary_line);

    TearDown();
    reset_run_state(*state);
    ASSERT_EQ(ReadResult::ok, import({text}));
    EXPECT_EQ(unmoved, printed);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(0, std::memcmp(&rows[i], &state->match_table[1 + i], sizeof rows[i]))
            << "row " << 1 + i << ":\n  " << describe_row(state->match_table[1 + i]) << "\n  " << describe_row(rows[i]);
    }
}

// The calendar layouts of other league systems and of clubs: one made-up file each, read
// alone, its console line and every row compared.
struct LayoutCase {
    const char* name;
    std::string calendar;
    std::string line;
    std::vector<RowSpec> rows;
};

// A calendar of the given lines between the calendar's first and last line.
std::string calendar_of(const std::string& lines) {
    return with_crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Verband//Test//DE\n" + lines + "END:VCALENDAR\n");
}

// Germany's zone as the files define it, before or after their events.
const std::string k_berlin_zone =
    "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\nBEGIN:DAYLIGHT\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\n"
    "DTSTART:19810329T020000\nEND:DAYLIGHT\nBEGIN:STANDARD\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\n"
    "DTSTART:19961027T030000\nEND:STANDARD\nEND:VTIMEZONE\n";

const std::string k_town = "Lindenbr" + k_ue + "ck";
// The volleyball summary is exactly 75 bytes long, and a line of one blank follows it.
const std::string k_volleyball_summary =
    "SUMMARY:SVC " + k_town + " III vs. SVC " + k_town + " IV\\, 20.09.2025\\, BK26F-B\n \n";

const LayoutCase k_layouts[] = {
    {"table tennis: the league in front, 'vs' or ' - ', match numbers, labelled lines, not in date order",
     calendar_of(k_berlin_zone +
                 "BEGIN:VEVENT\nSUMMARY:2. Liga Herren Gruppe 4 TTC Rabenau II vs TTC " + k_town + " III (12)\n"
                 "DTSTART;TZID=Europe/Berlin:20251108T193000\nLOCATION:Am Markt 2\\, 35998 Rabenau\n"
                 "DESCRIPTION:Begegnungs-Nr: 12\\nHeim: TTC Rabenau II\\nGast: TTC " + k_town + " III\\n\\n"
                 "Adresse: Am Markt 2\\, 35998 Rabenau\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nSUMMARY:2. Liga Herren Gruppe 4 TTC " + k_town + " III - SV Hohenfels (3)\n"
                 "DTSTART;TZID=Europe/Berlin:20250920T180000\nLOCATION:Schulweg 3\\, 3072 " + k_town + "\n"
                 "DESCRIPTION:Begegnungs-Nr: 3\\nHeim: TTC " + k_town + " III\\nGast: SV Hohenfels\nEND:VEVENT\n"),
     "TTC " + k_town + " III (2. Liga Herren Gruppe 4): 2 Spiele\n",
     {{"20251108", "Sa", "1930", "Rabenau", 0, '3', "2. Liga Herren Gruppe 4", "TTC Rabenau II"},
      {"20250920", "Sa", "1800", k_town, 1, '3', "2. Liga Herren Gruppe 4", "SV Hohenfels"}}},
    {"volleyball export: 'vs.', the date again, no time yet, stray TZID lines, the zone behind the events",
     calendar_of("BEGIN:VEVENT\n" + k_volleyball_summary + "TZID:Europe/Berlin\n"
                 "DTSTART;TZID=Europe/Berlin:20250920T000000\nDTEND;TZID=Europe/Berlin:20250920T020000\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nSUMMARY:TV Eichenrode VS. SVC " + k_town + " III\\, 27.09.25\\, BK26F-B\n"
                 "TZID:Europe/Berlin\nDTSTART;TZID=Europe/Berlin:20250927T150000\n"
                 "LOCATION:Sporthalle Eichenrode\\, Hauptstra\xC3\x9F" "e 9\\, 35996 Eichenrode\nEND:VEVENT\n" +
                 k_berlin_zone),
     "SVC " + k_town + " III (BK26F-B): 2 Spiele\n",
     {{"20250920", "Sa", "----", "", 1, '3', "BK26F-B", "SVC " + k_town + " IV"},
      {"20250927", "Sa", "1500", "Eichenrode", 0, '3', "BK26F-B", "TV Eichenrode"}}},
    {"club-made: a symbol in front, an en dash, times in UTC, 00:00 German time as no time; 'vs.', a duration",
     calendar_of("BEGIN:VEVENT\nSUMMARY:SV " + k_town + " vs. HSG Talheim\n"
                 "DTSTART;TZID=Europe/Berlin:20251004T170000\nDURATION:PT2H\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nSUMMARY:\xE2\x9A\xBD SV " + k_town + " \xE2\x80\x93 FC Rabenau II\n"
                 "DTSTART:20250914T130000Z\nCATEGORIES:Kreisliga A\nEND:VEVENT\n"
                 "BEGIN:VEVENT\nSUMMARY:\xE2\x9A\xBD FC Steinau \xE2\x80\x93 SV " + k_town + "\n"
                 "DTSTART:20251130T230000Z\nCATEGORIES:Kreisliga A\nEND:VEVENT\n"),
     "SV " + k_town + " (Kreisliga A): 3 Spiele\n",
     {{"20251004", "Sa", "1700", "", 1, '1', "", "HSG Talheim"},
      {"20250914", "So", "1500", "", 1, '1', "Kreisliga A", "FC Rabenau II"},
      {"20251201", "Mo", "----", "", 0, '1', "Kreisliga A", "FC Steinau"}}},
};

TEST_F(OtherSites, LeagueSystemsAndClubsLayouts) {
    ASSERT_EQ(0u, k_volleyball_summary.find("SUMMARY:"));
    ASSERT_EQ(75u, k_volleyball_summary.find('\n'));
    for (const LayoutCase& layout : k_layouts) {
        SCOPED_TRACE(layout.name);
        reset_run_state(*state);
        ASSERT_EQ(ReadResult::ok, import({layout.calendar}));
        EXPECT_EQ(layout.line, printed);
        expect_rows(1, layout.rows);
        EXPECT_TRUE(is_zero_row(state->match_table[1 + layout.rows.size()]));
    }
}

}  // namespace
