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
#include "driver/outputs.h"
#include "import/calendar_reader.h"
#include "output/club_calendar.h"
#include "output/match_plan.h"
#include "platform/streams.h"

namespace {

// Console texts, exactly as the user sees them.
constexpr char k_usage_lead[] = "Bitte die Spielplaene aller Mannschaften von ";
constexpr char k_usage_tail[] = "  als ics-Datei herunterladen.\n\n";
constexpr const char* k_usage_lines[] = {
    "Termarium -> alle Spiele einer Mannschaft nach Datum sortiert.\n",
    "oder\n",
    "Spielplaene fuer Heim/Auswaerts einzeln -> die Spiele einer Mannschaft in 2 Bloecke aufgeteilt.\n\n",
    "Anschliessend das Programm schliessen und neu oeffnen, indem du alle Dateien markierst und auf das Programmsymbol ziehst.\n\n",
    "Die Reihenfolge im Ordner entscheidet ueber die Reihenfolge in der Tabelle.\n",
    "Die Spiele, die du mit der Maus festhaelst um das Programm zu starten, erscheinen ganz oben in der Tabelle.\n\n",
    "Der Termarium wird als .xml-Datei dort gespeichert, wo die Spielplaene gespeichert sind.\n",
};
// The build names the version (the project's version in CMake) and the league's site
// (TERMARIUM_LEAGUE_SITE, which a club building its own copy sets).
constexpr char k_league_site[] = TERMARIUM_LEAGUE_SITE;
constexpr char k_version_line[] = "Termarium " TERMARIUM_VERSION "\n";
// The only arguments that are no file: each alone asks for a text and ends at once.
constexpr char k_help_option[] = "--help";
constexpr char k_version_option[] = "--version";
constexpr char k_banner[] = "\n\n=== Termarium " TERMARIUM_VERSION ": ein Spielplan fuer alle Mannschaften des Vereins ===\n";
constexpr char k_too_many_files[] = "zu viele Dateien ausgewaehlt! Bitte mit weniger Dateien (max. 40) versuchen.";
constexpr char k_reading_files[] = "Es werden %i Dateien eingelesen:\n";
constexpr char k_listed_file[] = "\n%s";
constexpr char k_season_line[] = "\n\nSaison: %s\n\n";
constexpr char k_input_open_failed[] = "Fehler beim oeffnen einer Eingabe-Datei";
constexpr char k_output_written[] = "Termarium_%s%s erstellt. \n";  // season, extension
constexpr char k_closing_prompt[] = "Enter druecken um Proramm zu schliessen\n";
// The browser page shows the console in the page, which has no window to close: the
// build for it (TERMARIUM_PAGE) leaves the closing prompt out.
constexpr bool k_console_window = TERMARIUM_PAGE == 0;
constexpr char k_path_too_long[] = "Dateipfad zu lang: ";
constexpr char k_output_path_too_long[] = "Ausgabepfad zu lang";
constexpr char k_read_failed[] = "Fehler beim Lesen der Datei %s: %s";

constexpr char k_folder_busy[] =
    "Ein anderer Termarium-Lauf schreibt gerade in diesen Ordner. Bitte kurz warten und erneut versuchen.";
constexpr char k_file_in_use[] =
    "Die Datei %s ist noch in einem anderen Programm geoeffnet (z. B. Excel). "
    "Bitte dort schliessen und erneut versuchen.";

constexpr int k_lock_wait_ms = 10000;   // another run's write phase takes milliseconds; this is ample
constexpr int k_path_shown = 60;         // bytes of an over-long path shown in its message
constexpr int k_reason_size = 96;        // room for the longest read-failure reason
constexpr char k_output_prefix[] = "Termarium_";
constexpr char k_collisions[] = "Achtung: %i Ueberschneidungen in derselben Halle (siehe Spieltage)\n";

// The usage text: where the calendars come from and how the program is started.
void print_usage() {
    std::printf("%s%s%s", k_usage_lead, k_league_site, k_usage_tail);
    for (const char* line : k_usage_lines) std::fputs(line, stdout);
}

// One read from standard input; at the end of input it returns at once.
void wait_for_enter() {
    std::fflush(stdout);
    std::getchar();
}

// Ends the run after a failure: closes what is open, removes this run's temporary file,
// lets other runs write into the folder again, waits, exit status 1.
int fail(RunState& state) {
    close_all_streams(state);
    discard_output(state);
    unlock_output_folder(state);
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

// The years of the earliest and the latest match with a real date, as "YYYY-YYYY", or
// "YYYY" when both are the same; false when no match has a real date.
bool season_of_matches(RunState& state) {
    int first = 0;
    int last = 0;
    for (int row = 1; row < state.current_row && row < k_table_rows; ++row) {
        CivilTime when{};
        if (!row_time(state.match_table[row], when)) continue;
        if (first == 0 || when.date.year < first) first = when.date.year;
        if (when.date.year > last) last = when.date.year;
    }
    if (first == 0) return false;
    // Real dates have years of four digits.
    char season[] = "YYYY-YYYY";
    write_digits<4>(season, first);
    write_digits<4>(season + 5, last);
    if (std::memcmp(season, season + 5, 4) == 0) season[4] = '\0';
    copy_text(state.season, sizeof state.season, season);
    return true;
}

// The season: the nine bytes from the first digit of the first file's name, where they
// begin with a season; else the years of the matches read; else those nine bytes as they are.
void derive_season(RunState& state) {
    const char* name = state.file_display_names[0];
    while (*name != '\0' && !is_digit(*name)) ++name;
    const size_t length = utf8_cut_length(name, std::strlen(name), k_season_length);
    const size_t written = season_in(name, length);
    if (written > 0 || !season_of_matches(state)) {
        copy_bytes(state.season, sizeof state.season, name, written > 0 ? written : length);
    }
}

// The console lines of each file the import got through.
void print_file_lines(const RunState& state) {
    for (int k = 0; k < state.files_read && k < k_max_input_files; ++k) {
        char lines[k_file_lines_size];
        describe_file(state, k, lines, sizeof lines);
        std::fputs(lines, stdout);
    }
}

// Puts folder of the first file + "Termarium_" + season + extension into output_path.
bool build_output_path(RunState& state, const char* first_path, const char* extension) {
    return copy_bytes(state.output_path, sizeof state.output_path, first_path, folder_length(first_path)) &&
           append_text(state.output_path, sizeof state.output_path, k_output_prefix) &&
           append_text(state.output_path, sizeof state.output_path, state.season) &&
           append_text(state.output_path, sizeof state.output_path, extension);
}

// Opens and lists every input file; refuses an over-long path before opening it.
bool open_inputs(RunState& state, int files, char** paths) {
    for (int i = 0; i < files; ++i) {
        const char* path = paths[i];
        size_t path_length = std::strlen(path);
        const char* name = path + folder_length(path);
        if (path_length >= static_cast<size_t>(k_path_size) ||
            std::strlen(name) >= static_cast<size_t>(k_display_name_size)) {
            char shown[k_path_shown + 1];
            copy_bytes(shown, sizeof shown, path, utf8_cut_length(path, path_length, k_path_shown));
            std::printf("%s%s", k_path_too_long, shown);
            return false;
        }
        state.input_files[i] = open_input(path);
        if (state.input_files[i] == nullptr) {
            std::fputs(k_input_open_failed, stdout);
            return false;
        }
        copy_text(state.file_display_names[i], sizeof state.file_display_names[i], name);
        std::printf(k_listed_file, state.file_display_names[i]);
    }
    return true;
}

// Every file into the match table, then the season and each file's line; on a failure
// the message names the file and why.
bool import_files(RunState& state, int files) {
    int failed_file = -1;
    const ReadResult result = import_calendar_files(state, files, failed_file);
    derive_season(state);
    std::printf(k_season_line, state.season);
    print_file_lines(state);
    if (result == ReadResult::ok) return true;
    char reason[k_reason_size];
    describe_read_failure(state, result, reason, sizeof reason);
    std::printf(k_read_failed, state.file_display_names[failed_file], reason);
    return false;
}

// Moves the finished output over the older one; when it cannot, says why and returns false.
bool commit_or_report(RunState& state, const char* write_failed) {
    const ReplaceResult result = commit_output(state);
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
bool write_output(RunState& state, const MatchPlan& plan, const char* first_path, const Output& output) {
    build_output_path(state, first_path, output.extension);
    FILE*& stream = state.*output.stream;
    stream = open_output_temp(state, output.mode);
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
    if (!commit_or_report(state, output.write_failed)) return false;
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
    if (argc > k_max_input_files + 1) {
        std::fputs(k_too_many_files, stdout);
        std::fputs(k_banner, stdout);
        wait_for_enter();
        return 1;
    }
    const int files = argc - 1;
    std::printf(k_reading_files, files);
    if (!open_inputs(state, files, argv + 1)) return fail(state);

    if (!import_files(state, files)) return fail(state);
    // The match days worked out once, from the whole table; every writer is handed them.
    MatchPlan plan{};
    plan_match_days(state, plan);

    // The longest of the output names must fit, so that no half set of outputs is left;
    // its path also names the folder to lock.
    if (!build_output_path(state, argv[1], longest_extension())) {
        std::fputs(k_output_path_too_long, stdout);
        return fail(state);
    }
    // From the first temporary file to the last rename no other run writes here.
    if (!lock_output_folder(state, k_lock_wait_ms)) {
        std::fputs(k_folder_busy, stdout);
        return fail(state);
    }
    stamp_run_time(state);
    // The outputs one after another; the first that fails ends the run.
    const bool written = std::all_of(std::begin(k_outputs), std::end(k_outputs),
                                     [&](const Output& output) { return write_output(state, plan, argv[1], output); });
    if (!written) return fail(state);
    unlock_output_folder(state);
    if (plan.collision_count > 0) std::printf(k_collisions, static_cast<int>(plan.collision_count));
    if (k_console_window) std::fputs(k_closing_prompt, stdout);
    std::fputs(k_banner, stdout);
    wait_for_enter();
    return 0;
}
