// The event read by property name. The first line of each name counts. The summary's
// away text may carry a result ("(34:25)"), a league in parentheses ("(Bezirksliga)") or
// a competition and league behind commas (", Meisterschaften, Kreisklasse 5"); those are
// taken off the name, and the league kept. The league comes from the original site's
// description (three commas or more), else from the summary, else from the first line of
// a description of several lines. The venue is the location's first field (the hall),
// or its last (the town) where the hall shortens to nothing; on the original site's
// events, the last field, as there.
#include "import/event_by_name.h"

#include <cctype>
#include <cstring>

#include "core/bounded_text.h"
#include "import/event_parser.h"
#include "import/german_time.h"
#include "import/properties.h"
#include "import/venue.h"
#include "import/weekday.h"

namespace {

constexpr int k_value_size = 1024;            // an unescaped text value read whole; a longer one is cut
constexpr int k_date_digits = 8;              // YYYYMMDD
constexpr int k_time_digits = 4;              // HHMM; seconds may follow
constexpr int k_original_description_commas = 3;  // "Spiel 4101, Staffel 4, <league>, Spieltag 1"
constexpr int k_league_field = 2;             // the league is its third field, counted from 0
constexpr char k_no_time[] = "--";            // hour and minute of a start without a time
constexpr char k_status[] = "STATUS";
constexpr char k_cancelled[] = "CANCELLED";
constexpr char k_location[] = "LOCATION";
constexpr char k_summary[] = "SUMMARY";

// The lines of an event this reading uses: the first line of each name.
struct EventLines {
    ContentLine start;
    ContentLine summary;
    ContentLine location;
    ContentLine description;
    bool has_start;
    bool has_summary;
    bool has_location;
    bool has_description;
};

EventLines lines_of(TextSpan text, int begin, int end) {
    EventLines found{};
    const struct {
        const char* name;
        ContentLine* line;
        bool* has;
    } wanted[] = {
        {"DTSTART", &found.start, &found.has_start},
        {k_summary, &found.summary, &found.has_summary},
        {k_location, &found.location, &found.has_location},
        {"DESCRIPTION", &found.description, &found.has_description},
    };
    for (int from = begin; from >= 0 && from < end;) {
        ContentLine line{};
        const bool is_property = read_content_line(text, from, line);
        for (const auto& w : wanted) {
            if (is_property && !*w.has && is_named(text, line, w.name)) {
                *w.line = line;
                *w.has = true;
            }
        }
        from = line.end < text.length ? line.end + 1 : -1;
    }
    return found;
}

bool is_space(char c) { return c == ' ' || c == '\t'; }

TextSpan trimmed(TextSpan piece) {
    while (piece.length > 0 && is_space(piece.bytes[0])) {
        ++piece.bytes;
        --piece.length;
    }
    while (piece.length > 0 && is_space(piece.bytes[piece.length - 1])) --piece.length;
    return piece;
}

// The part of the piece from from up to end.
TextSpan part(TextSpan piece, int from, int end) { return {piece.bytes + from, end - from}; }

// The field number `index` of the piece split at each comma, trimmed; empty past the last.
TextSpan comma_field(TextSpan piece, int index) {
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int comma = find_byte(piece, start, piece.length, ',');
        if (comma < 0) return part(piece, piece.length, piece.length);
        start = comma + 1;
    }
    const int comma = find_byte(piece, start, piece.length, ',');
    return trimmed(part(piece, start, comma < 0 ? piece.length : comma));
}

// The last comma-separated field, trimmed.
TextSpan last_comma_field(TextSpan piece) {
    return trimmed(part(piece, find_last_byte(piece, 0, piece.length, ',') + 1, piece.length));
}

int count_of(TextSpan piece, char c) {
    int count = 0;
    for (int i = 0; i < piece.length; ++i) count += piece.bytes[i] == c ? 1 : 0;
    return count;
}

// Takes a trailing "(...)" off the piece; its inside goes to inside. False when the piece
// does not end in one.
bool take_parenthesised(TextSpan& piece, TextSpan& inside) {
    piece = trimmed(piece);
    if (piece.length == 0 || piece.bytes[piece.length - 1] != ')') return false;
    const int open = find_last_byte(piece, 0, piece.length - 1, '(');
    if (open < 0) return false;
    inside = part(piece, open + 1, piece.length - 1);
    piece = trimmed(part(piece, 0, open));
    return true;
}

// True for the inside of a result: digits, blanks and colons, with a digit among them.
bool is_result(TextSpan inside) {
    bool digit = false;
    for (int i = 0; i < inside.length; ++i) {
        const char c = inside.bytes[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (c != ' ' && c != ':') {
            return false;
        }
    }
    return digit;
}

// The piece up to its first line feed, trimmed.
TextSpan first_line(TextSpan piece) {
    const int feed = find_byte(piece, 0, piece.length, '\n');
    return trimmed(feed < 0 ? piece : part(piece, 0, feed));
}

// Copies a piece into a field, cut on a character boundary where it is too long.
void copy_cut(char* field, size_t size, TextSpan piece) {
    copy_bytes(field, size, piece.bytes, utf8_cut_length(piece.bytes, static_cast<size_t>(piece.length), size - 1));
}

// The summary's two names and its league; false when it has no " - " or a name is empty
// or too long.
struct Summary {
    TextSpan home;
    TextSpan away;
    TextSpan league;
};

TeamsRead read_summary(TextSpan text, const EventLines& lines, char (&value)[k_value_size], Summary& summary) {
    if (!lines.has_summary) return TeamsRead::no_summary;
    bool cut = false;
    const TextSpan whole{value, static_cast<int32_t>(
                                       unescape_text(text, lines.summary.value, lines.summary.end, value, sizeof value, cut))};
    const int separator = find_text(whole, 0, whole.length, summary_separator);
    if (separator < 0) return TeamsRead::no_summary;
    if (cut) return TeamsRead::bad_name;  // a summary longer than any two names and a league

    TextSpan away = part(whole, separator + static_cast<int>(std::strlen(summary_separator)), whole.length);
    TextSpan inside{};
    TextSpan league = part(whole, 0, 0);
    TextSpan rest = away;
    if (take_parenthesised(rest, inside) && is_result(inside)) away = rest;
    rest = away;
    bool league_found = take_parenthesised(rest, inside);
    if (league_found) {
        away = rest;
        league = trimmed(inside);
    }
    const int comma = find_text(away, 0, away.length, ", ");
    if (comma >= 0) {
        if (!league_found) league = last_comma_field(part(away, comma + 2, away.length));
        away = part(away, 0, comma);
    }
    summary.home = trimmed(part(whole, 0, separator));
    summary.away = trimmed(away);
    summary.league = first_line(league);
    // A name is one line of the table: an escaped line break ("\n") cannot stand in it.
    const auto is_name = [](TextSpan name) {
        return name.length > 0 && name.length < k_opponent_size && find_byte(name, 0, name.length, '\n') < 0;
    };
    return is_name(summary.home) && is_name(summary.away) ? TeamsRead::done : TeamsRead::bad_name;
}

// Date and time of the start: 8 digits, optionally "T" and at least four digits, and "Z"
// at most behind them. A start in UTC becomes German time; one without a time gets "--".
bool read_start(TextSpan text, const ContentLine& line, MatchRecord& row) {
    int end = line.end;
    while (end > line.value && is_blank(text.bytes[end - 1])) --end;
    int pos = line.value;
    const auto digits = [&](int count) {
        for (int i = 0; i < count; ++i) {
            if (pos + i >= end || !std::isdigit(static_cast<unsigned char>(text.bytes[pos + i]))) return false;
        }
        return true;
    };
    if (!digits(k_date_digits)) return false;
    const int date = pos;
    pos += k_date_digits;
    int time = -1;
    if (pos < end && text.bytes[pos] == 'T') {
        ++pos;
        if (!digits(k_time_digits)) return false;
        time = pos;
        while (pos < end && std::isdigit(static_cast<unsigned char>(text.bytes[pos]))) ++pos;
        if (pos < end && (text.bytes[pos] == 'Z' || text.bytes[pos] == 'z')) ++pos;
    }
    if (pos != end) return false;

    copy_bytes(row.year, sizeof row.year, text.bytes + date, 4);
    copy_bytes(row.month, sizeof row.month, text.bytes + date + 4, 2);
    copy_bytes(row.day, sizeof row.day, text.bytes + date + 6, 2);
    if (time < 0) {
        copy_text(row.hour, sizeof row.hour, k_no_time);
        copy_text(row.minute, sizeof row.minute, k_no_time);
        compute_weekday(row);
        return true;
    }
    copy_bytes(row.hour, sizeof row.hour, text.bytes + time, 2);
    copy_bytes(row.minute, sizeof row.minute, text.bytes + time + 2, 2);
    compute_weekday(row);
    if (starts_in_utc(text, line)) utc_to_german_time(row);
    return true;
}

// League and venue: from the original site's description and the location's last field,
// else from the summary or the description's first line and the location's first field.
void take_league_and_venue(TextSpan text, const EventLines& lines, TextSpan summary_league, MatchRecord& row) {
    char description[k_value_size] = "";
    char location[k_value_size] = "";
    bool cut = false;
    TextSpan described{description, 0};
    TextSpan located{location, 0};
    if (lines.has_description) {
        described.length = static_cast<int32_t>(
            unescape_text(text, lines.description.value, lines.description.end, description, sizeof description, cut));
    }
    if (lines.has_location) {
        located.length = static_cast<int32_t>(
            unescape_text(text, lines.location.value, lines.location.end, location, sizeof location, cut));
    }
    // shorten_venue stops at a line feed inside the text.
    const auto shorten = [&](TextSpan venue) {
        shorten_venue(row.venue, venue.bytes, static_cast<size_t>(venue.length));
    };

    if (count_of(described, ',') >= k_original_description_commas) {
        copy_cut(row.league, sizeof row.league, first_line(comma_field(described, k_league_field)));
        shorten(last_comma_field(located));
        return;
    }
    TextSpan league = summary_league;
    if (league.length == 0 && find_byte(described, 0, described.length, '\n') >= 0) {
        league = first_line(described);
    }
    copy_cut(row.league, sizeof row.league, league);
    shorten(comma_field(located, 0));
    if (row.venue[0] == '\0') shorten(last_comma_field(located));
}

// The summary's two names into home and away.
void copy_teams(const Summary& summary, char (&home)[k_opponent_size], char (&away)[k_opponent_size]) {
    copy_bytes(home, sizeof home, summary.home.bytes, static_cast<size_t>(summary.home.length));
    copy_bytes(away, sizeof away, summary.away.bytes, static_cast<size_t>(summary.away.length));
}

}  // namespace

TeamsRead event_teams(TextSpan text, int begin, int end, char (&home)[k_opponent_size],
                      char (&away)[k_opponent_size]) {
    const EventLines lines = lines_of(text, begin, end);
    char value[k_value_size];
    Summary summary{};
    const TeamsRead result = read_summary(text, lines, value, summary);
    if (result != TeamsRead::done) return result;
    copy_teams(summary, home, away);
    return TeamsRead::done;
}

bool parse_event_by_name(TextSpan text, int begin, int end, const char* own_team, MatchRecord& row) {
    const EventLines lines = lines_of(text, begin, end);
    char value[k_value_size];
    Summary summary{};
    if (!lines.has_start || read_summary(text, lines, value, summary) != TeamsRead::done ||
        !read_start(text, lines.start, row)) {
        std::memset(&row, 0, sizeof row);
        return false;
    }
    char home[k_opponent_size];
    copy_bytes(home, sizeof home, summary.home.bytes, static_cast<size_t>(summary.home.length));
    // The club plays at home when its name stands inside the home team's name.
    row.is_home = std::strstr(home, own_team) != nullptr ? 1 : 0;
    const TextSpan opponent = row.is_home != 0 ? summary.away : summary.home;
    copy_bytes(row.opponent, sizeof row.opponent, opponent.bytes, static_cast<size_t>(opponent.length));
    row.team_digit = team_digit_of(own_team);
    take_league_and_venue(text, lines, summary.league, row);
    return true;
}

bool event_calendar_text(TextSpan text, int begin, int end, char (&home)[k_opponent_size],
                         char (&away)[k_opponent_size], char (&location)[k_location_size]) {
    // The two lines wanted, found by their first bytes before a line is read whole.
    EventLines lines{};
    for (int from = begin; from >= 0 && from < end && !(lines.has_summary && lines.has_location);) {
        ContentLine line{};
        if (!lines.has_summary && marker_at(text, from, k_summary) && read_content_line(text, from, line) &&
            is_named(text, line, k_summary)) {
            lines.summary = line;
            lines.has_summary = true;
        } else if (!lines.has_location && marker_at(text, from, k_location) && read_content_line(text, from, line) &&
                   is_named(text, line, k_location)) {
            lines.location = line;
            lines.has_location = true;
        }
        const int feed = line_end(text, from);
        from = feed < 0 ? -1 : feed + 1;
    }
    char value[k_value_size];
    location[0] = '\0';
    if (lines.has_location) {
        bool cut = false;
        const size_t length = unescape_text(text, lines.location.value, lines.location.end, value, sizeof value, cut);
        copy_bytes(location, sizeof location, value, utf8_cut_length(value, length, sizeof location - 1));
    }
    Summary summary{};
    if (read_summary(text, lines, value, summary) != TeamsRead::done) return false;
    copy_teams(summary, home, away);
    return true;
}

bool is_cancelled(TextSpan text, int begin, int end) {
    for (int from = begin; from >= 0 && from < end;) {
        // marker_at tells most lines by their first byte, before a line is read whole.
        ContentLine line{};
        if (marker_at(text, from, k_status) && read_content_line(text, from, line) && is_named(text, line, k_status)) {
            return has_value(text, line, k_cancelled);
        }
        const int feed = line_end(text, from);
        from = feed < 0 ? -1 : feed + 1;
    }
    return false;
}
