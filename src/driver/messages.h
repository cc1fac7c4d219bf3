// Every text the program prints to the console, in one place: the usage, the progress,
// each file's line, why a file could not be read, and the messages of the outputs.
#pragma once

#include <cstddef>

#include "core/run_state.h"
#include "import/read_result.h"

// The usage text: where the calendars come from and how the program is started.
void print_usage();

// Room for the console lines of one file: per block two names of files, a team, a league
// and words; a league's file may give as many blocks as a run holds.
constexpr int k_block_lines_size = 2 * k_display_name_size + 2 * k_team_name_size + 2 * k_league_size + 96;
constexpr int k_file_lines_size = k_max_blocks * k_block_lines_size;

// Room for the longest read-failure reason.
constexpr int k_reason_size = 96;

// Writes the console lines of file k that the import got through: per block its team,
// league and matches, and a warning where an earlier file holds the same team and league;
// or that it held the same bytes as an earlier file and was left out.
void describe_file(const RunState& state, int file, char* out, size_t size);

// Writes the German text of why file k could not be read (with the event number where it
// has one); empty for ok.
void describe_read_failure(const RunState& state, int file, ReadResult result, char* out, size_t size);

// The build names the version (the project's version in CMake).
inline constexpr char k_version_line[] = "Termarium " TERMARIUM_VERSION "\n";
inline constexpr char k_banner[] =
    "\n\n=== Termarium " TERMARIUM_VERSION ": ein Spielplan fuer alle Mannschaften des Vereins ===\n";
inline constexpr char k_too_many_files[] =
    "zu viele Dateien ausgewaehlt! Bitte mit weniger Dateien (max. 40) versuchen.";
inline constexpr char k_reading_files[] = "Es werden %i Dateien eingelesen:\n";
inline constexpr char k_listed_file[] = "\n%s";
inline constexpr char k_season_line[] = "\n\nSaison: %s\n\n";
inline constexpr char k_lines_apart[] = "\n\n";  // where the season line stands when nothing was read
inline constexpr char k_not_calendar_skipped[] = "%s: kein Kalender, wird uebersprungen\n";
inline constexpr char k_own_output_skipped[] = "%s: von Termarium erstellt, wird uebersprungen\n";
inline constexpr char k_input_open_failed[] = "Fehler beim oeffnen der Datei %s\n";
inline constexpr char k_path_too_long[] = "Dateipfad zu lang: ";
inline constexpr char k_read_failed[] = "Fehler beim Lesen der Datei %s: %s\n";  // file, reason
inline constexpr char k_no_calendar[] = "Keine Kalenderdatei dabei, nichts geschrieben.\n";
inline constexpr char k_nothing_written[] =
    "Nichts geschrieben: %i von %i Dateien fehlerhaft. Diese Dateien neu herunterladen oder weglassen, "
    "dann Termarium neu starten.\n";
inline constexpr char k_output_path_too_long[] = "Ausgabepfad zu lang";
inline constexpr char k_folder_busy[] =
    "Ein anderer Termarium-Lauf schreibt gerade in diesen Ordner. Bitte kurz warten und erneut versuchen.";
inline constexpr char k_file_in_use[] =
    "Die Datei %s ist noch in einem anderen Programm geoeffnet (z. B. Excel). "
    "Bitte dort schliessen und erneut versuchen.";
// What the console says when an output's file cannot be created, and when a write, the
// close or the move failed; in the order of the outputs.
struct OutputFailureTexts {
    const char* open_failed;
    const char* write_failed;
};
inline constexpr OutputFailureTexts k_output_failures[] = {
    {"Fehler beim oeffnen der Ausgabe-Datei", "Fehler beim Schreiben der Ausgabe-Datei"},
    {"Fehler beim oeffnen der HTML_Datei-Datei", "Fehler beim Schreiben der HTML-Datei"},
    {"Fehler beim oeffnen der Kalender-Datei", "Fehler beim Schreiben der Kalender-Datei"},
    {"Fehler beim oeffnen der Spieltage-Datei", "Fehler beim Schreiben der Spieltage-Datei"},
};
inline constexpr char k_output_written[] = "Termarium_%s%s erstellt. \n";  // season, extension
inline constexpr char k_collisions[] = "Achtung: %i Ueberschneidungen in derselben Halle (siehe Spieltage)\n";
inline constexpr char k_no_club_team[] = "%s: keine Mannschaft von %s in dieser Datei\n";  // file, club
inline constexpr char k_club_question_lead[] = "In den Liga-Dateien spielen diese Vereine:\n";
inline constexpr char k_club_question_line[] = "  %i %s\n";  // number, club
inline constexpr char k_club_question[] = "Welcher ist dein Verein? Nummer oder Name, dann Enter: ";
inline constexpr char k_no_club_chosen[] = "Kein Verein gewaehlt, nichts geschrieben.\n";
inline constexpr char k_earlier_unreadable[] = "%s: nicht lesbar, kein Vergleich mit dem letzten Lauf\n";  // file
inline constexpr char k_team_missing[] = "%s (%s) fehlt in diesem Lauf\n";  // team, league
inline constexpr char k_changes_since[] = "Seit dem letzten Lauf (%s): %i neu, %i verlegt, %i abgesagt\n";
inline constexpr char k_closing_prompt[] = "Enter druecken um Proramm zu schliessen\n";
