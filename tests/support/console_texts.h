// The program's console texts as a user reads them, written out here once for every
// test that compares a whole run's output, and the pieces a run is made of.
#pragma once

#include <string>
#include <vector>

#include "core/run_state.h"

inline const std::string k_usage =
    "Bitte die Spielplaene aller Mannschaften von " TERMARIUM_LEAGUE_SITE "  als ics-Datei herunterladen.\n\n"
    "Termarium -> alle Spiele einer Mannschaft nach Datum sortiert.\n"
    "oder\n"
    "Spielplaene fuer Heim/Auswaerts einzeln -> die Spiele einer Mannschaft in 2 Bloecke aufgeteilt.\n\n"
    "Anschliessend das Programm schliessen und neu oeffnen, indem du alle Dateien markierst und auf das "
    "Programmsymbol ziehst.\n\n"
    "Die Reihenfolge im Ordner entscheidet ueber die Reihenfolge in der Tabelle.\n"
    "Die Spiele, die du mit der Maus festhaelst um das Programm zu starten, erscheinen ganz oben in der "
    "Tabelle.\n\n"
    "Der Termarium wird als .xml-Datei dort gespeichert, wo die Spielplaene gespeichert sind.\n";
inline const std::string k_banner =
    "\n\n=== Termarium " TERMARIUM_VERSION ": ein Spielplan fuer alle Mannschaften des Vereins ===\n";
inline const std::string k_too_many_files =
    "zu viele Dateien ausgewaehlt! Bitte mit weniger Dateien (max. 40) versuchen.";
inline const std::string k_xml_open_failed = "Fehler beim oeffnen der Ausgabe-Datei";
inline const std::string k_html_open_failed = "Fehler beim oeffnen der HTML_Datei-Datei";
inline const std::string k_xml_write_failed = "Fehler beim Schreiben der Ausgabe-Datei";
inline const std::string k_html_write_failed = "Fehler beim Schreiben der HTML-Datei";
inline const std::string k_calendar_write_failed = "Fehler beim Schreiben der Kalender-Datei";
inline const std::string k_path_too_long = "Dateipfad zu lang: ";
inline const std::string k_output_path_too_long = "Ausgabepfad zu lang";

// The message for an output that another program holds open.
inline std::string file_in_use(const std::string& name) {
    return "Die Datei " + name +
           " ist noch in einem anderen Programm geoeffnet (z. B. Excel). Bitte dort schliessen und erneut versuchen.";
}
constexpr size_t k_path_shown = 60;  // bytes of an over-long argument the message repeats

// Failure reasons of the import, behind "Fehler beim Lesen der Datei <name>: ".
inline const std::string k_no_match = "keine Spielpaarung gefunden";
inline const std::string k_not_utf8 = "Datei ist nicht UTF-8-kodiert";
inline const std::string k_incomplete = "Datei ist unvollstaendig (Kalenderende fehlt)";
inline const std::string k_not_calendar = "Datei ist keine Kalenderdatei (.ics)";

inline std::string reading(size_t files) { return "Es werden " + std::to_string(files) + " Dateien eingelesen:\n"; }

inline std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += "\n" + name;
    return text;
}

inline std::string season_line(const std::string& season) { return "\n\nSaison: " + season + "\n\n"; }

inline std::string xml_written(const std::string& season) { return "\nTermarium_" + season + ".xml erstellt. \n"; }

inline std::string html_written(const std::string& season) { return "Termarium_" + season + ".html erstellt. \n"; }

inline std::string calendar_written(const std::string& season) { return "Termarium_" + season + ".ics erstellt. \n"; }

inline std::string match_days_written(const std::string& season) {
    return "Termarium_" + season + "_Spieltage.html erstellt. \n";
}

inline const std::string k_closing_prompt = "Enter druecken um Proramm zu schliessen\n";

inline std::string read_failed(const std::string& name, const std::string& reason) {
    return "Fehler beim Lesen der Datei " + name + ": " + reason + "\n";
}

inline std::string open_failed(const std::string& name) { return "Fehler beim oeffnen der Datei " + name + "\n"; }

inline std::string skipped_as_no_calendar(const std::string& name) { return name + ": kein Kalender, wird uebersprungen\n"; }

inline std::string skipped_as_own_output(const std::string& name) {
    return name + ": von Termarium erstellt, wird uebersprungen\n";
}

// Where the season line stands when no file was read.
inline const std::string k_lines_apart = "\n\n";

// The end of a run that wrote nothing because files failed.
inline std::string nothing_written(int failed, int of) {
    return "Nichts geschrieben: " + std::to_string(failed) + " von " + std::to_string(of) +
           " Dateien fehlerhaft. Diese Dateien neu herunterladen oder weglassen, dann Termarium neu starten.\n" +
           k_closing_prompt + k_banner;
}

inline const std::string k_no_calendar = "Keine Kalenderdatei dabei, nichts geschrieben.\n";

inline std::string layout_broken(int event) {
    return "Spiel " + std::to_string(event) + " passt nicht zum erwarteten Aufbau";
}

// The comparison with the last run's club calendar, written at the tests' fixed time.
inline std::string changes_since(int added, int moved, int called_off, const std::string& since = "Di, 09.12.2025") {
    return "Seit dem letzten Lauf (" + since + "): " + std::to_string(added) + " neu, " + std::to_string(moved) +
           " verlegt, " + std::to_string(called_off) + " abgesagt\n";
}

// Everything a complete run prints, given the listed names, the import's lines and the
// comparison with the last run (none on a first run).
inline std::string complete_run(const std::vector<std::string>& names, const std::string& season,
                                const std::vector<std::string>& team_lines, const std::string& comparison = "") {
    std::string text = reading(names.size()) + listed(names) + season_line(season);
    for (const std::string& line : team_lines) text += line;
    return text + comparison + xml_written(season) + html_written(season) + calendar_written(season) + match_days_written(season) +
           k_closing_prompt + k_banner;
}
