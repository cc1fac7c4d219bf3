// The match days as one printable HTML document, written from their plan (match_plan.h):
// the run's date and time ("Stand:"); every match by day and time, grouped by ISO calendar
// week, a week one table kept on one printed page where it fits; the home matches per hall,
// each hall on a printed page of its own; each collision numbered, listed at
// the top with the rule that was checked and marked at both rows. Home matches stand out in
// print without colour: bold, with a thick rule at their left and "Heim" in words; a
// called-off match is struck through and says "abgesagt". When the last run's club calendar
// was compared, the changes since stand under the date, one line each to pass on to the
// teams. Calendar texts are escaped; the document needs no script and no other file.
#include "output/match_days.h"

#include <cstddef>
#include <iterator>

#include "core/civil_date.h"
#include "output/markup_escape.h"
#include "output/match_days_style.h"
#include "output/output_buffer.h"
#include "output/table_rows.h"

namespace {

constexpr const char* k_day_names[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};

constexpr char k_head[] =
    "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
constexpr char k_introduction[] =
    "<p>Alle Spiele aller Mannschaften des Vereins nach Datum, Woche f\u00fcr Woche, darunter die"
    " Heimspiele nach Halle. Heimspiele sind fett gedruckt und links mit einem breiten Strich markiert.</p>\n";
constexpr char k_end[] = "</body>\n</html>\n";

// A change's word, by ChangeKind.
constexpr const char* k_change_words[] = {"neu", "verlegt", "abgesagt"};
static_assert(std::size(k_change_words) == static_cast<size_t>(ChangeKind::called_off) + 1, "a word for every kind");
constexpr int k_change_limit = sizeof EarlierRun::changes / sizeof EarlierRun::changes[0];

// "Spieltage <club> <season>"; without the club while it is unknown.
void put_title(OutputBuffer& out, const RunState& state) {
    put_text(out, "Spieltage ");
    if (state.club[0] != '\0') {
        put_escaped(out, state.club, sizeof state.club);
        put_text(out, " ");
    }
    put_escaped(out, state.season, sizeof state.season);
}

// "06.10." or, with the year, "06.10.2025".
void put_date(OutputBuffer& out, int day_count, bool with_year) {
    const CivilDate date = civil_from_days(day_count);
    char text[] = "DD.MM.YYYY";
    write_digits<2>(text, date.day);
    write_digits<2>(text + 3, date.month);
    write_digits<4>(text + 6, date.year % 10000);
    put_bytes(out, text, with_year ? 10 : 6);
}

// "15:00" for minutes of the day (and past midnight, of the next).
void put_clock(OutputBuffer& out, int minutes) {
    char text[] = "HH:MM";
    write_digits<2>(text, minutes / 60 % 24);
    write_digits<2>(text + 3, minutes % 60);
    put_bytes(out, text, 5);
}

// "Sa 11.10. 15:00" as the row gives it (its date alone where it is no real one), with_year
// "Sa 11.10.2025 15:00"; in the match days the year stands in the heading of the week.
void put_when(OutputBuffer& out, const RunState& state, const PlannedMatch& match, bool with_year) {
    constexpr char k_no_time[] = "ohne Uhrzeit";
    const MatchRecord& row = state.match_table[match.row];
    if (!match.dated) {
        put_field(out, row.day, sizeof row.day);
        put_text(out, ".");
        put_field(out, row.month, sizeof row.month);
        put_text(out, ".");
        put_field(out, row.year, sizeof row.year);
        return;
    }
    put_text(out, "<span class=\"tag\">");
    put_field(out, row.weekday, sizeof row.weekday);
    put_text(out, " ");
    put_field(out, row.day, sizeof row.day);
    put_text(out, ".");
    put_field(out, row.month, sizeof row.month);
    put_text(out, ".");
    if (with_year) put_field(out, row.year, sizeof row.year);
    put_text(out, "</span> <span class=\"uhr\">");
    if (match.start < 0) {
        put_text(out, k_no_time);
    } else {
        put_clock(out, match.start);
    }
    put_text(out, "</span>");
}

// The club's team and, smaller, its league.
void put_team(OutputBuffer& out, const RunState& state, int row) {
    const MatchRecord& match = state.match_table[row];
    put_escaped(out, own_team_of(state, row), k_team_name_size);
    if (match.league[0] != '\0') {
        put_text(out, "<br><span class=\"liga\">");
        put_escaped(out, match.league, sizeof match.league);
        put_text(out, "</span>");
    }
}

// The markers of the collisions a match takes part in, each a link to its entry at the top.
void put_collision_marks(OutputBuffer& out, const MatchPlan& plan, int index) {
    for (int mark = plan.matches[index].first_mark; mark >= 0; mark = plan.marks[mark].next) {
        const int c = plan.marks[mark].collision;
        put_text(out, " <a class=\"ue\" href=\"#ue");
        put_number(out, c + 1);
        put_text(out, "\">\u00dcberschneidung \u00dc");
        put_number(out, c + 1);
        put_text(out, "</a>");
    }
}

void put_location(OutputBuffer& out, const RunState& state, int row) {
    constexpr char k_no_location[] = "ohne Ortsangabe";
    const char* location = location_of(state, row);
    if (location[0] == '\0') {
        put_text(out, k_no_location);
    } else {
        put_escaped(out, location, k_location_size);
    }
}

// "TuS 1 (Kreisliga) gegen SV Nord 1": the club's team, its league where the row has one,
// and the opponent.
void put_pairing(OutputBuffer& out, const char* team, const MatchRecord& row) {
    put_escaped(out, team, k_team_name_size);
    if (row.league[0] != '\0') {
        put_text(out, " (");
        put_escaped(out, row.league, sizeof row.league);
        put_text(out, ")");
    }
    put_text(out, " gegen ");
    put_escaped(out, row.opponent, sizeof row.opponent);
}

// One match of a collision in its list entry: time, team, opponent, until when.
void put_collision_side(OutputBuffer& out, const RunState& state, const PlannedMatch& match) {
    put_clock(out, match.start);
    put_text(out, " bis ");
    put_clock(out, match.start + match.minutes);
    put_text(out, " ");
    put_pairing(out, own_team_of(state, match.row), state.match_table[match.row]);
}

void put_collisions(OutputBuffer& out, const RunState& state, const MatchPlan& plan) {
    constexpr char k_collisions_heading[] =
        "<section aria-labelledby=\"ueberschneidungen\">\n"
        "<h2 id=\"ueberschneidungen\">\u00dcberschneidungen in derselben Halle</h2>\n";
    constexpr char k_rule[] =
        "<p class=\"regel\">Gepr\u00fcft wurde: Heimspiele verschiedener Mannschaften des Vereins am selben Ort"
        " (gleiche Ortsangabe; Gro\u00df- und Kleinschreibung und Leerzeichen z\u00e4hlen nicht), beide mit"
        " Uhrzeit, wobei das sp\u00e4tere beginnt, bevor das fr\u00fchere zu Ende ist. Ein Spiel dauert 90"
        " Minuten, ein Spiel der A-Jugend (U19) 75 und der C-Jugend (U15) 60 Minuten. Nicht gepr\u00fcft"
        " werden Ausw\u00e4rtsspiele, Spiele ohne Uhrzeit, abgesagte Spiele, ein Spiel zweier eigener"
        " Mannschaften gegeneinander und mehrere Spiele derselben Mannschaft an einem Tag. Was das"
        " Programm nicht wissen kann: ob eine Halle mehrere Felder hat, ob ein Spiel l\u00e4nger dauert"
        " und ob dieselbe Halle verschieden geschrieben ist.</p>\n";
    constexpr char k_no_collisions[] = "<p>Keine \u00dcberschneidungen gefunden.</p>\n";
    constexpr char k_more_collisions[] = "<p>Weitere \u00dcberschneidungen sind gez\u00e4hlt, aber nicht aufgef\u00fchrt.</p>\n";
    put_text(out, k_collisions_heading);
    put_text(out, k_rule);
    if (plan.listed == 0) {
        put_text(out, k_no_collisions);
    } else {
        put_text(out, "<ol class=\"kollisionen\">\n");
        for (int c = 0; c < plan.listed; ++c) {
            const PlannedMatch& first = plan.matches[plan.collisions[c].first];
            const PlannedMatch& second = plan.matches[plan.collisions[c].second];
            put_text(out, "<li id=\"ue");
            put_number(out, c + 1);
            put_text(out, "\"><b>\u00dc");
            put_number(out, c + 1);
            put_text(out, "</b>: ");
            put_text(out, k_day_names[iso_weekday(first.day)]);
            put_text(out, ", ");
            put_date(out, first.day, true);
            put_text(out, ", ");
            put_location(out, state, first.row);
            put_text(out, ": ");
            put_collision_side(out, state, first);
            put_text(out, "; ");
            put_collision_side(out, state, second);
            put_text(out, "</li>\n");
        }
        put_text(out, "</ol>\n");
        if (plan.collision_count > plan.listed) put_text(out, k_more_collisions);
    }
    put_text(out, "</section>\n");
}

// "Sa, 13.09.2025 19:30, Gro\u00dfsporthalle": when and where a match of a change is; without
// the time or the venue where it has none.
void put_change_side(OutputBuffer& out, const MatchRecord& row) {
    put_row_date(out, row, "W, D.M.Y");
    CivilTime when{};
    if (row_time(row, when) && when.hour >= 0) put_row_date(out, row, " h:m");
    if (row.venue[0] != '\0') {
        put_text(out, ", ");
        put_escaped(out, row.venue, sizeof row.venue);
    }
}

// "verlegt: <pairing>: <before> \u2192 <now>": a moved match with both its sides, a new one
// with its side of this run, a called-off one with its earlier side where it has one. The
// pairing is that of this run's row, else of the earlier match. A change with no side to
// show is left out.
void put_change(OutputBuffer& out, const RunState& state, const MatchChange& change) {
    const auto kind = static_cast<size_t>(change.kind);
    const MatchRecord* now = change.row >= 1 && change.row < k_table_rows ? &state.match_table[change.row] : nullptr;
    const bool has_earlier = change.earlier >= 0 && change.earlier < state.earlier.count && change.earlier < k_table_rows;
    const EarlierMatch* before = has_earlier ? &state.earlier.matches[change.earlier] : nullptr;
    const MatchRecord* old_side = change.kind == ChangeKind::added || before == nullptr ? nullptr : &before->row;
    const MatchRecord* new_side = change.kind == ChangeKind::called_off && old_side != nullptr ? nullptr : now;
    if (kind >= std::size(k_change_words) || (old_side == nullptr && new_side == nullptr)) return;
    put_text(out, "<li>");
    put_text(out, k_change_words[kind]);
    put_text(out, ": ");
    if (now != nullptr) {
        put_pairing(out, own_team_of(state, change.row), *now);
    } else {
        put_pairing(out, before->own_team, before->row);
    }
    put_text(out, ": ");
    if (old_side != nullptr) put_change_side(out, *old_side);
    if (old_side != nullptr && new_side != nullptr) put_text(out, " \u2192 ");
    if (new_side != nullptr) put_change_side(out, *new_side);
    put_text(out, "</li>\n");
}

// The changes since the earlier run's club calendar in the import's order, when one was compared.
void put_changes(OutputBuffer& out, const RunState& state) {
    const EarlierRun& earlier = state.earlier;
    if (!earlier.compared) return;
    put_text(out, "<section aria-labelledby=\"aenderungen\">\n<h2 id=\"aenderungen\">\u00c4nderungen seit dem ");
    put_escaped(out, earlier.since, sizeof earlier.since);
    put_text(out, "</h2>\n");
    if (earlier.change_count <= 0) {
        put_text(out, "<p>Keine \u00c4nderungen.</p>\n");
    } else {
        put_text(out, "<ul class=\"aenderungen\">\n");
        for (int i = 0; i < earlier.change_count && i < k_change_limit; ++i) put_change(out, state, earlier.changes[i]);
        put_text(out, "</ul>\n");
    }
    put_text(out, "</section>\n");
}

// The word that marks a called-off match; a box of its own, so that the line through its row
// leaves it readable.
void put_called_off_mark(OutputBuffer& out, const char* words) {
    put_text(out, " <span class=\"absage\">");
    put_text(out, words);
    put_text(out, "</span>");
}

// The end of a table and of its block.
constexpr char k_table_end[] = "</tbody>\n</table>\n</section>\n";

// A table's opening up to its heading, kept on one printed page where it fits; kind names
// the table's columns for the phone's layout.
void open_block(OutputBuffer& out, const char* kind) {
    put_text(out, "<section class=\"block\">\n<table class=\"");
    put_text(out, kind);
    put_text(out, "\">\n<caption><h3>");
}

// The end of the heading, and the column heads.
void close_caption(OutputBuffer& out, const char* columns) {
    put_text(out, "</h3></caption>\n");
    put_text(out, columns);
}

// "KW 41/2025: Montag, 06.10. bis Sonntag, 12.10.2025"
void put_week_heading(OutputBuffer& out, int monday) {
    int week_year = 0;
    const int week = iso_week(monday, week_year);
    const int first_year = civil_from_days(monday).year;
    const int last_year = civil_from_days(monday + 6).year;
    put_text(out, "KW ");
    put_number(out, week);
    put_text(out, "/");
    put_number(out, week_year, 4);
    put_text(out, ": Montag, ");
    put_date(out, monday, first_year != last_year);
    put_text(out, " bis Sonntag, ");
    put_date(out, monday + 6, true);
}

void put_day_row(OutputBuffer& out, const RunState& state, const MatchPlan& plan, int index) {
    // By home match, then by called off: a called-off row is struck through, in print too.
    constexpr const char* k_row_openers[2][2] = {{"<tr><td>", "<tr class=\"abgesagt\"><td>"},
                                                 {"<tr class=\"heim\"><td>", "<tr class=\"heim abgesagt\"><td>"}};
    const PlannedMatch& match = plan.matches[index];
    const MatchRecord& row = state.match_table[match.row];
    const bool off = called_off(state, match.row);
    put_text(out, k_row_openers[row.is_home != 0 ? 1 : 0][off ? 1 : 0]);
    put_when(out, state, match, false);
    if (off) put_called_off_mark(out, "abgesagt");
    put_text(out, "</td><td>");
    put_team(out, state, match.row);
    put_text(out, row.is_home != 0 ? "</td><td>Heim</td><td>" : "</td><td>Ausw\u00e4rts</td><td>");
    put_escaped(out, row.opponent, sizeof row.opponent);
    put_text(out, "</td><td>");
    put_location(out, state, match.row);
    put_collision_marks(out, plan, index);
    put_text(out, "</td></tr>\n");
}

void put_days(OutputBuffer& out, const RunState& state, const MatchPlan& plan) {
    constexpr char k_days_heading[] = "<h2 id=\"spieltage\">Spieltage</h2>\n";
    constexpr char k_unreal_dates[] = "Ohne g\u00fcltiges Datum";
    constexpr char k_days_columns[] =
        "<colgroup><col class=\"zeit\"><col class=\"team\"><col class=\"ha\"><col class=\"gegner\"><col class=\"ort\">"
        "</colgroup>\n<thead><tr><th scope=\"col\">Tag und Zeit</th><th scope=\"col\">Mannschaft (Liga)</th>"
        "<th scope=\"col\">Heim/\u200bAusw\u00e4rts</th><th scope=\"col\">Gegner</th><th scope=\"col\">Ort</th></tr></thead>\n<tbody>\n";
    put_text(out, k_days_heading);
    int week_monday = 0;
    bool open = false;
    bool undated = false;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedMatch& match = plan.matches[i];
        const int monday = match.day - iso_weekday(match.day);
        if (match.dated ? !open || monday != week_monday : !undated) {
            if (open) put_text(out, k_table_end);
            open_block(out, "tage");
            if (match.dated) {
                put_week_heading(out, monday);
            } else {
                put_text(out, k_unreal_dates);
                undated = true;
            }
            close_caption(out, k_days_columns);
            week_monday = monday;
            open = true;
        }
        put_day_row(out, state, plan, i);
    }
    if (open) put_text(out, k_table_end);
}

void put_hall_row(OutputBuffer& out, const RunState& state, const MatchPlan& plan, int index) {
    const PlannedMatch& match = plan.matches[index];
    const bool off = called_off(state, match.row);
    // Every match here is a home match: none needs to stand out. A called-off one frees its slot.
    put_text(out, off ? "<tr class=\"abgesagt\"><td>" : "<tr><td>");
    put_when(out, state, match, true);
    if (off) put_called_off_mark(out, "abgesagt \u2013 Halle frei");
    put_text(out, "</td><td>");
    if (match.start >= 0 && !off) put_clock(out, match.start + match.minutes);
    put_text(out, "</td><td>");
    put_team(out, state, match.row);
    put_text(out, "</td><td>");
    put_escaped(out, state.match_table[match.row].opponent, k_opponent_size);
    put_collision_marks(out, plan, index);
    put_text(out, "</td></tr>\n");
}

// The halls in the order of their first home match, each with its home matches in date order.
void put_halls(OutputBuffer& out, const RunState& state, const MatchPlan& plan) {
    constexpr char k_halls_heading[] = "<h2 id=\"hallen\">Hallenbelegung: Heimspiele nach Halle</h2>\n";
    constexpr char k_hall_columns[] =
        "<colgroup><col class=\"zeit\"><col class=\"bis\"><col class=\"halle-team\"><col class=\"halle-gegner\">"
        "</colgroup>\n<thead><tr><th scope=\"col\">Tag und Zeit</th><th scope=\"col\">bis etwa</th>"
        "<th scope=\"col\">Mannschaft (Liga)</th><th scope=\"col\">Gegner</th></tr></thead>\n<tbody>\n";
    constexpr char k_no_home_matches[] = "<p>Keine Heimspiele.</p>\n";
    put_text(out, k_halls_heading);
    for (int h = 0; h < plan.hall_count; ++h) {
        const PlannedHall& hall = plan.halls[h];
        open_block(out, "halle");
        put_location(out, state, plan.matches[plan.hall_matches[hall.first]].row);
        close_caption(out, k_hall_columns);
        for (int k = hall.first; k < hall.first + hall.count; ++k) put_hall_row(out, state, plan, plan.hall_matches[k]);
        put_text(out, k_table_end);
    }
    if (plan.hall_count == 0) put_text(out, k_no_home_matches);
}

}  // namespace

bool write_match_days(RunState& state, const MatchPlan& plan, FILE* stream) {
    if (stream == nullptr) return false;
    OutputBuffer out{};
    start_output(out, stream);
    put_text(out, k_head);
    put_title(out, state);
    put_text(out, "</title>\n<style>\n");
    put_text(out, k_match_days_style);
    put_text(out, "</style>\n</head>\n<body>\n<h1>");
    put_title(out, state);
    put_text(out, "</h1>\n<p class=\"stand\">Stand: ");
    put_escaped(out, state.run_time, sizeof state.run_time);
    put_text(out, "</p>\n");
    put_changes(out, state);
    put_text(out, k_introduction);
    put_collisions(out, state, plan);
    put_days(out, state, plan);
    put_halls(out, state, plan);
    put_text(out, k_end);
    return finish_output(out);
}
