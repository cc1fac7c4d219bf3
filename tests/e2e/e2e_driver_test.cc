// End-to-end runs of the built program: argument checks, the listing, the season text,
// where the schedules land and the failure messages. Every case compares the whole
// standard output, the exit status and the files left in the test folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <ostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calendar_texts.h"
#include "console_texts.h"
#include "core/run_state.h"
#include "e2e_harness.h"
#include "file_text.h"

namespace {

// The present time in UTC as the calendar stamps it, "YYYYMMDDTHHMMSSZ".
std::string utc_stamp() {
    const std::time_t now = std::time(nullptr);
    char text[17];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", std::gmtime(&now));
    return text;
}

const std::string k_older_schedule = "<alte Tabelle/>\n";

// A complete run over the cup-match files of the teams 1, 2, ... in order.
std::string cup_run(const std::vector<std::string>& names, const std::string& season) {
    return complete_run(names, season, cup_match_lines(names.size()));
}

// A calendar file name of the given length in bytes; its season text is 2025-2026.
std::string calendar_name(size_t length) {
    const std::string head = "Spielplan_2025-2026_";
    const std::string tail = ".ics";
    return head + std::string(length - head.size() - tail.size(), 'x') + tail;
}

using DriverBeforeImport = E2eTest;  // cases that end before any file is read
using DriverRun = E2eTest;           // cases that read files: each prints the import's per-file line
// The bundled sample calendars.
class SampleRun : public E2eTest {
protected:
    // Copies the samples into the test folder; returns their names in drop order.
    std::vector<std::string> copy_samples() const {
        std::vector<std::string> samples;
        for (const SampleCalendar& sample : k_sample_calendars) {
            copy_example(sample.file, sample.file);
            samples.push_back(sample.file);
        }
        return samples;
    }
};

// --- Cases that end before the import -------------------------------------------------

TEST_F(DriverBeforeImport, NoArgumentPrintsUsageAndBanner) {
    ProgramRun result = run({});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(k_usage + k_banner, result.output);
    EXPECT_EQ(std::set<std::string>{}, files());
}

// Asked for help or the version from a terminal, the program answers and ends at once;
// beside anything else, each is taken for a file's name as every argument is.
TEST_F(DriverBeforeImport, HelpAndVersionAloneAnswerWithoutWaiting) {
    ProgramRun help = run_without_enter({"--help"});
    EXPECT_EQ(0, help.exit_status);
    EXPECT_EQ(k_usage, help.output);
    ProgramRun version = run_without_enter({"--version"});
    EXPECT_EQ(0, version.exit_status);
    EXPECT_EQ("Termarium " TERMARIUM_VERSION "\n", version.output);
    ProgramRun both = run({"--help", "--version"});
    EXPECT_EQ(1, both.exit_status);
    EXPECT_EQ(reading(2) + listed({"--help", "--version"}) + k_lines_apart + open_failed("--help") +
                  open_failed("--version") + nothing_written(2, 2),
              both.output);
    EXPECT_EQ(std::set<std::string>{}, files());
}

TEST_F(DriverBeforeImport, FortyOneFilesAreTooMany) {
    std::vector<std::string> arguments;
    for (int i = 1; i <= k_max_input_files + 1; ++i) {
        arguments.push_back("Spielplan_2025-2026_Team" + std::to_string(i) + ".ics");
        write_file(arguments.back(), k_cup_match);
    }
    std::set<std::string> before = files();
    ProgramRun result = run(arguments);
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(k_too_many_files + k_banner, result.output);
    EXPECT_EQ(before, files());
}

TEST_F(DriverBeforeImport, MissingInputLeavesTheOlderSchedulesUntouched) {
    write_file("Spielplan_2025-2026_Herren1.ics", k_cup_match);
    write_file("Termarium_2025-2026.xml", k_older_schedule);
    write_file("Termarium_2025-2026.html", k_older_schedule);
    std::set<std::string> before = files();
    ProgramRun result = run({"Spielplan_2025-2026_Herren1.ics", "fehlt/Spielplan_2025-2026_Herren2.ics"});
    EXPECT_EQ(1, result.exit_status);
    EXPECT_EQ(reading(2) + listed({"Spielplan_2025-2026_Herren1.ics", "Spielplan_2025-2026_Herren2.ics"}) +
                  season_line("2025-2026") + k_cup_match_line + open_failed("Spielplan_2025-2026_Herren2.ics") +
                  nothing_written(1, 2),
              result.output);
    EXPECT_EQ(before, files());  // no output and no temporary file appeared
    EXPECT_EQ(k_older_schedule, read_file("Termarium_2025-2026.xml"));
    EXPECT_EQ(k_older_schedule, read_file("Termarium_2025-2026.html"));
}

// An argument of 200 bytes or a base name of 150 is refused before it is opened; the
// file exists, so only the length can be the reason.
TEST_F(DriverBeforeImport, OverlongArgumentOrNameIsRefused) {
    const std::string folder_part = std::string(100, 'd') + "/";
    const std::string long_path = folder_part + calendar_name(k_path_size - folder_part.size());
    const std::string long_name = calendar_name(k_display_name_size);
    for (const std::string& argument : {long_path, long_name}) {
        SCOPED_TRACE(argument.size());
        write_file(argument, k_cup_match);
        std::set<std::string> before = files();
        ProgramRun result = run({argument});
        EXPECT_EQ(1, result.exit_status);
        // The listing shows the name as far as it fits; the message the path's beginning.
        const std::string name = argument.substr(argument.rfind('/') + 1).substr(0, k_display_name_size - 1);
        EXPECT_EQ(reading(1) + listed({name}) + k_lines_apart + k_path_too_long +
                      program_argument(argument).substr(0, k_path_shown) + "\n" + nothing_written(1, 1),
                  result.output);
        EXPECT_EQ(before, files());
    }
}

// --- Cases that read files (they need the import's per-file line) ----------------------

TEST_F(DriverRun, SingleFileByAbsolutePathWritesNextToIt) {
    write_file("verein/plaene/Spielplan_2025-2026_Herren1.ics", k_cup_match);
    ProgramRun result = run({path("verein/plaene/Spielplan_2025-2026_Herren1.ics")});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(cup_run({"Spielplan_2025-2026_Herren1.ics"}, "2025-2026"), result.output);
    EXPECT_EQ((std::set<std::string>{"verein/", "verein/plaene/", "verein/plaene/Spielplan_2025-2026_Herren1.ics",
                                     "verein/plaene/Termarium_2025-2026.html",
                                     "verein/plaene/Termarium_2025-2026.xml", "verein/plaene/Termarium_2025-2026.ics",
                                     "verein/plaene/" + k_days}),
              files());
}

TEST_F(DriverRun, ThreeFoldersWriteIntoTheFirstOneWithItsSeason) {
    const std::vector<std::string> inputs = {"erste/Spielplan_2025-2026_U19-1.ics",
                                             "zweite/Spielplan_2024-2025_Herren2.ics",
                                             "dritte/tief/Plan_2019.ics"};
    for (size_t i = 0; i < inputs.size(); ++i) write_file(inputs[i], cup_match_of(static_cast<int>(i) + 1));
    ProgramRun result = run(inputs);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(cup_run({"Spielplan_2025-2026_U19-1.ics", "Spielplan_2024-2025_Herren2.ics", "Plan_2019.ics"},
                      "2025-2026"),
              result.output);
    EXPECT_EQ((std::set<std::string>{"erste/", "erste/Spielplan_2025-2026_U19-1.ics", "erste/Termarium_2025-2026.html",
                                     "erste/Termarium_2025-2026.xml", "erste/Termarium_2025-2026.ics", "erste/" + k_days, "zweite/",
                                     "zweite/Spielplan_2024-2025_Herren2.ics", "dritte/", "dritte/tief/",
                                     "dritte/tief/Plan_2019.ics"}),
              files());
}

TEST_F(DriverRun, FortyFilesAreAccepted) {
    std::vector<std::string> names;
    std::set<std::string> expected_files = {k_html, k_xml, k_ics, k_days};
    for (int i = 1; i <= k_max_input_files; ++i) {
        names.push_back("Spielplan_2025-2026_Team" + std::to_string(i) + ".ics");
        write_file(names.back(), cup_match_of(i));
        expected_files.insert(names.back());
    }
    ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(cup_run(names, "2025-2026"), result.output);
    EXPECT_EQ(expected_files, files());
}

// The season: where the nine bytes from the first digit of the first name begin with a
// year or two and the first file's matches lie in that year or the next, those; else the
// years of the earliest and the latest match. Each file is
// given without any separator, so the schedules land in the working folder; a second
// file, where there is one, holds a match a year later.
struct SeasonCase {
    std::string file;
    std::string season;
    bool second_year;
};

void PrintTo(const SeasonCase& c, std::ostream* out) { *out << c.file; }

class DriverSeason : public E2eTest, public ::testing::WithParamInterface<SeasonCase> {};

TEST_P(DriverSeason, SeasonFromTheNameOrTheMatches) {
    const SeasonCase& c = GetParam();
    std::vector<std::string> names = {c.file};
    write_file(c.file, k_cup_match);
    if (c.second_year) {
        std::string later = cup_match_of(2);
        later.replace(later.find("20251101T16"), 11, "20260110T16");
        names.push_back("Plan_B.ics");
        write_file(names.back(), later);
    }
    ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(cup_run(names, c.season), result.output);
    std::set<std::string> expected(names.begin(), names.end());
    for (const char* extension : {".html", ".xml", ".ics", "_Spieltage.html"}) {
        expected.insert("Termarium_" + c.season + extension);
    }
    EXPECT_EQ(expected, files());
}

INSTANTIATE_TEST_SUITE_P(
    DriverRun, DriverSeason,
    ::testing::Values(SeasonCase{"Spielplan_2025.ics", "2025", false},             // a year alone
                      SeasonCase{"Spielplan_2025-26_Herren1.ics", "2025-26", false},  // a season of 2 + 2 digits
                      SeasonCase{"Plan_2025_2026.ics", "2025_2026", false},
                      SeasonCase{"Spielplan_2026.ics", "2025", false},           // the match lies before the year
                      SeasonCase{"Spielplaene2526_vc3.ics", "2025", false},     // a season code, no year
                      SeasonCase{"Plan_U19_2015.ics", "2025", false},            // the first digit begins no year
                      SeasonCase{"handball-1-damen.ics", "2025-2026", true},     // from the matches of all files
                      SeasonCase{"spielplan (1).ics", "2025", false},            // a browser's second download
                      SeasonCase{"563599.ics", "2025", false},                   // a team's number on the site
                      SeasonCase{"Spielplan.ics", "2025", false}));              // no digit at all

TEST_F(DriverRun, BackslashSeparatesTheFolderToo) {
    // On POSIX a backslash is an ordinary byte of a file name: the calendar is a file named
    // "sub\..." in the test folder, and the schedules must be named "sub\..." beside it.
    const std::string name = "Spielplan_2025-2026_U15-1.ics";
    const std::string on_disk = windows_paths() ? "sub/" : "sub\\";
    write_file(on_disk + name, k_cup_match);
    ProgramRun result = run({"sub\\" + name});
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(cup_run({name}, "2025-2026"), result.output);
    std::set<std::string> expected = {on_disk + name, on_disk + "Termarium_2025-2026.html",
                                      on_disk + "Termarium_2025-2026.xml", on_disk + "Termarium_2025-2026.ics",
                                      on_disk + k_days};
    if (windows_paths()) expected.insert("sub/");
    EXPECT_EQ(expected, files());
}

TEST_F(DriverRun, LongestArgumentAndNameAreAccepted) {
    const std::string folder_part = std::string(100, 'd') + "/";
    const std::string name_in_folder = calendar_name(k_path_size - 1 - folder_part.size());
    const std::string long_name = calendar_name(k_display_name_size - 1);
    write_file(folder_part + name_in_folder, k_cup_match);
    write_file(long_name, k_cup_match);

    ProgramRun in_folder = run({folder_part + name_in_folder});
    EXPECT_EQ(0, in_folder.exit_status);
    EXPECT_EQ(cup_run({name_in_folder}, "2025-2026"), in_folder.output);
    ProgramRun in_cwd = run({long_name});
    EXPECT_EQ(0, in_cwd.exit_status);
    EXPECT_EQ(cup_run({long_name}, "2025-2026"), in_cwd.output);

    EXPECT_EQ((std::set<std::string>{folder_part, folder_part + name_in_folder,
                                     folder_part + k_html, folder_part + k_xml, folder_part + k_ics, folder_part + k_days,
                                     long_name, k_html, k_xml, k_ics, k_days}),
              files());
}

// Folder + "Termarium_2025-2026_Spieltage.html", the longest output name, may take 199
// bytes; one more is refused before any output is opened.
TEST_F(DriverRun, OutputPathMustFitItsField) {
    const std::string name = "Spielplan_2025-2026.ics";
    const size_t longest_folder = k_path_size - 1 - k_days.size();
    const std::string fits = std::string(longest_folder - 1, 'o') + "/";
    const std::string too_long = std::string(longest_folder, 'o') + "/";
    write_file(fits + name, k_cup_match);
    write_file(too_long + name, k_cup_match);

    ProgramRun accepted = run({fits + name});
    EXPECT_EQ(0, accepted.exit_status);
    EXPECT_EQ(cup_run({name}, "2025-2026"), accepted.output);
    ProgramRun refused = run({too_long + name});
    EXPECT_EQ(1, refused.exit_status);
    EXPECT_EQ(reading(1) + listed({name}) + season_line("2025-2026") + k_cup_match_line + k_output_path_too_long,
              refused.output);

    EXPECT_EQ((std::set<std::string>{fits, fits + name, fits + "Termarium_2025-2026.html",
                                     fits + "Termarium_2025-2026.xml", fits + "Termarium_2025-2026.ics", fits + k_days,
                                     too_long, too_long + name}),
              files());
}

// --- The bundled sample calendars ---------------------------------------------------------

TEST_F(SampleRun, AllSixExamples) {
    const std::vector<std::string> samples = copy_samples();
    std::vector<std::string> lines;
    std::set<std::string> expected_files = {k_html, k_xml, k_ics, k_days};
    for (const SampleCalendar& sample : k_sample_calendars) {
        lines.push_back(sample.line);
        expected_files.insert(sample.file);
    }
    ProgramRun result = run(samples);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(samples, k_season, lines), result.output);
    EXPECT_EQ(expected_files, files());
    // Both schedules and the match days byte for byte as pinned (the platform's line ends
    // aside), so that a change of content shows even where every copy of the program agrees; the calendar
    // byte for byte with its CR LF on every platform, its time stamps aside.
    EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_xml), read_output(k_xml));
    EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_html), read_output(k_html));
    EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_days), read_output(k_days));
    const std::string calendar = read_file(k_ics);
    EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_ics), masked_stamps(calendar));
    // Every event is stamped with the run's time (k_fixed_run_time) in UTC.
    const std::vector<std::string> stamps = property_lines(calendar, "DTSTAMP");
    ASSERT_FALSE(stamps.empty());
    for (const std::string& stamp : stamps) EXPECT_EQ("DTSTAMP:20251209T064500Z", stamp);
}

// Without SOURCE_DATE_EPOCH the run's time is the clock's.
TEST_F(SampleRun, TheClocksTimeWithoutAFixedOne) {
    set_environment("SOURCE_DATE_EPOCH", nullptr);
    const std::string started = utc_stamp();
    ASSERT_EQ(0, run(copy_samples()).exit_status);
    const std::string ended = utc_stamp();
    const std::string stamped = property_lines(read_file(k_ics), "DTSTAMP").at(0).substr(std::string("DTSTAMP:").size());
    EXPECT_TRUE(started <= stamped && stamped <= ended) << started << " " << stamped << " " << ended;
}

// Started with standard input, output or error closed, the program must not take those
// numbers for the files it opens: no console text may land in a schedule or a calendar.
TEST_F(SampleRun, ClosedStandardStreamsLeaveTheSchedulesWhole) {
    if (windows_paths()) GTEST_SKIP() << "Wine opens standard streams of its own for a Windows program";
    const std::vector<std::string> samples = copy_samples();
    std::vector<std::string> lines;
    for (const SampleCalendar& sample : k_sample_calendars) lines.push_back(sample.line);
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        SCOPED_TRACE("descriptor " + std::to_string(descriptor) + " closed");
        const ProgramRun result = run_with_closed(descriptor, samples);
        EXPECT_EQ(0, result.exit_status);
        EXPECT_EQ(descriptor == 1 ? "" : complete_run(samples, k_season, lines, descriptor == 0 ? "" : changes_since(0, 0, 0)),
                  result.output);
        EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_xml), read_output(k_xml));
        EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_html), read_output(k_html));
        // The same match keeps its UID on every run.
        EXPECT_EQ(file_text(TERMARIUM_TEST_DATA_DIR "/golden/" + k_ics), masked_stamps(read_file(k_ics)));
        for (const std::string& sample : samples) {
            EXPECT_EQ(file_text(TERMARIUM_EXAMPLES_DIR "/" + sample), read_file(sample));
        }
    }
}

// A volunteer's downloads folder in its second week, dropped whole and sorted by name as
// "select all" hands it over: last week's four outputs, a hall plan PDF whose name sorts
// first and holds a year, a note, a download cut short, an error page saved as .ics, and the
// good calendars. One run names every skip and both broken files and writes nothing; with
// the broken files gone, the schedule is the first week's, the outputs beside it skipped.
TEST_F(SampleRun, TheSecondWeeksWholeFolder) {
    std::vector<std::string> samples = copy_samples();
    std::sort(samples.begin(), samples.end());  // the first week's drop in the folder's order too
    ASSERT_EQ(0, run(samples).exit_status);
    const std::string workbook = read_file(k_xml);
    const std::string fragment = read_file(k_html);
    const std::string days = read_file(k_days);
    const std::string calendar = masked_stamps(read_file(k_ics));
    write_file("Hallenplan_2019.pdf", "%PDF-1.4\n" + std::string(3000, '\x9C'));
    write_file("notiz.txt", "Herren 3 spielt am 13.9. auswaerts\n");
    const std::string cut = "Spielplan_2025-2026_Herren4.ics";
    const std::string error_page = "Spielplan_2025-2026_U15-2.ics";
    write_file(cut, file_text(TERMARIUM_EXAMPLES_DIR "/" + samples[0]).substr(0, 3000));
    write_file(error_page, "<html><body>Fehler 404</body></html>\n");

    std::map<std::string, std::string> lines = {
        {"Hallenplan_2019.pdf", skipped_as_no_calendar("Hallenplan_2019.pdf")},
        {"notiz.txt", skipped_as_no_calendar("notiz.txt")},
        {k_xml, skipped_as_no_calendar(k_xml)},
        {k_html, skipped_as_no_calendar(k_html)},
        {k_days, skipped_as_no_calendar(k_days)},
        {k_ics, skipped_as_own_output(k_ics)},
        {cut, read_failed(cut, k_incomplete)},
        {error_page, read_failed(error_page, k_not_calendar)},
    };
    for (const SampleCalendar& sample : k_sample_calendars) lines[sample.file] = sample.line;
    const std::set<std::string> before = files();
    const std::vector<std::string> messy(before.begin(), before.end());
    std::string expected = reading(messy.size()) + listed(messy) + season_line(k_season);
    for (const std::string& name : messy) expected += lines[name];
    const ProgramRun refused = run(messy);
    EXPECT_EQ(1, refused.exit_status);
    EXPECT_EQ(expected + nothing_written(2, static_cast<int>(samples.size()) + 2), refused.output);
    EXPECT_EQ(before, files());
    EXPECT_EQ(workbook, read_file(k_xml));
    EXPECT_EQ(calendar, masked_stamps(read_file(k_ics)));

    std::remove(path(cut).c_str());
    std::remove(path(error_page).c_str());
    const std::set<std::string> tidy = files();
    const ProgramRun second = run(std::vector<std::string>(tidy.begin(), tidy.end()));
    EXPECT_EQ(0, second.exit_status) << second.output;
    EXPECT_EQ(workbook, read_file(k_xml));
    EXPECT_EQ(fragment, read_file(k_html));
    // The match days say that nothing changed since the first run, and are the same besides.
    const std::string second_days = read_file(k_days);
    EXPECT_NE(std::string::npos, second_days.find("Keine \xC3\x84nderungen."));
    EXPECT_EQ(days, without_changes(second_days));
    EXPECT_EQ(calendar, masked_stamps(read_file(k_ics)));
    EXPECT_EQ(tidy, files());
}

// The team calendars of four other league sites in one run, as a volunteer drops them:
// read by property name, a called-off match counted apart and kept as such, every file's line as expected.
TEST_F(SampleRun, OtherLeagueSitesCalendars) {
    const std::vector<std::string> names = {"Tischtennis_2025-2026_Herren2.ics", "Handball_2026-2027_Frauen3.ics",
                                            "Handball_2026-2027_mC1.ics", "Fussball_2025-2026_Herren1.ics"};
    for (const std::string& name : names) copy_example("andere-seiten/" + name, name);
    ProgramRun result = run(names);
    EXPECT_EQ(0, result.exit_status);
    EXPECT_EQ(complete_run(names, "2025-2026",
                           {"TuS Lindenbr\xC3\xBC" "ck 2 (Bezirksliga Nord): 6 Spiele\n",
                            "TUS LINDENBR\xC3\x9C" "CK III (Landesliga Frauen): 5 Spiele\n",
                            "TUS LINDENBR\xC3\x9C" "CK (Regionsoberliga m\xC3\xA4nnliche C): 2 Spiele\n",
                            "TuS Lindenbr\xC3\xBC" "ck (Kreispokal): 4 Spiele, 1 abgesagt\n"}),
              result.output);
    const std::string fragment = read_output(k_html);
    EXPECT_NE(std::string::npos, fragment.find("Do, 01.01.2026 00:30")) << "UTC over the year's end";
    EXPECT_NE(std::string::npos, fragment.find("Sa, 23.01.2027 --:--")) << "a start without a time";
    // In the club calendar, German time after the year's end, an all-day event, and the
    // called-off match as a cancelled event.
    const std::string calendar = read_file(k_ics);
    EXPECT_NE(std::string::npos, calendar.find("\r\nDTSTART;TZID=Europe/Berlin:20260101T003000\r\n"));
    EXPECT_NE(std::string::npos, calendar.find("\r\nDTSTART;VALUE=DATE:20270123\r\nDURATION:P1D\r\n"));
    EXPECT_EQ(6u + 5u + 2u + 5u, count_of(calendar, "BEGIN:VEVENT"));
    EXPECT_EQ(1u, count_of(calendar, "\r\nSTATUS:CANCELLED\r\n"));
    EXPECT_NE(std::string::npos, calendar.find("\r\nSUMMARY:Abgesagt: SG Steinau/Brunnental - TuS Lindenbr\xC3\xBC" "ck\r\nSTATUS:CANCELLED\r\n"));
}

}  // namespace
