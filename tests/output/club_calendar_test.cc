// The club calendar writer on tables the import could leave: calendar texts with control
// characters, noncharacters and line breaks, rows whose date or time is no real one, the
// derby that two files hold, called-off matches, and a disk that refuses the writes.
#include "output/club_calendar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar_texts.h"
#include "core/bounded_text.h"
#include "sample_tables.h"

namespace {

class ClubCalendarWriter : public ::testing::Test {
protected:
    void SetUp() override {
        reset_run_state(state);
        copy_text(state.season, sizeof state.season, "2025-2026");
        copy_text(state.run_stamp, sizeof state.run_stamp, "20251201T101500Z");
    }
    // A match row of the club's team own_team, the team of the file whose block it is in,
    // with its whole location, both teams named as in the row.
    void put_row(int row, const Match& match, const char* own_team, const char* location) {
        put_match(state, row, match);
        copy_text(state.match_details[row].home, k_opponent_size, match.home ? own_team : match.opponent);
        copy_text(state.match_details[row].away, k_opponent_size, match.home ? match.opponent : own_team);
        copy_text(state.match_details[row].location, k_location_size, location);
    }
    // The calendar's events, from the first BEGIN:VEVENT on, without the calendar's end.
    std::string events() {
        std::FILE* stream = scratch_stream();
        EXPECT_TRUE(write_club_calendar(state, MatchPlan{}, stream));
        const std::string text = stream_text(stream);
        std::fclose(stream);
        const size_t begin = text.find("BEGIN:VEVENT");
        if (begin == std::string::npos) return "";
        return text.substr(begin, text.size() - begin - std::string("END:VCALENDAR\r\n").size());
    }
    RunState state;
};

TEST_F(ClubCalendarWriter, TextsAreCleanedDatesCheckedAndTheDerbyWrittenOnce) {
    copy_text(state.blocks[0].own_team, k_team_name_size, "TuS Lindenbr\xC3\xBC" "ck 1");
    copy_text(state.blocks[1].own_team, k_team_name_size, "TuS Lindenbr\xC3\xBC" "ck 2");
    put_separator(state, 0);
    // A name with a control character and U+FFFF; a location of two lines.
    put_row(1, {"2025-10-04", "Sa", "15:00", "", true, "Kreisliga", '1', "SV \x01Nord\xEF\xBF\xBF 2"},
            "TuS Lindenbr\xC3\xBC" "ck 1", "Halle Nord\nEingang Ost\x7F");
    // No real date (the 31st of February): left out; no real time: a whole day.
    put_row(2, {"2025-02-31", "Mo", "15:00", "", true, "Kreisliga", '1', "SV Ost 1"}, "TuS Lindenbr\xC3\xBC" "ck 1",
            "");
    put_row(3, {"2025-11-08", "Sa", "25:00", "", false, "Kreisliga", '1', "SV West 1"},
            "TuS Lindenbr\xC3\xBC" "ck 1", "");
    // The derby in the first team's file and, away, in the second team's.
    put_row(4, {"2025-11-15", "Sa", "18:00", "", true, "Kreisliga", '1', "TuS Lindenbr\xC3\xBC" "ck 2"},
            "TuS Lindenbr\xC3\xBC" "ck 1", "Sporthalle");
    put_separator(state, 5);
    put_row(6, {"2025-11-15", "Sa", "18:00", "", false, "Kreisliga", '2', "TuS Lindenbr\xC3\xBC" "ck 1"},
            "TuS Lindenbr\xC3\xBC" "ck 2", "Sporthalle");

    const std::string written = events();
    EXPECT_EQ(std::string::npos, written.find("SV Ost 1")) << "the row without a real date is left out";
    EXPECT_NE(std::string::npos,
              written.find("\r\nSUMMARY:TuS Lindenbr\xC3\xBC" "ck 1 - SV Nord 2\r\nLOCATION:Halle Nord\\nEingang Ost\r\n"))
        << written;
    EXPECT_NE(std::string::npos, written.find("\r\nDTSTART;VALUE=DATE:20251108\r\nDURATION:P1D\r\n"
                                              "SUMMARY:SV West 1 - TuS Lindenbr\xC3\xBC" "ck 1\r\n"));
    EXPECT_NE(std::string::npos, written.find("\r\nDTSTAMP:20251201T101500Z\r\n"));
    EXPECT_EQ(1u, count_of(written, "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 1 - TuS Lindenbr\xC3\xBC" "ck 2\r\n"));
    EXPECT_EQ(3u, count_of(written, "BEGIN:VEVENT"));
}

// A U19 and a U15 team both "JSG 1" name their league; a team beside its old download is one.
TEST_F(ClubCalendarWriter, SameNamedTeamsNameTheirLeagueAndMatchesLastByCategory) {
    const char* names[] = {"JSG 1", "JSG 1", "TuS 1", "TuS 1"};
    const Match matches[] = {{"2025-10-04", "Sa", "10:00", "", true, "U19 Kreisliga", '1', "TSV X 1"},
                             {"2025-10-05", "So", "12:00", "", false, "U15 Kreisliga", '1', "TSV Y 1"},
                             {"2025-10-11", "Sa", "15:00", "", true, "Kreisliga", '1', "TSV Z 1"},
                             {"2025-10-18", "Sa", "15:00", "", true, "Kreisliga", '1', "TSV W 1"}};
    state.block_count = 4;
    state.blocks[3].also_in = 3;
    for (int block = 0; block < 4; ++block) {
        copy_text(state.blocks[block].own_team, k_team_name_size, names[block]);
        put_separator(state, 2 * block);
        put_row(2 * block + 1, matches[block], names[block], "Halle");
        state.match_details[2 * block + 1].block = static_cast<uint8_t>(block);
    }
    const std::string written = events();
    EXPECT_EQ((std::vector<std::string>{"SUMMARY:JSG 1 (U19 Kreisliga) - TSV X 1", "SUMMARY:TSV Y 1 - JSG 1 (U15 Kreisliga)",
                                        "SUMMARY:TuS 1 - TSV Z 1", "SUMMARY:TuS 1 - TSV W 1"}),
              property_lines(written, "SUMMARY"));
    EXPECT_EQ((std::vector<std::string>{"DURATION:PT1H15M", "DURATION:PT1H", "DURATION:PT1H30M", "DURATION:PT1H30M"}),
              property_lines(written, "DURATION"));
}

// An event of called-off rows only is cancelled and says so; a row that takes place beside a
// called-off one of its UID (moved in a newer download) keeps the event live at its date.
TEST_F(ClubCalendarWriter, CalledOffMatchesAreCancelledEventsUnlessARowTakesPlace) {
    const char* days[] = {"", "2025-10-04", "2025-10-11", "2025-10-12"};
    for (int row = 1; row <= 3; ++row) {
        put_row(row, {days[row], "Sa", "15:00", "", true, "Kreisliga", '1', row == 2 ? "SV Ost 1" : "SV Nord 1"}, "TuS 1", "");
        copy_text(state.match_details[row].uid, k_uid_size, row == 2 ? "ost" : "nord");
        state.match_details[row].sequence = 3 - row;  // the called-off row's 2 is the event's highest
        state.match_details[row].cancelled = row < 3;
    }
    EXPECT_EQ("BEGIN:VEVENT\r\nUID:nord@termarium\r\nDTSTAMP:20251201T101500Z\r\nSEQUENCE:2\r\n"
              "DTSTART;TZID=Europe/Berlin:20251012T150000\r\nDURATION:PT1H30M\r\nSUMMARY:TuS 1 - SV Nord 1\r\n"
              "CATEGORIES:Kreisliga\r\nDESCRIPTION:\\, Kreisliga\r\nX-TERMARIUM-VENUE:\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:ost@termarium\r\nDTSTAMP:20251201T101500Z\r\nSEQUENCE:1\r\n"
              "DTSTART;TZID=Europe/Berlin:20251011T150000\r\nDURATION:PT1H30M\r\nSUMMARY:Abgesagt: TuS 1 - SV Ost 1\r\n"
              "STATUS:CANCELLED\r\nCATEGORIES:Kreisliga\r\nDESCRIPTION:\\, Kreisliga\r\nX-TERMARIUM-VENUE:\r\nEND:VEVENT\r\n",
              events());
}

TEST_F(ClubCalendarWriter, AFullDiskIsReported) {
    put_separator(state, 0);
    put_row(1, {"2025-10-04", "Sa", "15:00", "", true, "Kreisliga", '1', "SV Nord 1"}, "TuS 1", "Halle");
    std::FILE* full = full_disk_stream();
    if (full == nullptr) GTEST_SKIP() << "no /dev/full on this system";
    EXPECT_FALSE(write_club_calendar(state, MatchPlan{}, full));
    std::fclose(full);
}

}  // namespace
