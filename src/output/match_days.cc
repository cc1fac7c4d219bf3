// The match days. Matches are sorted by day and time (a day's matches without a time after
// its timed ones, equal times in table order) and grouped by ISO calendar week; a week is
// one table, kept on one printed page where it fits. Home matches stand out in print
// without colour: bold, with a thick rule at their left and "Heim" in words. A hall is a
// location text, compared without regard to letter case or runs of blanks. Two home
// matches of different club teams collide when they are in one hall, both have a time,
// and the later begins before the earlier ends; the same match in two teams' files (a
// derby) is one match. Each collision is numbered, listed at the top and marked at both
// rows. Calendar texts are escaped; the document needs no script and no other file.
#include "output/match_days.h"

#include <algorithm>
#include <cstring>

#include "core/civil_date.h"
#include "core/hash.h"
#include "output/markup_escape.h"
#include "output/output_buffer.h"
#include "output/table_rows.h"
#include "output/team_category.h"

namespace {

constexpr int k_minutes_per_day = 24 * 60;
constexpr int k_adult_minutes = 90;
constexpr int k_u19_minutes = 75;
constexpr int k_u15_minutes = 60;
constexpr int k_collisions_shown = 200;  // pairs listed and marked; more are counted only

constexpr const char* k_day_names[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};

constexpr char k_head[] =
    "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Spieltage ";
constexpr char k_style[] =
    "</title>\n<style>\n"
    "body { margin: 16px auto; max-width: 1100px; padding: 0 12px; color: #000; background: #fff;"
    " font: 15px/1.35 \"DejaVu Sans\", Arial, sans-serif; }\n"
    "h1 { font-size: 24px; margin: 0 0 4px; }\n"
    "h2 { font-size: 19px; margin: 22px 0 6px; border-bottom: 2px solid #000; }\n"
    "h3 { font-size: 16px; margin: 0; text-align: left; }\n"
    "section.block { margin: 12px 0 18px; break-inside: avoid; page-break-inside: avoid; }\n"
    "table { width: 100%; border-collapse: collapse; table-layout: fixed; }\n"
    "col.zeit { width: 14%; } col.team { width: 24%; } col.ha { width: 11%; } col.gegner { width: 22%; }"
    " col.ort { width: 29%; } col.bis { width: 9%; } col.halle-team { width: 38%; } col.halle-gegner { width: 38%; }\n"
    ".tag, .uhr { white-space: nowrap; }\n"
    "caption { text-align: left; padding: 4px 0; }\n"
    "th, td { border: 1px solid #555; padding: 3px 6px; text-align: left; vertical-align: top;"
    " overflow-wrap: break-word; }\n"
    "th { background: #eee; }\n"
    "thead { display: table-header-group; }\n"
    "tr { break-inside: avoid; page-break-inside: avoid; }\n"
    "tr.heim td { font-weight: bold; }\n"
    "tr.heim td:first-child { border-left: 5px solid #000; }\n"
    ".liga { font-weight: normal; font-size: 90%; }\n"
    ".ue { display: inline-block; margin-left: 4px; padding: 0 4px; border: 2px solid #000; font-weight: bold; }\n"
    ".regel { font-size: 90%; }\n"
    "ol.kollisionen { list-style: none; padding-left: 0; }\n"
    "ol.kollisionen li { margin: 4px 0; }\n"
    // On a phone each match is a card of its own, the columns named where they need it.
    "@media (max-width: 600px) {\n"
    "  body { font-size: 14px; margin: 8px auto; padding: 0 6px; }\n"
    "  table, caption, tbody, tr, td { display: block; }\n"
    "  colgroup, thead { display: none; }\n"
    "  tr { border: 1px solid #555; margin: 0 0 6px; padding: 3px 6px; }\n"
    "  td { border: 0; padding: 1px 0; }\n"
    "  tr.heim { border-left: 5px solid #000; }\n"
    "  tr.heim td:first-child { border-left: 0; }\n"
    "  table.tage td:nth-child(4)::before, table.halle td:nth-child(4)::before { content: \"gegen \"; font-weight: normal; }\n"
    "  table.tage td:nth-child(5)::before { content: \"Ort: \"; font-weight: normal; }\n"
    "  table.halle td:nth-child(2):not(:empty)::before { content: \"bis etwa \"; font-weight: normal; }\n"
    "}\n"
    "@page { size: A4; margin: 12mm 10mm 14mm; }\n"
    "@media print {\n"
    "  body { margin: 0; max-width: none; padding: 0; font-size: 9pt; line-height: 1.25; }\n"
    "  th, td { padding: 2px 4px; }\n"
    "  h2 { break-after: avoid; page-break-after: avoid; }\n"
    "  a { color: #000; text-decoration: none; }\n"
    "}\n"
    "</style>\n</head>\n<body>\n<h1>Spieltage ";
constexpr char k_introduction[] =
    "</h1>\n<p>Alle Spiele aller Mannschaften des Vereins nach Datum, Woche f\u00fcr Woche, darunter die"
    " Heimspiele nach Halle. Heimspiele sind fett gedruckt und links mit einem breiten Strich markiert.</p>\n";
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
constexpr char k_days_heading[] = "<h2 id=\"spieltage\">Spieltage</h2>\n";
constexpr char k_halls_heading[] = "<h2 id=\"hallen\">Hallenbelegung: Heimspiele nach Halle</h2>\n";
constexpr char k_no_home_matches[] = "<p>Keine Heimspiele.</p>\n";
constexpr char k_days_columns[] =
    "<colgroup><col class=\"zeit\"><col class=\"team\"><col class=\"ha\"><col class=\"gegner\"><col class=\"ort\">"
    "</colgroup>\n<thead><tr><th scope=\"col\">Tag und Zeit</th><th scope=\"col\">Mannschaft (Liga)</th>"
    "<th scope=\"col\">Heim/\u200bAusw\u00e4rts</th><th scope=\"col\">Gegner</th><th scope=\"col\">Ort</th></tr></thead>\n<tbody>\n";
constexpr char k_hall_columns[] =
    "<colgroup><col class=\"zeit\"><col class=\"bis\"><col class=\"halle-team\"><col class=\"halle-gegner\">"
    "</colgroup>\n<thead><tr><th scope=\"col\">Tag und Zeit</th><th scope=\"col\">bis etwa</th>"
    "<th scope=\"col\">Mannschaft (Liga)</th><th scope=\"col\">Gegner</th></tr></thead>\n<tbody>\n";
constexpr char k_table_end[] = "</tbody>\n</table>\n</section>\n";
constexpr char k_no_time[] = "ohne Uhrzeit";
constexpr char k_unreal_dates[] = "Ohne g\u00fcltiges Datum";
constexpr char k_no_location[] = "ohne Ortsangabe";
constexpr char k_end[] = "</body>\n</html>\n";

// One match row of the table with what sorting and the collisions need.
struct DayMatch {
    int row;
    bool dated;     // the row's date is a real one
    int day;        // days_from_civil of its date
    int start;      // minutes of the day, -1 for a match without a time
    int minutes;    // how long it lasts
    int hall;       // the hall of a dated home match (an index into DayPlan::halls), else -1
    int first_mark; // the first of its collision marks (an index into DayPlan::marks), or -1
};

struct Collision {
    int first;   // index into the sorted matches: the one that begins first
    int second;
};

// One collision a match takes part in, and the next of that match.
struct CollisionMark {
    int collision;
    int next;  // -1 after the match's last
};

// A hall: the hash of its location as a hall compares it, and its first home match.
struct Hall {
    uint64_t hash;
    int first;  // index into the sorted matches
};

// All that the document shows, worked out before it is written.
struct DayPlan {
    DayMatch matches[k_table_rows];  // sorted by day and time
    int count;
    Hall halls[k_table_rows];  // in the order of their first home match
    int hall_count;
    Collision collisions[k_collisions_shown];
    int shown;  // collisions listed; state.hall_collisions counts all
    CollisionMark marks[2 * k_collisions_shown];
    int mark_count;
};

// How a hall compares the bytes of its location: ASCII capitals as small letters, tab as
// blank, every other byte as it is (a Latin-1 capital, the second byte of a two-byte UTF-8
// letter behind 0xC3, is folded where it stands).
struct HallBytes {
    unsigned char folded[256];
};

constexpr HallBytes make_hall_bytes() {
    HallBytes table{};
    for (int c = 0; c < 256; ++c) table.folded[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    table.folded[static_cast<unsigned char>('\t')] = ' ';
    return table;
}

constexpr HallBytes k_hall_bytes = make_hall_bytes();

// A location as a hall compares it, into out: letters folded as above, leading and trailing
// blanks left out, a run of blanks as one blank. Returns its length.
size_t hall_text(const char* location, char (&out)[k_location_size]) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(location);
    size_t length = 0;
    bool blank = false;
    unsigned char previous = 0;
    for (size_t i = 0; i < k_location_size - 1 && in[i] != 0; ++i) {
        unsigned char c = k_hall_bytes.folded[in[i]];
        if (c == ' ') {
            blank = length > 0;
            previous = c;
            continue;
        }
        if (blank) out[length++] = ' ';
        blank = false;
        if (previous == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97) c = static_cast<unsigned char>(c + 0x20);
        previous = in[i];
        out[length++] = static_cast<char>(c);
    }
    return length;
}

// The club team of the row: the first file of its team's name and league, as the import
// found it. So the first teams of two sports, both named as the club, are two teams, and
// two downloads of one team are one.
int team_of(const RunState& state, int row) {
    const int file = state.match_details[row].file;
    if (file >= k_max_arguments) return -1;
    const int first_file = state.file_reports[file].also_in - 1;
    return first_file >= 0 ? first_file : file;
}

bool same_team(const RunState& state, int a, int b) { return team_of(state, a) == team_of(state, b); }

// The same match in two teams' files: date, time, home and away alike.
bool same_match(const RunState& state, const DayMatch& a, const DayMatch& b) {
    return a.day == b.day && a.start == b.start && std::strcmp(state.match_details[a.row].home, state.match_details[b.row].home) == 0 &&
           std::strcmp(state.match_details[a.row].away, state.match_details[b.row].away) == 0;
}

bool is_home(const RunState& state, const DayMatch& match) { return state.match_table[match.row].is_home != 0; }

// Dated matches by day, a day's timed ones before those without a time, then by time and
// table order; matches without a real date at the end in table order.
bool earlier(const DayMatch& a, const DayMatch& b) {
    if (a.dated != b.dated) return a.dated;
    if (a.dated && a.day != b.day) return a.day < b.day;
    if (a.dated && (a.start < 0) != (b.start < 0)) return a.start >= 0;
    if (a.dated && a.start != b.start) return a.start < b.start;
    return a.row < b.row;
}

// Minutes a match lasts, by the category of its league: U19 75, U15 60, every other 90.
int match_minutes(const MatchRecord& row) {
    switch (team_category(row.league, sizeof row.league)) {
        case TeamCategory::u19: return k_u19_minutes;
        case TeamCategory::u15: return k_u15_minutes;
        case TeamCategory::adult:
        case TeamCategory::other: break;
    }
    return k_adult_minutes;
}

void collect_matches(const RunState& state, DayPlan& plan) {
    const int end = end_of_table_row(state);
    for (int row = 1; row < end; ++row) {
        const MatchRecord& match = state.match_table[row];
        if (match.day[0] == ' ') continue;
        DayMatch& item = plan.matches[plan.count++];
        item = DayMatch{row, false, 0, -1, match_minutes(match), -1, -1};
        CivilTime when{};
        if (row_time(match, when)) {
            item.dated = true;
            item.day = days_from_civil(when.date);
            item.start = when.hour >= 0 ? when.hour * 60 + when.minute : -1;
        }
    }
    std::sort(plan.matches, plan.matches + plan.count, earlier);
}

// The hall of every dated home match, each hall found once in date order.
void collect_halls(const RunState& state, DayPlan& plan) {
    char hall[k_location_size];
    char other[k_location_size];
    for (int i = 0; i < plan.count; ++i) {
        DayMatch& match = plan.matches[i];
        if (!match.dated || !is_home(state, match)) continue;
        const size_t length = hall_text(state.match_details[match.row].location, hall);
        const uint64_t hash = hash_bytes(k_hash_start, hall, length);
        for (int h = 0; h < plan.hall_count && match.hall < 0; ++h) {
            if (plan.halls[h].hash != hash) continue;
            // Most matches of a hall give its location as its first match does, byte for byte.
            const char* first = state.match_details[plan.matches[plan.halls[h].first].row].location;
            if (std::strcmp(first, state.match_details[match.row].location) == 0) {
                match.hall = h;
                continue;
            }
            const size_t other_length = hall_text(first, other);
            if (other_length == length && std::memcmp(hall, other, length) == 0) match.hall = h;
        }
        if (match.hall < 0) {
            match.hall = plan.hall_count;
            plan.halls[plan.hall_count++] = Hall{hash, i};
        }
    }
}

// Marks a collision at a match.
void add_mark(DayPlan& plan, DayMatch& match, int collision) {
    plan.marks[plan.mark_count] = CollisionMark{collision, -1};
    int* last = &match.first_mark;
    while (*last >= 0) last = &plan.marks[*last].next;
    *last = plan.mark_count++;
}

// A home match with a time and a hall: one that can collide.
bool can_collide(const RunState& state, const DayMatch& match) {
    return match.hall >= 0 && match.start >= 0 && state.match_details[match.row].location[0] != '\0';
}

void find_collisions(RunState& state, DayPlan& plan) {
    state.hall_collisions = 0;
    for (int i = 0; i < plan.count; ++i) {
        const DayMatch& a = plan.matches[i];
        if (!can_collide(state, a)) continue;
        const int ends = a.day * k_minutes_per_day + a.start + a.minutes;
        for (int j = i + 1; j < plan.count && plan.matches[j].dated && plan.matches[j].day <= a.day + 1; ++j) {
            const DayMatch& b = plan.matches[j];
            if (!can_collide(state, b) || b.day * k_minutes_per_day + b.start >= ends || b.hall != a.hall ||
                same_team(state, a.row, b.row) || same_match(state, a, b)) {
                continue;
            }
            ++state.hall_collisions;
            if (plan.shown < k_collisions_shown) {
                add_mark(plan, plan.matches[i], plan.shown);
                add_mark(plan, plan.matches[j], plan.shown);
                plan.collisions[plan.shown++] = Collision{i, j};
            }
        }
    }
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

// "Sa 11.10. 15:00" as the row gives it (its date alone where it is no real one); the year
// stands in the heading of the week.
void put_when(OutputBuffer& out, const RunState& state, const DayMatch& match) {
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
    put_text(out, ".</span> <span class=\"uhr\">");
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
void put_collision_marks(OutputBuffer& out, const DayPlan& plan, int index) {
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
    if (state.match_details[row].location[0] == '\0') {
        put_text(out, k_no_location);
    } else {
        put_escaped(out, state.match_details[row].location, k_location_size);
    }
}

// One match of a collision in its list entry: time, team, opponent, until when.
void put_collision_side(OutputBuffer& out, const RunState& state, const DayMatch& match) {
    put_clock(out, match.start);
    put_text(out, " bis ");
    put_clock(out, match.start + match.minutes);
    put_text(out, " ");
    put_escaped(out, own_team_of(state, match.row), k_team_name_size);
    const MatchRecord& row = state.match_table[match.row];
    if (row.league[0] != '\0') {
        put_text(out, " (");
        put_escaped(out, row.league, sizeof row.league);
        put_text(out, ")");
    }
    put_text(out, " gegen ");
    put_escaped(out, row.opponent, sizeof row.opponent);
}

void put_collisions(OutputBuffer& out, const RunState& state, const DayPlan& plan) {
    put_text(out, k_collisions_heading);
    put_text(out, k_rule);
    if (plan.shown == 0) {
        put_text(out, k_no_collisions);
    } else {
        put_text(out, "<ol class=\"kollisionen\">\n");
        for (int c = 0; c < plan.shown; ++c) {
            const DayMatch& first = plan.matches[plan.collisions[c].first];
            const DayMatch& second = plan.matches[plan.collisions[c].second];
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
        if (state.hall_collisions > plan.shown) put_text(out, k_more_collisions);
    }
    put_text(out, "</section>\n");
}

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

void put_day_row(OutputBuffer& out, const RunState& state, const DayPlan& plan, int index) {
    const DayMatch& match = plan.matches[index];
    const MatchRecord& row = state.match_table[match.row];
    put_text(out, row.is_home != 0 ? "<tr class=\"heim\"><td>" : "<tr><td>");
    put_when(out, state, match);
    put_text(out, "</td><td>");
    put_team(out, state, match.row);
    put_text(out, row.is_home != 0 ? "</td><td>Heim</td><td>" : "</td><td>Ausw\u00e4rts</td><td>");
    put_escaped(out, row.opponent, sizeof row.opponent);
    put_text(out, "</td><td>");
    put_location(out, state, match.row);
    put_collision_marks(out, plan, index);
    put_text(out, "</td></tr>\n");
}

void put_days(OutputBuffer& out, const RunState& state, const DayPlan& plan) {
    put_text(out, k_days_heading);
    int week_monday = 0;
    bool open = false;
    bool undated = false;
    for (int i = 0; i < plan.count; ++i) {
        const DayMatch& match = plan.matches[i];
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

void put_hall_row(OutputBuffer& out, const RunState& state, const DayPlan& plan, int index) {
    const DayMatch& match = plan.matches[index];
    put_text(out, "<tr><td>");  // every match here is a home match: none needs to stand out
    put_when(out, state, match);
    put_text(out, "</td><td>");
    if (match.start >= 0) put_clock(out, match.start + match.minutes);
    put_text(out, "</td><td>");
    put_team(out, state, match.row);
    put_text(out, "</td><td>");
    put_escaped(out, state.match_table[match.row].opponent, k_opponent_size);
    put_collision_marks(out, plan, index);
    put_text(out, "</td></tr>\n");
}

// The halls in the order of their first home match, each with its home matches in date order.
void put_halls(OutputBuffer& out, const RunState& state, const DayPlan& plan) {
    put_text(out, k_halls_heading);
    for (int h = 0; h < plan.hall_count; ++h) {
        open_block(out, "halle");
        put_location(out, state, plan.matches[plan.halls[h].first].row);
        close_caption(out, k_hall_columns);
        for (int k = plan.halls[h].first; k < plan.count; ++k) {
            if (plan.matches[k].hall == h) put_hall_row(out, state, plan, k);
        }
        put_text(out, k_table_end);
    }
    if (plan.hall_count == 0) put_text(out, k_no_home_matches);
}

}  // namespace

bool write_match_days(RunState& state, FILE* stream) {
    if (stream == nullptr) return false;
    DayPlan plan{};
    collect_matches(state, plan);
    collect_halls(state, plan);
    find_collisions(state, plan);

    OutputBuffer out{};
    start_output(out, stream);
    put_text(out, k_head);
    put_escaped(out, state.season, sizeof state.season);
    put_text(out, k_style);
    put_escaped(out, state.season, sizeof state.season);
    put_text(out, k_introduction);
    put_collisions(out, state, plan);
    put_days(out, state, plan);
    put_halls(out, state, plan);
    put_text(out, k_end);
    return finish_output(out);
}
