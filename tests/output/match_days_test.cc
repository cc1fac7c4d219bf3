// The match days: the club in the title, the changes since the last run (each kind, a match
// without time or venue, texts to escape) and a called-off match in its week and its hall.
#include "output/match_days.h"

#include <gtest/gtest.h>

#include <string>

#include "sample_tables.h"

namespace {

// The document of the state's table from the first from up to the line that begins with until.
std::string part(RunState& state, const std::string& from, const std::string& until) {
    static MatchPlan plan;
    plan_match_days(state, plan);
    std::FILE* stream = scratch_stream();
    EXPECT_TRUE(write_match_days(state, plan, stream));
    const std::string text = stream_text(stream);
    std::fclose(stream);
    const size_t begin = text.find(from);
    return text.substr(begin, text.find("\n" + until, begin) + 1 - begin);
}

TEST(MatchDays, TheClubTheChangesSinceTheLastRunAndACalledOffMatch) {
    static RunState state;
    reset_run_state(state);
    copy_text(state.club, sizeof state.club, "TuS");
    copy_text(state.season, sizeof state.season, "2025-2026");
    copy_text(state.blocks[0].own_team, k_team_name_size, "TuS 1");
    put_match(state, 1, {"2025-09-14", "So", "19:30", "Gro\xC3\x9Fsporthalle", true, "Bezirksklasse Nord", '1', "SG Oberhain 1"});
    put_match(state, 2, {"2025-09-20", "Sa", "--:--", "", false, "", '1', "TV <Talheim> & 2"});
    put_match(state, 3, {"2025-10-04", "Sa", "17:30", "Halle", true, "Kreisliga A", '1', "TV Talheim 2"});
    copy_text(state.match_details[3].location, k_location_size, "Halle");
    state.match_details[3].cancelled = true;
    EarlierRun& earlier = state.earlier;
    earlier.matches[0] = EarlierMatch{state.match_table[1], {}, "", false};
    copy_text(earlier.matches[0].row.day, sizeof earlier.matches[0].row.day, "13");
    copy_text(earlier.matches[0].row.weekday, sizeof earlier.matches[0].row.weekday, "Sa");
    earlier.matches[1] = EarlierMatch{state.match_table[3], {}, "TuS 2", false};
    earlier.count = 2;
    earlier.changes[0] = MatchChange{ChangeKind::moved, 1, 0};
    earlier.changes[1] = MatchChange{ChangeKind::added, 2, -1};
    earlier.changes[2] = MatchChange{ChangeKind::called_off, -1, 1};  // the earlier match's team
    earlier.change_count = 3;
    earlier.compared = true;
    copy_text(earlier.since, sizeof earlier.since, "Di, 09.12.2025");
    const std::string heading = "<h2 id=\"aenderungen\">\xC3\x84nderungen seit dem Di, 09.12.2025</h2>\n";
    EXPECT_EQ("<h1>Spieltage TuS 2025-2026</h1>\n<p class=\"stand\">Stand: </p>\n<section aria-labelledby=\"aenderungen\">\n" +
                  heading + "<ul class=\"aenderungen\">\n"
                  "<li>verlegt: TuS 1 (Bezirksklasse Nord) gegen SG Oberhain 1: Sa, 13.09.2025 19:30, Gro\xC3\x9Fsporthalle"
                  " \xE2\x86\x92 So, 14.09.2025 19:30, Gro\xC3\x9Fsporthalle</li>\n"
                  "<li>neu: TuS 1 gegen TV &lt;Talheim&gt; &amp; 2: Sa, 20.09.2025</li>\n"
                  "<li>abgesagt: TuS 2 (Kreisliga A) gegen TV Talheim 2: Sa, 04.10.2025 17:30, Halle</li>\n</ul>\n</section>\n",
              part(state, "<h1>", "<p>Alle"));
    // Struck through in its week (in print too) and said in words; in its hall the slot is free.
    const std::string text = part(state, "<style>", "</body>");
    EXPECT_NE(std::string::npos, text.find("\ntr.abgesagt td { text-decoration: line-through; }\n"));
    EXPECT_NE(std::string::npos, text.find("\n<tr class=\"heim abgesagt\"><td><span class=\"tag\">Sa 04.10.</span> <span "
                                           "class=\"uhr\">17:30</span> <span class=\"absage\">abgesagt</span></td>"));
    EXPECT_NE(std::string::npos, text.find("\n<tr class=\"abgesagt\"><td><span class=\"tag\">Sa 04.10.2025</span> <span "
                                           "class=\"uhr\">17:30</span> <span class=\"absage\">abgesagt \xE2\x80\x93 Halle "
                                           "frei</span></td><td></td><td>"));
    earlier.change_count = 0;
    state.club[0] = '\0';
    EXPECT_EQ("<title>Spieltage 2025-2026</title>\n", part(state, "<title>", "<style>"));
    EXPECT_EQ(heading + "<p>Keine \xC3\x84nderungen.</p>\n</section>\n", part(state, "<h2 id=\"aenderungen\">", "<p>Alle"));
}

}  // namespace
