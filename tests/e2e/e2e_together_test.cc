// End-to-end runs of the program twice at once in one folder, as a double drop or two
// volunteers in a shared folder would start it: the schedules left behind are always a
// whole pair from one run, and no run reports a failure that did not happen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "e2e_harness.h"

namespace {

// Two different teams' files whose names give the same season, so that both runs write
// the same two schedules.
const std::string k_first = k_sample_calendars[0].file;
const std::string k_first_line = k_sample_calendars[0].line;
const std::string k_second = k_sample_calendars[3].file;
const std::string k_second_line = k_sample_calendars[3].line;

class RunsTogether : public E2eTest {
protected:
    // The four outputs of the run in folder, its time stamps and the changes since an earlier run aside.
    std::string outputs_of(const std::string& folder) const {
        return read_file(folder + k_xml) + read_file(folder + k_html) + masked_stamps(read_file(folder + k_ics)) +
               without_changes(read_file(folder + k_days));
    }
};

TEST_F(RunsTogether, EveryPairOfSchedulesIsWholeAndFromOneRun) {
    // Wine starts slowly and its server serialises much of the work: fewer pairs there.
    const int pairs = std::getenv("TERMARIUM_LAUNCHER") != nullptr ? 10 : 200;
    copy_example(k_first, "allein_1/" + k_first);
    copy_example(k_second, "allein_2/" + k_second);
    ASSERT_EQ(0, run({"allein_1/" + k_first}).exit_status);
    ASSERT_EQ(0, run({"allein_2/" + k_second}).exit_status);
    const std::string first_pair = outputs_of("allein_1/");
    const std::string second_pair = outputs_of("allein_2/");
    ASSERT_NE(first_pair, second_pair);

    std::vector<std::vector<std::string>> runs;
    for (int p = 0; p < pairs; ++p) {
        const std::string shared = "geteilt_" + std::to_string(p) + "/";
        copy_example(k_first, shared + k_first);
        copy_example(k_second, shared + k_second);
        runs.push_back({shared + k_first});
        runs.push_back({shared + k_second});
    }
    const std::vector<ProgramRun> results = run_together(runs);

    int from_first = 0;
    for (int p = 0; p < pairs; ++p) {
        SCOPED_TRACE("pair " + std::to_string(p));
        EXPECT_EQ(0, results[2 * p].exit_status);
        // The later of the two compares with the club calendar of the earlier, which holds the other team only.
        const std::string first_alone = complete_run({k_first}, k_season, {k_first_line});
        const std::string first_later = complete_run({k_first}, k_season, {k_first_line},
                                                     "JSG Lindenbrück 1 (U19 Bezirksliga) fehlt in diesem Lauf\n" + changes_since(22, 0, 0));
        EXPECT_TRUE(results[2 * p].output == first_alone || results[2 * p].output == first_later) << results[2 * p].output;
        EXPECT_EQ(0, results[2 * p + 1].exit_status);
        const std::string second_alone = complete_run({k_second}, k_season, {k_second_line});
        const std::string second_later =
            complete_run({k_second}, k_season, {k_second_line},
                         "TuS Lindenbrück 1 (Bezirksklasse Nord) fehlt in diesem Lauf\n" + changes_since(16, 0, 0));
        EXPECT_TRUE(results[2 * p + 1].output == second_alone || results[2 * p + 1].output == second_later)
            << results[2 * p + 1].output;
        const std::string shared = "geteilt_" + std::to_string(p) + "/";
        const std::string left = outputs_of(shared);
        EXPECT_TRUE(left == first_pair || left == second_pair) << "the schedules are mixed or broken";
        from_first += left == first_pair ? 1 : 0;
    }
    std::set<std::string> expected;
    for (const std::string& folder : {std::string("allein_1/"), std::string("allein_2/")}) {
        expected.insert({folder, folder + k_xml, folder + k_html, folder + k_ics, folder + k_days});
    }
    expected.insert({"allein_1/" + k_first, "allein_2/" + k_second});
    for (int p = 0; p < pairs; ++p) {
        const std::string shared = "geteilt_" + std::to_string(p) + "/";
        expected.insert({shared, shared + k_first, shared + k_second, shared + k_xml, shared + k_html, shared + k_ics,
                         shared + k_days});
    }
    EXPECT_EQ(expected, files()) << "a temporary file was left behind";
    std::printf("pairs whose schedules came from the first run: %d of %d\n", from_first, pairs);
}

}  // namespace
