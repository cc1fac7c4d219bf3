// Calendar file reader: loading (block reads, CR LF, folded lines, the size limit, strict
// UTF-8), the decision for the club's team, the rows and the per-file line of a season,
// and every failure reason at its boundary, as the driver shows it.
#include "core/bounded_text.h"
#include "import/calendar_reader.h"
#include "import/calendar_text.h"

#include <gtest/gtest.h>

#include "file_text.h"
#include "temp_folder.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "calendar_texts.h"
#include "import_run.h"
#include "match_rows.h"

namespace {

constexpr char k_own_team[] = "TSG Musterfeld 2";
constexpr int k_text_limit = k_file_buffer_size - 1;  // longest text that fits with its NUL

class CalendarReader : public ImportRun {
protected:
    // Imports one file.
    ReadResult read(const std::string& bytes) { return import({bytes}); }
    std::string reason(ReadResult result) const {
        char text[k_reason_size];
        describe_read_failure(*state, failed_file, result, text, sizeof text);
        return text;
    }
};

// ---- Loading --------------------------------------------------------------------

TEST_F(CalendarReader, AHugeFileFailsWithoutWritingPastTheBuffer) {
    // The members behind file_buffer would take any byte written past it.
    std::memset(state->candidate_home, 'Z', 3 * k_team_name_size);
    const ReadResult result = read(std::string(2 * k_file_buffer_size, 'x'));
    EXPECT_EQ(ReadResult::file_too_large, result);
    EXPECT_EQ("Datei zu gross (max. " + std::to_string(k_text_limit) + " Zeichen)", reason(result));
    EXPECT_EQ(std::string(3 * k_team_name_size, 'Z'), std::string(state->candidate_home, 3 * k_team_name_size));
    EXPECT_EQ("", printed);
}

TEST_F(CalendarReader, ReadErrorsAndMissingStreams) {
#ifndef _WIN32  // the Windows runtime reads a write-only stream as empty, without an error
    char path[] = "/tmp/termarium-reader-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    state->input_files[0] = std::fopen(path, "w");  // reading a write-only stream fails
    ASSERT_NE(nullptr, state->input_files[0]);
    const ReadResult result = import_open_files(1);
    EXPECT_EQ(ReadResult::read_error, result);
    EXPECT_EQ("Datei konnte nicht gelesen werden", reason(result));
    std::remove(path);
#endif

    TearDown();
    EXPECT_EQ(ReadResult::read_error, import_open_files(1));  // no stream open there
    EXPECT_EQ(0, failed_file);
    EXPECT_EQ(0, state->current_row) << "a file that failed leaves no row";
}

// ---- A season ---------------------------------------------------------------------

struct SeasonMatch {
    const char* date;
    const char* weekday;
    const char* time;
    const char* home;
    const char* away;
    const char* location;
    const char* league;
    const char* venue;
};

constexpr char k_home_hall[] = "Schulstra\xC3\x9F" "e 1, Musterfeld, Turnhalle des Gymnasiums Musterfeld";
constexpr char k_home_venue[] = "Gymn. Musterfeld";
constexpr char k_league[] = "Kreisklasse West";

// TSG Musterfeld 2 plays in all 14 summaries, BC Beispielheim 1 in two of them.
const SeasonMatch k_season[] = {
    {"20250913", "Sa", "1500", "BC Beispielheim 1", k_own_team,
     "Am Sportplatz 4, Beispielheim, Sporthalle der Grundschule Beispielheim", k_league, "GS Beispielheim"},
    {"20250921", "So", "1100", k_own_team, "SV Adler Nordheim 1", k_home_hall, k_league, k_home_venue},
    {"20250927", "Sa", "1600", "HSG Talblick 2", k_own_team, "Talweg 9, Talblick, Gro\xC3\x9F" "sporthalle Talblick",
     k_league, "Talblick"},
    {"20251004", "Sa", "1500", k_own_team, "TV Eichendorf 1", k_home_hall, "Kreispokal", k_home_venue},
    {"20251012", "So", "1700", "SC Rotwald 1", k_own_team, "Waldweg 2, Rotwald, Sporthalle Am Ring 5", k_league,
     "Am Ring 5"},
    {"20251025", "Sa", "1500", k_own_team, "BC Beispielheim 1", k_home_hall, k_league, k_home_venue},
    {"20251108", "Sa", "1430", "SG Hohenberg 1", k_own_team, "Bergstr. 3, Hohenberg, Hauptschule plus Hohenberg",
     k_league, "HS Hohenberg"},
    {"20251115", "Sa", "1500", k_own_team, "TuS Kleinfeld 1", k_home_hall, k_league, k_home_venue},
    {"20251130", "So", "1000", "FC Lindental 1", k_own_team, "Am Bach 1, Lindental, Realschule-Halle", k_league, "RS "},
    {"20251206", "Sa", "1500", k_own_team, "DJK Ostdorf 1", k_home_hall, k_league, k_home_venue},
    {"20260110", "Sa", "1800", "SV Adler Nordheim 1", k_own_team, "Ring 7, Nordheim, Sport- und Kulturhalle Nordheim",
     k_league, "Sport und Kulturhalle Nordheim"},
    {"20260118", "So", "1500", k_own_team, "HSG Talblick 2", k_home_hall, k_league, k_home_venue},
    {"20260207", "Sa", "1600", "TV Eichendorf 1", k_own_team, "Lindenallee 2, Eichendorf, Halle", k_league, ""},
    {"20260228", "Sa", "1500", k_own_team, "SC Rotwald 1", k_home_hall, k_league, k_home_venue},
};
constexpr int k_season_matches = sizeof k_season / sizeof k_season[0];

std::vector<EventSpec> season_events() {
    std::vector<EventSpec> events;
    int number = 101;
    for (const SeasonMatch& m : k_season) {
        EventSpec e;
        e.uid = "match-" + std::to_string(number);
        e.start = std::string(m.date) + "T" + m.time + "00";
        e.summary = std::string(m.home) + " - " + m.away;
        e.location = m.location;
        e.description = "Spiel " + std::to_string(number) + ", Staffel 4, " + m.league + ", Spieltag 1";
        events.push_back(e);
        ++number;
    }
    return events;
}

RowSpec season_row(const SeasonMatch& m) {
    const bool home = std::strcmp(m.home, k_own_team) == 0;
    return {m.date, m.weekday, m.time, m.venue, home ? 1 : 0, '2', m.league, home ? m.away : m.home};
}

TEST_F(CalendarReader, SeasonFileOfFourteenEvents) {
    ASSERT_EQ(ReadResult::ok, read(calendar_text(season_events())));
    EXPECT_EQ(2, state->home_candidate_count);
    EXPECT_EQ(14, state->away_candidate_count);
    EXPECT_STREQ("BC Beispielheim 1", state->candidate_home);
    EXPECT_STREQ(k_own_team, state->own_team);
    for (int i = 0; i < k_season_matches; ++i) {
        EXPECT_TRUE(same_row(state->match_table[1 + i], season_row(k_season[i]))) << "row " << 1 + i;
    }
    EXPECT_EQ(1 + k_season_matches, state->current_row);
    EXPECT_TRUE(is_zero_row(state->match_table[1 + k_season_matches]));
    EXPECT_EQ(' ', state->match_table[0].day[0]);
    EXPECT_EQ("TSG Musterfeld 2 (Kreisklasse West): 14 Spiele\n", printed);
}

TEST_F(CalendarReader, LineEndsFoldsAndAByteOrderMarkGiveTheSameTable) {
    const std::string plain = calendar_text(season_events());
    ASSERT_EQ(ReadResult::ok, read(plain));
    const std::string expected_line = printed;
    auto expected_table = std::make_unique<MatchRecord[]>(k_table_rows);
    std::memcpy(expected_table.get(), state->match_table, sizeof state->match_table);

    const std::pair<const char*, std::string> forms[] = {
        {"CR LF", with_crlf(plain)},
        {"folded with blanks", folded(plain, 30)},
        {"folded with tabs, CR LF", with_crlf(folded(plain, 7, '\t'))},
        {"byte-order mark", "\xEF\xBB\xBF" + plain},
    };
    for (const auto& [name, bytes] : forms) {
        SetUp();
        ASSERT_EQ(ReadResult::ok, read(bytes)) << name;
        EXPECT_EQ(expected_line, printed) << name;
        for (int i = 0; i < k_table_rows; ++i) {
            ASSERT_TRUE(std::memcmp(&expected_table[i], &state->match_table[i], sizeof(MatchRecord)) == 0)
                << name << ", row " << i << ": " << describe_row(state->match_table[i]);
        }
    }
}

TEST_F(CalendarReader, AFileAtTheSizeLimitAfterConversionIsRead) {
    const std::string events = calendar_text(season_events());
    const std::string pad_head = "X-PAD:";
    // Pad the text to exactly the limit, then one byte more; in LF, CR LF and folded form.
    const size_t pad = k_text_limit - events.size() - pad_head.size() - 1;
    const std::string fits = calendar_text(season_events(), pad_head + std::string(pad, 'p') + "\n");
    const std::string too_long = calendar_text(season_events(), pad_head + std::string(pad + 1, 'p') + "\n");
    ASSERT_EQ(static_cast<size_t>(k_text_limit), fits.size());
    const std::pair<std::string, ReadResult> cases[] = {
        {fits, ReadResult::ok},
        {with_crlf(fits), ReadResult::ok},
        {with_crlf(folded(fits, 70)), ReadResult::ok},
        {too_long, ReadResult::file_too_large},
        {with_crlf(too_long), ReadResult::file_too_large},
        {with_crlf(folded(too_long, 70)), ReadResult::file_too_large},
    };
    for (const auto& [bytes, expected] : cases) {
        SetUp();
        EXPECT_EQ(expected, read(bytes)) << bytes.size() << " bytes before conversion";
        if (expected == ReadResult::ok) {
            EXPECT_EQ(static_cast<int32_t>(k_text_limit), state->file_length);
            EXPECT_EQ("TSG Musterfeld 2 (Kreisklasse West): 14 Spiele\n", printed);
        } else {
            EXPECT_EQ("", printed);
        }
    }
}

// ---- Deciding the club's team -----------------------------------------------------

std::vector<EventSpec> events_with_summaries(const std::vector<std::string>& summaries) {
    std::vector<EventSpec> events;
    for (const std::string& summary : summaries) {
        EventSpec e;
        e.summary = summary;
        e.location = "Am Park 1, Musterfeld, Halle Nord";
        e.description = "Spiel 1, Staffel 4, Kreisliga A, Spieltag 1";
        events.push_back(e);
    }
    return events;
}

struct DecisionCase {
    const char* name;
    std::vector<std::string> summaries;
    const char* own_team;
    int home_count;
    int away_count;
};

TEST_F(CalendarReader, DecidesTheClubsTeamByCounting) {
    const DecisionCase cases[] = {
        {"equal counts give the away candidate", {"SV Nord 1 - SV Sued 1"}, "SV Sued 1", 1, 1},
        {"the home candidate when it occurs more often",
         {"TSG Musterfeld 2 - SV Nord 1", "SV Sued 1 - TSG Musterfeld 2"}, "TSG Musterfeld 2", 2, 1},
        {"two blanks before the separator lose one", {"SV Nord 1  - SV Sued 1", "SV Nord 1 - SG Ost"},
         "SV Nord 1", 2, 1},
        {"every blank and tab around a name goes", {"SV Nord 1 \t  - SV Sued 1", "SG Ost - SV Nord 1"},
         "SV Nord 1", 2, 1},
        {"a name counts only as a whole side, not inside a longer one",
         {"TV Oststadt - TV Ost", "SV Nord 1 - TV Oststadt", "TV Oststadt - SG Sued"}, "TV Oststadt", 3, 1},
    };
    for (const DecisionCase& c : cases) {
        SetUp();
        ASSERT_EQ(ReadResult::ok, read(calendar_text(events_with_summaries(c.summaries)))) << c.name;
        EXPECT_STREQ(c.own_team, state->own_team) << c.name;
        EXPECT_EQ(c.home_count, state->home_candidate_count) << c.name;
        EXPECT_EQ(c.away_count, state->away_candidate_count) << c.name;
        EXPECT_EQ(std::string(c.own_team) + " (Kreisliga A): " + std::to_string(c.summaries.size()) + " Spiele\n",
                  printed) << c.name;
    }
}

TEST_F(CalendarReader, ACalledOffMatchStandsAsARowMarkedSo) {
    std::string text = calendar_text(events_with_summaries({"SV Nord 1 - SV Sued 1"}));
    text.insert(text.find("END:VEVENT"), "STATUS:CANCELLED\n");
    ASSERT_EQ(ReadResult::ok, read(text));
    EXPECT_EQ("SV Sued 1 (Kreisliga A): 0 Spiele, 1 abgesagt\n", printed);
    EXPECT_EQ(2, state->current_row);
    EXPECT_TRUE(state->match_details[1].cancelled);
    EXPECT_STREQ("SV Nord 1", state->match_table[1].opponent);
}

// The import of several files: a separator row in front of each, the next file deciding
// its team afresh, and the failed file named by its index.
TEST_F(CalendarReader, FilesFollowEachOtherBehindSeparators) {
    const std::vector<std::string> files = {
        calendar_text(season_events()),
        calendar_text(events_with_summaries({"JSG Ost - TSG Musterfeld U15"})),
        calendar_text(events_with_summaries({"SV Nord 1 - SG Ost"})),
    };
    failed_file = 7;
    ASSERT_EQ(ReadResult::ok, import(files));
    EXPECT_EQ(-1, failed_file);
    EXPECT_EQ("TSG Musterfeld 2 (Kreisklasse West): 14 Spiele\n"
              "TSG Musterfeld U15 (Kreisliga A): 1 Spiele\n"
              "SG Ost (Kreisliga A): 1 Spiele\n",
              printed);
    EXPECT_EQ(' ', state->match_table[0].day[0]);
    EXPECT_TRUE(same_row(state->match_table[14], season_row(k_season[13])));
    EXPECT_EQ(' ', state->match_table[15].day[0]);
    EXPECT_TRUE(same_row(state->match_table[16],
                         {"20250913", "Sa", "1500", "Nord", 0, '5', "Kreisliga A", "JSG Ost"}));
    EXPECT_EQ(' ', state->match_table[17].day[0]);
    EXPECT_TRUE(same_row(state->match_table[18],
                         {"20250913", "Sa", "1500", "Nord", 0, '1', "Kreisliga A", "SV Nord 1"}));
    EXPECT_EQ(19, state->current_row);
    EXPECT_TRUE(is_zero_row(state->match_table[19]));

    // The second of three files broken: the first and the third are read, right behind
    // each other, as if the second had not been there.
    const std::vector<MatchRecord> all_three(state->match_table, state->match_table + 19);
    reset_run_state(*state);
    EXPECT_EQ(ReadResult::no_match_found, import({files[0], "BEGIN:VCALENDAR\nEND:VCALENDAR\n", files[1], files[2]}));
    EXPECT_EQ(1, failed_file);
    EXPECT_EQ(19, state->current_row);
    for (int row = 0; row < 19; ++row) {
        EXPECT_EQ(0, std::memcmp(&state->match_table[row], &all_three[row], sizeof(MatchRecord))) << row;
    }
    EXPECT_EQ("TSG Musterfeld 2 (Kreisklasse West): 14 Spiele\nTSG Musterfeld U15 (Kreisliga A): 1 Spiele\n"
              "SG Ost (Kreisliga A): 1 Spiele\n",
              printed);
}

// ---- Failure reasons --------------------------------------------------------------

struct FailureCase {
    const char* name;
    std::string text;
    const char* reason;
};

std::vector<EventSpec> two_events(const std::function<void(std::vector<EventSpec>&)>& change) {
    std::vector<EventSpec> events = events_with_summaries({"SV Nord 1 - TSG Musterfeld 2", "TSG Musterfeld 2 - SG Ost"});
    change(events);
    return events;
}

std::string two_event_text(const std::function<void(std::vector<EventSpec>&)>& change) {
    return calendar_text(two_events(change));
}

std::string replaced_all(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST_F(CalendarReader, FailureReasonsAtTheirBoundaries) {
    const std::string name29(k_team_name_size - 1, 'n');
    const std::string name51(k_opponent_size - 1, 'o');
    const char* no_match = "keine Spielpaarung gefunden";
    const char* bad_name = "Mannschaftsname leer oder zu lang (max. 29 Zeichen)";
    const std::string base = two_event_text([](auto&) {});
    const FailureCase cases[] = {
        {"valid", base, ""},
        {"summaries with a parameter", replaced_all(base, "SUMMARY:", "SUMMARY;LANGUAGE=de:"), ""},
        {"no summary at all", replaced_all(base, "SUMMARY:", "X-TITLE:"), no_match},
        {"first summary without separator", two_event_text([](auto& e) { e[0].summary = "SV Nord 1 gegen TSG"; }),
         no_match},
        {"separator on a later line only", two_event_text([](auto& e) { e[0].summary = "SV Nord 1"; }), no_match},
        // An opponent in the first summary may be as long as any team name; only the team
        // that the counting makes the club's own must fit 29 bytes.
        {"home candidate of 51 bytes", two_event_text([&](auto& e) { e[0].summary = name51 + " - SG Ost"; }), ""},
        {"home candidate of 52 bytes", two_event_text([&](auto& e) { e[0].summary = name51 + "o - SG Ost"; }),
         bad_name},
        {"away candidate of 51 bytes before trimming",
         two_event_text([&](auto& e) { e[0].summary = "SG Ost - " + name51 + " "; }), ""},
        {"own team of 29 bytes", two_event_text([&](auto& e) {
             e[0].summary = "SG Ost - " + name29;
             e[1].summary = name29 + " - SV Nord";
         }), ""},
        {"own team of 30 bytes", two_event_text([&](auto& e) {
             e[0].summary = "SG Ost - " + name29 + "n";
             e[1].summary = name29 + "n - SV Nord";
         }), bad_name},
        {"empty home candidate", two_event_text([](auto& e) { e[0].summary = " - SG Ost"; }), bad_name},
        {"home candidate of one blank", two_event_text([](auto& e) { e[0].summary = "  - SG Ost"; }), bad_name},
        {"empty away candidate", two_event_text([](auto& e) { e[0].summary = "SG Ost - "; }), bad_name},
        {"second event without a time", two_event_text([](auto& e) { e[1].start = "20250914"; }), ""},
        {"second event's start neither date nor time", two_event_text([](auto& e) { e[1].start = "2025-09-14"; }),
         "Spiel 2 passt nicht zum erwarteten Aufbau"},
        {"first event without a league",
         two_event_text([](auto& e) {
             e[0].description = "Spielnummer: 1";
             e[1].location = "Musterfeld, Halle";  // its commas would otherwise give a league
         }),
         ""},
        {"home name of 52 bytes in the second event",
         two_event_text([](auto& e) { e[1].summary = std::string(52, 'h') + " - TSG Musterfeld 2"; }),
         "Spiel 2 passt nicht zum erwarteten Aufbau"},
        // Events are the BEGIN:VEVENT blocks: no UID line is needed, and "UID:" elsewhere means nothing.
        {"no UID lines", replaced_all(base, "UID:match-117\n", ""), ""},
        {"UID: inside a value", two_event_text([](auto& e) { e[0].description += "\nX-NOTE:UID:nochmal"; }), ""},
        {"an empty name in a later event", two_event_text([](auto& e) { e[1].summary = " - TSG Musterfeld 2"; }),
         "Spiel 2 passt nicht zum erwarteten Aufbau"},
        {"event begin lines in small letters count", replaced_all(base, "BEGIN:VEVENT", "begin:vevent"), ""},
    };
    for (const FailureCase& c : cases) {
        SetUp();
        const ReadResult result = read(c.text);
        EXPECT_EQ(c.reason, reason(result)) << c.name;
        EXPECT_EQ(*c.reason == '\0', result == ReadResult::ok) << c.name;
        if (result != ReadResult::ok) {
            EXPECT_EQ("", printed) << c.name << ": no per-file line after a failure";
        }
    }
}

// As many files as a run takes, each a separator and its matches, fill every usable row;
// the last file's last match lands in the last row a match may use. One match more is
// refused, and the end mark stays.
TEST_F(CalendarReader, TheLastUsableRowIsTheLastMatchRow) {
    // Each file differs from the others by one line, so that none is left out as a copy.
    const auto file_of = [](int matches, int number) {
        return calendar_text(events_with_summaries(std::vector<std::string>(matches, "SV Nord 1 - SG Ost")),
                             "X-DATEI:" + std::to_string(number) + "\n");
    };
    const int rows_per_file = k_max_used_rows / k_max_input_files;
    const int last_file_rows = k_max_used_rows - (k_max_input_files - 1) * rows_per_file;
    std::vector<std::string> files;
    for (int k = 0; k + 1 < k_max_input_files; ++k) files.push_back(file_of(rows_per_file - 1, k));
    files.push_back(file_of(last_file_rows - 1, k_max_input_files - 1));
    ASSERT_EQ(ReadResult::ok, import(files));
    EXPECT_TRUE(same_row(state->match_table[k_max_used_rows - 1],
                         {"20250913", "Sa", "1500", "Nord", 0, '1', "Kreisliga A", "SV Nord 1"}));
    EXPECT_EQ(k_max_used_rows, state->current_row);

    reset_run_state(*state);
    files.back() = file_of(last_file_rows, k_max_input_files - 1);
    const ReadResult result = import(files);
    EXPECT_EQ(ReadResult::too_many_rows, result);
    EXPECT_EQ(k_max_input_files - 1, failed_file);
    EXPECT_EQ("zu viele Spiele (max. " + std::to_string(k_max_used_rows) + " Tabellenzeilen)", reason(result));
    EXPECT_TRUE(is_zero_row(state->match_table[k_max_used_rows])) << "the end mark stays";
}

// League's files: one block per team of the club (the club known before the import), in
// the order the teams first appear, the derby in both; a run holds k_max_blocks blocks and
// fails at the next one; a league's file without a team of the club fails alone.
TEST_F(CalendarReader, LeagueFilesGiveABlockPerClubTeam) {
    const auto league_of = [](int club_teams, int number) {
        std::vector<std::string> summaries = {"TV West 1 - SV Ost 2", "SV Ost 1 - TV West 2", "SV Ost 2 - SV Ost 1"};
        if (club_teams > 2) summaries.push_back("TV West 2 - SV Ost 3");
        return calendar_text(events_with_summaries(summaries), "X-DATEI:" + std::to_string(number) + "\n");
    };
    std::vector<std::string> files;
    for (int k = 0; k < k_max_blocks / 2; ++k) files.push_back(league_of(2, k));
    copy_text(state->club, sizeof state->club, "sv ost");
    ASSERT_EQ(ReadResult::ok, import(files));
    EXPECT_EQ(k_max_blocks, state->block_count);
    const std::string first_lines = "SV Ost 2 (Kreisliga A): 2 Spiele\nSV Ost 1 (Kreisliga A): 2 Spiele\n";
    EXPECT_EQ(first_lines, printed.substr(0, first_lines.size()));
    // Separator, TV West 1 - SV Ost 2, the derby; separator, SV Ost 1 - TV West 2, the derby.
    EXPECT_EQ(' ', state->match_table[3].day[0]);
    EXPECT_TRUE(same_row(state->match_table[2], {"20250913", "Sa", "1500", "Nord", 1, '2', "Kreisliga A", "SV Ost 1"}));
    EXPECT_TRUE(same_row(state->match_table[5], {"20250913", "Sa", "1500", "Nord", 0, '1', "Kreisliga A", "SV Ost 2"}));
    EXPECT_STREQ("SV Ost", state->club);

    reset_run_state(*state);
    copy_text(state->club, sizeof state->club, "SV Ost");
    files.back() = league_of(3, 99);
    EXPECT_EQ(ReadResult::too_many_teams, import(files));
    EXPECT_EQ(k_max_blocks / 2 - 1, failed_file);

    reset_run_state(*state);
    copy_text(state->club, sizeof state->club, "FC Nord");
    EXPECT_EQ(ReadResult::no_club_team, import({league_of(2, 0)}));
    reset_run_state(*state);
    EXPECT_EQ(ReadResult::ok, import({league_of(2, 0)}));
    EXPECT_TRUE(league_files_waiting(*state)) << "no club known: the file waits for one";
}

TEST_F(CalendarReader, DescribeStaysWithinTheGivenRoom) {
    char text[8] = "xxxxxxx";
    describe_read_failure(*state, 0, ReadResult::ok, text, sizeof text);
    EXPECT_STREQ("", text);
    describe_read_failure(*state, 0, ReadResult::not_utf8, text, sizeof text);
    EXPECT_STREQ("Datei i", text);
}

}  // namespace
