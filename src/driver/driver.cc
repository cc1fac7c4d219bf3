// The command-line driver. It checks the arguments, opens and lists the dropped files,
// lets the import fill the match table file by file, derives the season text and has both
// schedules, the club calendar and the match days written next to the first file. It
// prints usage, progress and every message (each file's line as the import describes it),
// closes every stream, waits for Enter and decides the exit status.
#include "driver/driver.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/bounded_text.h"
#include "core/civil_date.h"
#include "core/utf8.h"
#include "driver/messages.h"
#include "driver/outputs.h"
#include "import/calendar_reader.h"
#include "import/calendar_text.h"
#include "import/german_time.h"
#include "import/run_changes.h"
#include "import/run_club.h"
#include "output/club_calendar.h"
#include "output/match_plan.h"
#include "platform/platform.h"
#include "platform/run_clock.h"
#include "platform/streams.h"

namespace {

// The browser page shows the console in the page, which has no window to close: the
// build for it (TERMARIUM_PAGE) leaves the closing prompt out.
constexpr bool k_console_window = TERMARIUM_PAGE == 0;
// The only arguments that are no file: each alone asks for a text and ends at once.
constexpr char k_help_option[] = "--help";
constexpr char k_version_option[] = "--version";

constexpr int k_lock_wait_ms = 10000;   // another run's write phase takes milliseconds; this is ample
constexpr int k_path_shown = 60;         // bytes of an over-long path shown in its message
constexpr char k_output_prefix[] = "Termarium_";
constexpr int k_answer_size = 2 * k_team_name_size;  // a typed club's name, with blanks around it

// One read from standard input; at the end of input it returns at once.
void wait_for_enter() {
    std::fflush(stdout);
    std::getchar();
}

// The run's last lines as after a complete run (the prompt to close the window where there
// is one, the banner), the wait for Enter, and the exit status.
int close_window(int status) {
    if (k_console_window) std::fputs(k_closing_prompt, stdout);
    std::fputs(k_banner, stdout);
    wait_for_enter();
    return status;
}

// Ends the run after a failure: closes what is open, removes this run's temporary file,
// lets other runs write into the folder again, waits, exit status 1.
int fail(RunState& state, OutputTarget& target) {
    close_all_streams(state);
    discard_output(target);
    unlock_output_folder(target);
    wait_for_enter();
    return 1;
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Index behind the last path separator: the length of the folder part.
size_t folder_length(const char* path) {
    size_t length = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (is_separator(path[i])) length = i + 1;
    }
    return length;
}

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the run of digits at text, at most limit.
size_t digits_at(const char* text, size_t limit) {
    size_t count = 0;
    while (count < limit && is_digit(text[count])) ++count;
    return count;
}

// The length of a season written out in the text: a year, "-", "_" or "/" and two or four
// more digits ("2025-2026", "2025-26"), else a year alone ("2026"); 0 when it is neither.
size_t season_in(const char* text, size_t length) {
    constexpr size_t k_year = 4;
    if (digits_at(text, length) != k_year) return 0;
    if (length > k_year && (text[k_year] == '-' || text[k_year] == '_' || text[k_year] == '/')) {
        const size_t second = digits_at(text + k_year + 1, length - k_year - 1);
        if (second == 2 || second == 4) return k_year + 1 + second;
    }
    return k_year;
}

// The years of the earliest and the latest match with a real date into first and last,
// of the file given or (-1) of all files; both 0 when no such match has a real date.
void years_of_matches(const RunState& state, int file, int& first, int& last) {
    first = 0;
    last = 0;
    for (int row = 1; row < state.current_row && row < k_table_rows; ++row) {
        CivilTime when{};
        const int block = state.match_details[row].block;
        if (file >= 0 && (block >= k_max_blocks || state.blocks[block].file != file)) continue;
        if (!row_time(state.match_table[row], when)) continue;
        if (first == 0 || when.date.year < first) first = when.date.year;
        if (when.date.year > last) last = when.date.year;
    }
}

// The years of the earliest and the latest match with a real date, as "YYYY-YYYY", or
// "YYYY" when both are the same; false when no match has a real date.
bool season_of_matches(RunState& state) {
    int first = 0;
    int last = 0;
    years_of_matches(state, -1, first, last);
    if (first == 0) return false;
    // Real dates have years of four digits.
    char season[] = "YYYY-YYYY";
    write_digits<4>(season, first);
    write_digits<4>(season + 5, last);
    if (std::memcmp(season, season + 5, 4) == 0) season[4] = '\0';
    copy_text(state.season, sizeof state.season, season);
    return true;
}

// True when every match with a real date of the file lies in the year the season from its
// name begins with, or in the year after: "2526" in "Spielplaene2526_vc3.ics" is no year.
bool season_fits_matches(const RunState& state, int file, const char* season) {
    int first = 0;
    int last = 0;
    years_of_matches(state, file, first, last);
    const int year = (season[0] - '0') * 1000 + (season[1] - '0') * 100 + (season[2] - '0') * 10 + (season[3] - '0');
    return first == 0 || (first >= year && last <= year + 1);
}

// The season: the nine bytes from the first digit of the name of the first file read, where
// they begin with a season whose first year its matches lie in (or in the year after); else
// the years of the matches read; else those nine bytes as they are.
void derive_season(RunState& state, int first_read) {
    const char* name = state.file_display_names[first_read];
    while (*name != '\0' && !is_digit(*name)) ++name;
    const size_t length = utf8_cut_length(name, std::strlen(name), k_season_length);
    size_t written = season_in(name, length);
    if (written > 0 && !season_fits_matches(state, first_read, name)) written = 0;
    if (written > 0 || !season_of_matches(state)) {
        copy_bytes(state.season, sizeof state.season, name, written > 0 ? written : length);
    }
}

// Puts folder of the first file + "Termarium_" + season + extension into output_path.
bool build_output_path(RunState& state, const char* first_path, const char* extension) {
    return copy_bytes(state.output_path, sizeof state.output_path, first_path, folder_length(first_path)) &&
           append_text(state.output_path, sizeof state.output_path, k_output_prefix) &&
           append_text(state.output_path, sizeof state.output_path, state.season) &&
           append_text(state.output_path, sizeof state.output_path, extension);
}

// True when the name ends in ".ics", letters in any case: a file the user means as a calendar.
bool named_as_calendar(const char* name) {
    constexpr char k_ending[] = ".ics";
    constexpr size_t k_ending_length = sizeof k_ending - 1;
    const size_t length = std::strlen(name);
    if (length < k_ending_length) return false;
    for (size_t i = 0; i < k_ending_length; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[length - k_ending_length + i])) != k_ending[i]) return false;
    }
    return true;
}

// Decides what each argument is, opening the ones to read: a calendar, no calendar (a
// folder, or a file that neither its name nor its first bytes call one: skipped), a club
// calendar of this program's (skipped when other calendars are given), or a failure (a path
// too long, a file that cannot be opened). Returns the number of calendars to read.
int sort_inputs(RunState& state, int files, char** paths) {
    int calendars = 0;
    int own_outputs = 0;
    for (int k = 0; k < files; ++k) {
        const char* path = paths[k];
        const char* name = path + folder_length(path);
        InputKind& kind = state.input_kinds[k];
        // An over-long name is listed cut, so that the user still sees which file it is.
        const size_t name_length = std::strlen(name);
        copy_bytes(state.file_display_names[k], sizeof state.file_display_names[k], name,
                   utf8_cut_length(name, name_length, k_display_name_size - 1));
        if (std::strlen(path) >= static_cast<size_t>(k_path_size) || name_length >= static_cast<size_t>(k_display_name_size)) {
            kind = InputKind::too_long;
            continue;
        }
        if (is_folder(path)) {
            kind = InputKind::not_calendar;
            continue;
        }
        FILE*& stream = state.input_files[k];
        stream = open_input(path);
        if (stream == nullptr) {
            kind = InputKind::failed;
            continue;
        }
        const InputStart start = peek_input_start(stream);
        if (start == InputStart::other && !named_as_calendar(name)) {
            kind = InputKind::not_calendar;
            std::fclose(stream);
            stream = nullptr;
        } else if (start == InputStart::own_calendar) {
            kind = InputKind::own_output;
            ++own_outputs;
        } else {
            kind = InputKind::calendar;
            ++calendars;
        }
    }
    // A club calendar this program wrote is last week's output lying beside the downloads;
    // given alone, it is read like any calendar.
    if (calendars > 0) return calendars;
    for (int k = 0; k < files; ++k) {
        if (state.input_kinds[k] == InputKind::own_output) state.input_kinds[k] = InputKind::calendar;
    }
    return own_outputs;
}

// The line of an argument the import did not read; false for one it read.
bool print_unread_line(const RunState& state, int file, const char* path) {
    const char* name = state.file_display_names[file];
    switch (state.input_kinds[file]) {
        case InputKind::calendar: return false;
        case InputKind::not_calendar: std::printf(k_not_calendar_skipped, name); return true;
        case InputKind::own_output: std::printf(k_own_output_skipped, name); return true;
        case InputKind::failed: std::printf(k_input_open_failed, name); return true;
        case InputKind::too_long: break;
    }
    char shown[k_path_shown + 1];
    const size_t path_length = std::strlen(path);
    copy_bytes(shown, sizeof shown, path, utf8_cut_length(path, path_length, k_path_shown));
    std::printf("%s%s\n", k_path_too_long, shown);
    return true;
}

// One line per argument in argument order: its team, league and matches, why it was
// skipped, or why it failed.
void print_file_lines(const RunState& state, int files, char** paths, const ReadResult (&results)[k_max_arguments]) {
    for (int k = 0; k < files; ++k) {
        if (print_unread_line(state, k, paths[k])) continue;
        if (results[k] == ReadResult::ok) {
            char lines[k_file_lines_size];
            describe_file(state, k, lines, sizeof lines);
            std::fputs(lines, stdout);
        } else if (results[k] == ReadResult::no_club_team) {
            std::printf(k_no_club_team, state.file_display_names[k], state.club);
        } else {
            char reason[k_reason_size];
            describe_read_failure(state, k, results[k], reason, sizeof reason);
            std::printf(k_read_failed, state.file_display_names[k], reason);
        }
    }
}

// The club an earlier club calendar names: one among the inputs, else last run's of this
// season beside the first file read. False when neither names one.
bool find_remembered_club(RunState& state, int files, const char* first_path) {
    for (int k = 0; k < files && k < k_max_arguments; ++k) {
        FILE* stream = state.input_files[k];
        if (stream == nullptr) continue;  // skipped, or never opened
        if (peek_input_start(stream) == InputStart::own_calendar && remembered_club(state, stream)) return true;
    }
    if (!build_output_path(state, first_path, k_calendar_extension)) return false;
    FILE* earlier = open_input(state.output_path);
    if (earlier == nullptr) return false;
    const bool found = peek_input_start(earlier) == InputStart::own_calendar && remembered_club(state, earlier);
    std::fclose(earlier);
    return found;
}

// Asks which of the league files' clubs is the user's; false when no valid answer came.
bool ask_for_club(RunState& state) {
    std::fputs(k_lines_apart, stdout);
    std::fputs(k_club_question_lead, stdout);
    for (int k = 0; k < state.league_club_count && k < k_max_league_clubs; ++k) {
        std::printf(k_club_question_line, k + 1, state.league_clubs[k]);
    }
    std::fputs(k_club_question, stdout);
    char answer[k_answer_size];
    return read_console_line(answer, sizeof answer) && choose_club(state, answer);
}

// How the import of the arguments went.
struct ImportOutcome {
    int first_read;  // the first file read, or -1
    int failed;      // arguments that failed
    int tried;       // arguments meant as calendars: read, or failed before they could be
};

// Counts the failed and the tried arguments and finds the first file read.
ImportOutcome count_outcomes(const RunState& state, int files, const ReadResult (&results)[k_max_arguments]) {
    ImportOutcome outcome{-1, 0, 0};
    for (int k = 0; k < files; ++k) {
        const InputKind kind = state.input_kinds[k];
        const bool unopened = kind == InputKind::failed || kind == InputKind::too_long;
        if (unopened || results[k] != ReadResult::ok) ++outcome.failed;
        if (unopened || kind == InputKind::calendar) ++outcome.tried;
        if (outcome.first_read < 0 && kind == InputKind::calendar && results[k] == ReadResult::ok) outcome.first_read = k;
    }
    return outcome;
}

// Every calendar into the match table, then the season and each argument's line. A
// league's file read for no club waits for one: an earlier club calendar's, else the
// user's answer, and then every file is read again. Returns the index of the first file
// read, whose name gives the season and whose folder takes the outputs; -1 when nothing
// may be written (every failure named, no calendar at all, or no club chosen).
int import_files(RunState& state, int files, char** paths) {
    ReadResult results[k_max_arguments] = {};
    import_calendar_files(state, files, results);
    ImportOutcome outcome = count_outcomes(state, files, results);
    if (outcome.failed == 0 && outcome.first_read >= 0 && league_files_waiting(state)) {
        derive_season(state, outcome.first_read);  // names the earlier club calendar
        if (!find_remembered_club(state, files, paths[outcome.first_read]) && !ask_for_club(state)) {
            std::fputs(k_no_club_chosen, stdout);
            return -1;
        }
        import_calendar_files(state, files, results);
        outcome = count_outcomes(state, files, results);
    }
    const int first_read = outcome.first_read;
    if (first_read >= 0) {
        derive_season(state, first_read);
        std::printf(k_season_line, state.season);
    } else {
        std::fputs(k_lines_apart, stdout);
    }
    print_file_lines(state, files, paths, results);
    if (outcome.tried == 0) {
        std::fputs(k_no_calendar, stdout);
        return -1;
    }
    if (outcome.failed > 0) {
        std::printf(k_nothing_written, outcome.failed, outcome.tried);
        return -1;
    }
    return first_read;
}

// Compares the run with the last one: the club calendar this program wrote that is among
// the inputs, else this season's beside the first file read. Prints the earlier teams this
// run lacks and what changed; names a calendar that cannot be read and goes on without.
void compare_with_last_run(RunState& state, int files, const char* first_path) {
    FILE* stream = nullptr;
    const char* name = nullptr;
    for (int k = 0; k < files && k < k_max_arguments && stream == nullptr; ++k) {
        if (state.input_kinds[k] != InputKind::own_output) continue;
        stream = state.input_files[k];
        name = state.file_display_names[k];
    }
    const bool beside = stream == nullptr;
    if (beside) {
        if (!build_output_path(state, first_path, k_calendar_extension)) return;
        stream = open_input(state.output_path);
        if (stream == nullptr) return;  // the first run of the season
        name = state.output_path + folder_length(state.output_path);
    }
    const EarlierRead read = compare_with_earlier(state, stream, state.run_stamp);
    if (beside) std::fclose(stream);
    // Another file under the calendar's name holds no earlier run to compare with.
    if (read == EarlierRead::not_club_calendar) return;
    if (read != EarlierRead::done) {
        std::printf(k_earlier_unreadable, name);
        return;
    }
    const EarlierRun& earlier = state.earlier;
    for (int k = 0; k < earlier.missing_count && k < k_max_blocks; ++k) {
        const EarlierMatch& match = earlier.matches[earlier.missing[k]];
        std::printf(k_team_missing, match.own_team, match.row.league);
    }
    std::printf(k_changes_since, earlier.since, earlier.added, earlier.moved, earlier.called_off);
}

// Moves the finished output over the older one; when it cannot, says why and returns false.
bool commit_or_report(RunState& state, OutputTarget& target, const char* write_failed) {
    const ReplaceResult result = commit_output(target, state.output_path);
    if (result == ReplaceResult::done) return true;
    if (result == ReplaceResult::in_use) {
        std::printf(k_file_in_use, state.output_path + folder_length(state.output_path));
    } else {
        std::fputs(write_failed, stdout);
    }
    return false;
}

// The longest extension of the outputs: its output's name is the longest.
const char* longest_extension() {
    const Output* longest = std::max_element(std::begin(k_outputs), std::end(k_outputs), [](const Output& a, const Output& b) {
        return std::strlen(a.extension) < std::strlen(b.extension);
    });
    return longest->extension;
}

// Writes one output next to the first file: a new temporary file, the writer, every
// stream closed, the move over the older output; false, with its message printed, as
// soon as a step fails.
bool write_output(RunState& state, OutputTarget& target, const MatchPlan& plan, const char* first_path,
                  const Output& output) {
    build_output_path(state, first_path, output.extension);
    FILE*& stream = state.*output.stream;
    stream = open_output_temp(target, state.output_path, output.mode);
    if (stream == nullptr) {
        std::fputs(output.open_failed, stdout);
        return false;
    }
    const bool written = output.write(state, plan, stream);
    const bool closed = close_all_streams(state);
    if (!written || !closed) {
        std::fputs(output.write_failed, stdout);
        return false;
    }
    if (!commit_or_report(state, target, output.write_failed)) return false;
    std::fputs(output.lead, stdout);
    std::printf(k_output_written, state.season, output.extension);
    return true;
}

}  // namespace

int run_schedule(RunState& state, int argc, char** argv) {
    // Asked from a terminal: the text, and no wait for Enter.
    if (argc == 2 && std::strcmp(argv[1], k_help_option) == 0) {
        print_usage();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], k_version_option) == 0) {
        std::fputs(k_version_line, stdout);
        return 0;
    }
    if (argc < 2) {
        print_usage();
        std::fputs(k_banner, stdout);
        wait_for_enter();
        return 1;
    }
    OutputTarget target{};
    const int files = argc - 1;
    char** paths = argv + 1;
    if (files > k_max_arguments || sort_inputs(state, files, paths) > k_max_input_files) {
        close_all_streams(state);
        std::fputs(k_too_many_files, stdout);
        std::fputs(k_banner, stdout);
        wait_for_enter();
        return 1;
    }
    std::printf(k_reading_files, files);
    for (int k = 0; k < files; ++k) std::printf(k_listed_file, state.file_display_names[k]);

    const int first_read = import_files(state, files, paths);
    if (first_read < 0) {
        // The user reads the list, then closes the window.
        close_all_streams(state);
        return close_window(1);
    }
    const char* first_path = paths[first_read];
    // The run's time, once: in UTC for the calendar's stamps and for what is past, in German
    // time for "Stand:".
    stamp_run_time(state, run_clock_seconds());
    german_time_of_stamp(state.run_stamp, state.run_time);
    compare_with_last_run(state, files, first_path);
    // The match days worked out once, from the whole table; every writer is handed them.
    MatchPlan plan{};
    plan_match_days(state, plan);

    // The longest of the output names must fit, so that no half set of outputs is left;
    // its path also names the folder to lock.
    if (!build_output_path(state, first_path, longest_extension())) {
        std::fputs(k_output_path_too_long, stdout);
        return fail(state, target);
    }
    // From the first temporary file to the last rename no other run writes here.
    if (!lock_output_folder(target, state.output_path, k_lock_wait_ms)) {
        std::fputs(k_folder_busy, stdout);
        return fail(state, target);
    }
    // The outputs one after another; the first that fails ends the run.
    const bool written = std::all_of(std::begin(k_outputs), std::end(k_outputs),
                                     [&](const Output& output) { return write_output(state, target, plan, first_path, output); });
    if (!written) return fail(state, target);
    unlock_output_folder(target);
    if (plan.collision_count > 0) std::printf(k_collisions, static_cast<int>(plan.collision_count));
    return close_window(0);
}
