// The comparison with the last run through the club calendar as it is written and read
// back: moved, new, called off (marked, or gone before its date), played, a team missing,
// a match without a UID known by its teams, and the SEQUENCE a phone needs to update.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_texts.h"
#include "core/bounded_text.h"
#include "import/earlier_calendar.h"
#include "import/run_changes.h"
#include "import_run.h"
#include "output/club_calendar.h"
#include "output/match_plan.h"

namespace {

EventSpec match(const std::string& uid, const std::string& start, const std::string& summary,
                const std::string& league = "Kreisliga A") {
    EventSpec event;
    event.uid = uid;
    event.start = start;
    event.summary = summary;
    event.description = "Spiel 1, Staffel 2, " + league + ", Spieltag 1";
    return event;
}

class RunChanges : public ImportRun {
protected:
    // Imports the files, writes their club calendar into a stream and keeps it for the next run.
    void first_week(const std::vector<std::string>& files) {
        ASSERT_EQ(ReadResult::ok, import(files));
        copy_text(state->run_stamp, sizeof state->run_stamp, "20250801T120000Z");
        copy_text(state->run_time, sizeof state->run_time, "Fr, 01.08.2025 14:00");
        calendar = scratch_stream();
        static MatchPlan plan;
        ASSERT_TRUE(write_club_calendar(*state, plan, calendar));
        std::fflush(calendar);
    }
    // Imports the files afresh and compares them with the first week's calendar at the stamp.
    void next_week(const std::vector<std::string>& files, const char* stamp) {
        reset_run_state(*state);
        ASSERT_EQ(ReadResult::ok, import(files));
        ASSERT_EQ(EarlierRead::done, compare_with_earlier(*state, calendar, stamp));
        std::fclose(calendar);
    }
    // The changes as "kind opponent" lines, in their order.
    std::vector<std::string> changes() const {
        std::vector<std::string> listed;
        const EarlierRun& earlier = state->earlier;
        for (int k = 0; k < earlier.change_count; ++k) {
            const MatchChange& change = earlier.changes[k];
            const char* kind = change.kind == ChangeKind::added ? "neu" : change.kind == ChangeKind::moved ? "verlegt" : "abgesagt";
            const MatchRecord& row =
                change.row >= 0 ? state->match_table[change.row] : earlier.matches[change.earlier].row;
            listed.push_back(std::string(kind) + " " + row.opponent);
        }
        return listed;
    }
    FILE* calendar = nullptr;
};

TEST_F(RunChanges, AWeekOfChangesIsToldOnceEach) {
    const std::string other_team = calendar_text({match("b1", "20250920T110000", "SV Nord 2 - TSV Ost 2", "Kreisklasse")});
    std::vector<EventSpec> week = {
        match("a1", "20250913T150000", "SV Nord 1 - TSV Ost 1"),
        match("a2", "20250920T150000", "TSV West 1 - SV Nord 1"),
        match("a3", "20250927T150000", "SV Nord 1 - FC Sued 1"),
        match("a4", "20250830T150000", "FC Sued 1 - SV Nord 1"),
        match("", "20251004T150000", "SV Nord 1 - TSV West 1"),
    };
    first_week({calendar_text(week), other_team});
    EXPECT_EQ(0, state->earlier.count);

    // Moved a day on, called off, gone before its date, gone after it (played), without a UID as before.
    week[0].start = "20250914T150000";
    std::string second = calendar_text({week[0], week[1], week[4], match("a6", "20251011T150000", "SV Nord 1 - SC Neu 1")});
    second.insert(second.find("END:VEVENT", second.find("UID:a2")), "STATUS:CANCELLED\n");
    next_week({second}, "20250901T120000Z");

    EXPECT_EQ(6, state->earlier.count);
    EXPECT_STREQ("Fr, 01.08.2025", state->earlier.since);
    EXPECT_EQ((std::vector<std::string>{"verlegt TSV Ost 1", "abgesagt TSV West 1", "abgesagt FC Sued 1", "neu SC Neu 1"}),
              changes());
    EXPECT_EQ(1, state->earlier.added);
    EXPECT_EQ(1, state->earlier.moved);
    EXPECT_EQ(2, state->earlier.called_off);
    ASSERT_EQ(1, state->earlier.missing_count);
    EXPECT_STREQ("SV Nord 2", state->earlier.matches[state->earlier.missing[0]].own_team);

    // The moved and the called-off match step their SEQUENCE; the one gone before its date
    // stands as a called-off row of its team behind the rows read; the one without a UID
    // keeps the identity it had.
    EXPECT_EQ(1, state->match_details[1].sequence);
    EXPECT_EQ(1, state->match_details[2].sequence);
    EXPECT_TRUE(state->match_details[2].cancelled);
    EXPECT_EQ(0, state->match_details[3].sequence);
    EXPECT_STRNE("", state->match_details[3].uid);
    const int carried = state->current_row - 1;
    EXPECT_EQ(5, carried);
    EXPECT_TRUE(state->match_details[carried].cancelled);
    EXPECT_EQ(1, state->match_details[carried].sequence);
    EXPECT_STREQ("a3", state->match_details[carried].uid);
    EXPECT_STREQ("FC Sued 1", state->match_table[carried].opponent);
    EXPECT_EQ(0, state->match_details[carried].block);
}

// A file cut short, and one far over the size an earlier club calendar may have, are not read.
TEST_F(RunChanges, ABrokenEarlierCalendarIsNotRead) {
    first_week({calendar_text({match("a1", "20250913T150000", "SV Nord 1 - TSV Ost 1")})});
    const std::string whole = stream_text(calendar);
    std::fclose(calendar);
    FILE* cut = stream_with(whole.substr(0, whole.size() - 20));
    EXPECT_EQ(EarlierRead::unreadable, read_earlier_calendar(*state, cut));
    std::fclose(cut);
    std::string large = whole.substr(0, whole.find("END:VCALENDAR"));
    while (large.size() <= static_cast<size_t>(k_earlier_calendar_limit)) large += "X-NOTIZ:" + std::string(60, 'x') + "\r\n";
    FILE* too_large = stream_with(large + "END:VCALENDAR\r\n");
    EXPECT_EQ(EarlierRead::unreadable, read_earlier_calendar(*state, too_large));
    EXPECT_EQ(0, state->earlier.count);
    std::fclose(too_large);
}

}  // namespace
