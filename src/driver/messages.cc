// The console's texts that take more than a format: the usage, each file's line and the
// reasons why a file could not be read.
#include "driver/messages.h"

#include <cstdio>

#include "core/bounded_text.h"

namespace {

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
// Where the usage text sends the user for the calendars: the league's site, which a club
// building its own copy sets (TERMARIUM_LEAGUE_SITE).
constexpr char k_league_site[] = TERMARIUM_LEAGUE_SITE;

constexpr char k_file_line[] = "%s (%s): %i Spiele%s\n";  // team, league, matches, cancelled part
constexpr char k_cancelled_part[] = ", %i abgesagt";
constexpr int k_cancelled_size = 32;  // ", <number> abgesagt"
constexpr char k_same_content[] = "%s: gleicher Inhalt wie %s, wird uebersprungen\n";
constexpr char k_same_team[] = "Achtung: %s (%s) steht auch in %s\n";

constexpr char k_too_large_text[] = "Datei zu gross (max. %i Zeichen)";
constexpr char k_no_match_text[] = "keine Spielpaarung gefunden";
constexpr char k_team_name_text[] = "Mannschaftsname leer oder zu lang (max. %i Zeichen)";
constexpr char k_event_layout_text[] = "Spiel %i passt nicht zum erwarteten Aufbau";
constexpr char k_unknown_zone_text[] = "Spiel %i hat eine unbekannte Zeitzone";
constexpr char k_too_many_rows_text[] = "zu viele Spiele (max. %i Tabellenzeilen)";
constexpr char k_not_utf8_text[] = "Datei ist nicht UTF-8-kodiert";
constexpr char k_incomplete_text[] = "Datei ist unvollstaendig (Kalenderende fehlt)";
constexpr char k_not_calendar_text[] = "Datei ist keine Kalenderdatei (.ics)";
constexpr char k_read_error_text[] = "Datei konnte nicht gelesen werden";
constexpr char k_too_many_teams_text[] = "zu viele Mannschaften (max. %i im Lauf)";
constexpr char k_no_club_team_text[] = "keine Mannschaft des Vereins in dieser Datei";

}  // namespace

void print_usage() {
    std::printf("%s%s%s", k_usage_lead, k_league_site, k_usage_tail);
    for (const char* line : k_usage_lines) std::fputs(line, stdout);
}

void describe_file(const RunState& state, int file, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (file < 0 || file >= k_max_arguments) return;
    const FileReport& report = state.file_reports[file];
    const int same_as = report.same_as - 1;
    if (same_as >= 0 && same_as < k_max_arguments) {
        std::snprintf(out, size, k_same_content, state.file_display_names[file], state.file_display_names[same_as]);
        return;
    }
    size_t used = 0;
    for (int b = report.first_block; b < report.first_block + report.blocks && b < k_max_blocks && used < size; ++b) {
        const TeamBlock& block = state.blocks[b];
        if (block.own_team[0] == '\0') continue;  // a league's file still waiting for the club
        char cancelled[k_cancelled_size] = "";
        if (block.cancelled > 0) std::snprintf(cancelled, sizeof cancelled, k_cancelled_part, block.cancelled);
        int written = std::snprintf(out + used, size - used, k_file_line, block.own_team, block.league, block.matches,
                                    cancelled);
        const int also_in = block.also_in - 1;
        if (written > 0 && also_in >= 0 && also_in < k_max_blocks && used + static_cast<size_t>(written) < size) {
            used += static_cast<size_t>(written);
            written = std::snprintf(out + used, size - used, k_same_team, block.own_team, block.league,
                                    state.file_display_names[state.blocks[also_in].file]);
        }
        if (written > 0) used += static_cast<size_t>(written);
    }
}

void describe_read_failure(const RunState& state, int file, ReadResult result, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    const int event = file >= 0 && file < k_max_arguments ? state.file_reports[file].failed_event : 0;
    switch (result) {
        case ReadResult::ok: break;
        case ReadResult::file_too_large: std::snprintf(out, size, k_too_large_text, k_file_buffer_size - 1); break;
        case ReadResult::no_match_found: copy_text(out, size, k_no_match_text); break;
        case ReadResult::team_name_invalid: std::snprintf(out, size, k_team_name_text, k_team_name_size - 1); break;
        case ReadResult::event_layout: std::snprintf(out, size, k_event_layout_text, event); break;
        case ReadResult::unknown_zone: std::snprintf(out, size, k_unknown_zone_text, event); break;
        case ReadResult::too_many_rows: std::snprintf(out, size, k_too_many_rows_text, k_max_used_rows); break;
        case ReadResult::not_calendar: copy_text(out, size, k_not_calendar_text); break;
        case ReadResult::incomplete: copy_text(out, size, k_incomplete_text); break;
        case ReadResult::not_utf8: copy_text(out, size, k_not_utf8_text); break;
        case ReadResult::read_error: copy_text(out, size, k_read_error_text); break;
        case ReadResult::too_many_teams: std::snprintf(out, size, k_too_many_teams_text, k_max_blocks); break;
        case ReadResult::no_club_team: copy_text(out, size, k_no_club_team_text); break;
    }
}
