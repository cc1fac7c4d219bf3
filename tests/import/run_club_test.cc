// The run's club: the clubs the question lists, the answers that choose one, and the club
// an earlier club calendar names.
#include "import/run_club.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/bounded_text.h"
#include "import_run.h"

namespace {

class RunClub : public ::testing::Test {
protected:
    void SetUp() override { reset_run_state(*state); }
    std::unique_ptr<RunState> state = std::make_unique<RunState>();
};

// Each club once, in the order it first appears, whatever its teams' numbers and letter case.
TEST_F(RunClub, AnswersChooseAListedClub) {
    for (const char* team : {"TV Westfeld II", "USC M\xC3\xBCnster", "tv westfeld III", "USC M\xC3\x9CNSTER 2"}) {
        note_league_club(*state, team);
    }
    ASSERT_EQ(2, state->league_club_count);
    EXPECT_STREQ("USC M\xC3\xBCnster", state->league_clubs[1]);
    struct Answer {
        const char* typed;
        const char* club;  // nullptr: refused
    };
    const Answer answers[] = {{"2", "USC M\xC3\xBCnster"}, {" usc m\xC3\xBCnster \r", "USC M\xC3\xBCnster"},
                              {"1", "TV Westfeld"}, {"3", nullptr}, {"0", nullptr}, {"", nullptr},
                              {"TV Westfeld II", nullptr}, {"Westfeld", nullptr}, {"99999999999999", nullptr}};
    for (const Answer& a : answers) {
        state->club[0] = '\0';
        EXPECT_EQ(a.club != nullptr, choose_club(*state, a.typed)) << a.typed;
        EXPECT_STREQ(a.club != nullptr ? a.club : "", state->club) << a.typed;
    }
}

// The name of an earlier club calendar: the club between title and season, escapes undone;
// a calendar of an earlier version names no club.
TEST_F(RunClub, AnEarlierClubCalendarNamesTheClub) {
    copy_text(state->season, sizeof state->season, "2025-2026");
    const auto club_of = [&](const std::string& name) {
        state->club[0] = '\0';
        FILE* stream = stream_with("BEGIN:VCALENDAR\r\nPRODID:-//Termarium//Termarium 1.0.0//DE\r\nX-WR-CALNAME:" +
                                   name + "\r\nBEGIN:VEVENT\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        const bool found = remembered_club(*state, stream);
        std::fclose(stream);
        return found ? std::string(state->club) : std::string("-");
    };
    EXPECT_EQ("SV Ost 1860", club_of("Spielplan SV Ost 1860 2025-2026"));
    EXPECT_EQ("TuS Nord, S\xC3\xBC" "d", club_of("Spielplan TuS Nord\\, S\xC3\xBC" "d 2025-2026"));
    EXPECT_EQ("VC Rot;Wei\xC3\x9F", club_of("Spielplan VC Rot\\;Wei\xC3\x9F 2024-25"));
    EXPECT_EQ("-", club_of("Spielplan 2025-2026"));
    EXPECT_EQ("-", club_of("Vereinsspiele SV Ost 2025-2026"));
}

}  // namespace
