// The one reading of an event. One pass over the event's lines finds the properties it
// uses, the first line of each name (lines of a component nested in the event, such as an
// alarm, do not count), and where the event ends. The summary's away text may carry a
// result ("(34:25)"), a league in parentheses ("(Bezirksliga)") or a competition and
// league behind commas (", Meisterschaften, Kreisklasse 5"); those are taken off the name,
// and the league kept. The league comes from a description of the league site's own form
// (three commas or more: its third field), else from the summary, else from the
// description's first line unless that is a link or labelled ("Spielnummer: 4711") or the
// event is one of the club calendar's own, else from CATEGORIES. The venue is the club
// calendar's own venue line where the event has one (it is read back as it was written);
// else the location's last field on the league site's own events, else the location's
// first field (the hall), or its last (the town) where the hall shortens to nothing.
#include "import/event_parser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "core/bounded_text.h"
#include "core/hash.h"
#include "core/utf8.h"
#include "import/club_name.h"
#include "import/german_time.h"
#include "import/properties.h"
#include "import/summary_sides.h"
#include "import/venue.h"
#include "import/weekday.h"

namespace {

constexpr int k_value_size = 1024;                 // an unescaped text value read whole; a longer one is cut
constexpr int k_date_digits = 8;                   // YYYYMMDD
constexpr int k_time_digits = 4;                   // HHMM; seconds may follow
constexpr int k_original_description_commas = 3;  // "Spiel 4101, Staffel 4, <league>, Spieltag 1"
constexpr int k_league_field = 2;                  // the league is its third field, counted from 0
constexpr char k_no_time[] = "--";                 // hour and minute of a start without a time
constexpr char k_midnight[] = "00";                // hour and minute of a start that stands for no time yet
constexpr char k_event_begin[] = "BEGIN:VEVENT";
constexpr char k_event_end[] = "END:VEVENT";
constexpr char k_component_begin[] = "BEGIN:";
constexpr char k_component_end[] = "END:";
constexpr char k_cancelled[] = "CANCELLED";

// Beginnings of a description line that is a link, not a league; compared without regard to case.
constexpr const char* k_link_starts[] = {"HTTP://", "HTTPS://", "WWW."};

// The properties an event is read by, and their names with their lengths.
enum Property { start, summary, location, description, status, uid, sequence, categories, venue, property_count };
struct PropertyName {
    const char* text;
    int length;
};
constexpr PropertyName name_of(const char* text) {
    return PropertyName{text, static_cast<int>(std::char_traits<char>::length(text))};
}
constexpr PropertyName k_property_names[property_count] = {
    name_of("DTSTART"), name_of("SUMMARY"),  name_of("LOCATION"),   name_of("DESCRIPTION"),    name_of("STATUS"),
    name_of("UID"),     name_of("SEQUENCE"), name_of("CATEGORIES"), name_of(k_venue_property),
};
constexpr int k_largest_sequence = 1000000000;  // beyond any real revision count; more is read as this

// The lines of one event that the reading uses, and where the event ends.
struct EventLines {
    ContentLine line[property_count];
    bool has[property_count];
    int next;  // where the search for the next event goes on
};

// True when the line at line is the marker (any case) with nothing but blanks behind it.
bool is_marker_line(TextSpan text, int line, int end, const char* marker) {
    if (!marker_at(text, line, marker)) return false;
    int rest = line + static_cast<int>(std::strlen(marker));
    while (rest < end && is_blank(text.bytes[rest])) ++rest;
    return rest == end;
}

// True when the line at line is the property name: the name, then ';' or ':'. Calendars
// write their names in capitals, as the names here are: most are known by one comparison.
bool names_property(TextSpan text, int line, int stop, const PropertyName& name) {
    const int behind = line + name.length;
    return behind < stop && (text.bytes[behind] == ':' || text.bytes[behind] == ';') &&
           (std::memcmp(text.bytes + line, name.text, static_cast<size_t>(name.length)) == 0 ||
            marker_at(text, line, name.text));
}

// One pass over the lines of the event whose BEGIN:VEVENT line starts at begin.
EventLines scan_event(TextSpan text, int begin) {
    EventLines found{};
    found.next = text.length;
    int depth = 0;  // components opened inside the event and not yet closed
    int feed = line_end(text, begin);
    while (feed >= 0 && feed + 1 < text.length) {
        const int line = feed + 1;
        feed = line_end(text, line);
        const int stop = feed < 0 ? text.length : feed;
        const char first = ascii_upper(text.bytes[line]);
        if (first == 'B' && marker_at(text, line, k_component_begin)) {
            if (is_marker_line(text, line, stop, k_event_begin)) {
                found.next = line;  // an event without its end: the next one begins here
                return found;
            }
            ++depth;
            continue;
        }
        if (first == 'E' && marker_at(text, line, k_component_end)) {
            if (is_marker_line(text, line, stop, k_event_end)) {
                found.next = feed < 0 ? text.length : feed + 1;
                return found;
            }
            if (depth > 0) --depth;
            continue;
        }
        if (depth > 0) continue;
        for (int p = 0; p < property_count; ++p) {
            if (!found.has[p] && first == k_property_names[p].text[0] && names_property(text, line, stop, k_property_names[p])) {
                const int behind = line + k_property_names[p].length;
                if (text.bytes[behind] == ':') {
                    found.line[p] = ContentLine{line, behind, behind + 1, stop};  // no parameters: nothing to scan
                } else {
                    read_content_line(text, line, found.line[p]);
                }
                found.has[p] = true;
                break;
            }
        }
    }
    return found;
}

// The field number `index` of the piece split at each comma, trimmed; empty past the last.
TextSpan comma_field(TextSpan piece, int index) {
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int comma = find_byte(piece, start, piece.length, ',');
        if (comma < 0) return span_part(piece, piece.length, piece.length);
        start = comma + 1;
    }
    const int comma = find_byte(piece, start, piece.length, ',');
    return trimmed(span_part(piece, start, comma < 0 ? piece.length : comma));
}

// The last comma-separated field, trimmed.
TextSpan last_comma_field(TextSpan piece) {
    return trimmed(span_part(piece, find_last_byte(piece, 0, piece.length, ',') + 1, piece.length));
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
    inside = span_part(piece, open + 1, piece.length - 1);
    piece = trimmed(span_part(piece, 0, open));
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
    return trimmed(feed < 0 ? piece : span_part(piece, 0, feed));
}

// True for a description line that names no league: a link, or a labelled line, a word
// (a letter, then letters, digits or hyphens) with a colon right behind it ("Spielnummer: 4711").
bool is_link_or_label(TextSpan line) {
    const auto links_at_start = [&](const char* start) { return marker_at(line, 0, start); };
    if (std::any_of(std::begin(k_link_starts), std::end(k_link_starts), links_at_start)) return true;
    const auto is_letter = [](char c) {
        return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
    };
    if (line.length == 0 || !is_letter(line.bytes[0])) return false;
    int at = 1;
    while (at < line.length && (is_letter(line.bytes[at]) || std::isdigit(static_cast<unsigned char>(line.bytes[at])) ||
                                line.bytes[at] == '-')) {
        ++at;
    }
    return at < line.length && line.bytes[at] == ':';
}

// Copies a piece into a field, cut on a character boundary where it is too long.
void copy_cut(char* field, size_t size, TextSpan piece) {
    copy_bytes(field, size, piece.bytes, utf8_cut_length(piece.bytes, static_cast<size_t>(piece.length), size - 1));
}

// A property's value, unescaped into value; empty when the event has no such line.
TextSpan unescaped(TextSpan text, const EventLines& lines, Property p, char (&value)[k_value_size], bool& cut) {
    cut = false;
    value[0] = '\0';
    if (!lines.has[p]) return {value, 0};
    const ContentLine& line = lines.line[p];
    return {value, static_cast<int32_t>(unescape_text(text, line.value, line.end, value, sizeof value, cut))};
}

// The summary's two names and its league.
struct Summary {
    TextSpan home;
    TextSpan away;
    TextSpan league;
};

// The unescaped texts that a summary's spans point into, kept by the caller for as long as
// it reads the names.
struct SummaryTexts {
    char summary[k_value_size];
    char description[k_value_size];
};

// Cuts the summary at its separator (find_side_separator) into the two names, a result,
// dates and a league taken off the away side; the description's lines "Heim:" and "Gast:"
// name the sides where it has both, the summary's text in front of the home name then
// being the league unless the away side names one; bad_name when a name is empty, longer
// than 51 bytes or holds a line break.
// cppcheck-suppress constParameter ; the unescaped texts are written into texts
TeamsRead split_summary(TextSpan text, const EventLines& lines, SummaryTexts& texts, Summary& summary) {
    bool cut = false;
    char (&value)[k_value_size] = texts.summary;
    TextSpan whole = unescaped(text, lines, Property::summary, value, cut);
    // The club calendar marks a called-off match in front of its summary; no name begins so.
    constexpr int k_title_length = sizeof k_cancelled_title - 1;
    if (whole.length > k_title_length && std::strncmp(whole.bytes, k_cancelled_title, k_title_length) == 0) {
        whole = span_part(whole, k_title_length, whole.length);
    }
    const SideSeparator separator = find_side_separator(whole);
    char (&description)[k_value_size] = texts.description;
    bool description_cut = false;
    TextSpan labelled_home{};
    TextSpan labelled_away{};
    const bool labelled = labelled_sides(unescaped(text, lines, Property::description, description, description_cut),
                                         labelled_home, labelled_away);
    if (separator.at < 0 && !labelled) return TeamsRead::no_summary;
    if (cut) return TeamsRead::bad_name;  // a summary longer than any two names and a league

    TextSpan away = span_part(whole, separator.at < 0 ? whole.length : separator.at + separator.length, whole.length);
    away.length = drop_date_fields(value + (away.bytes - value), away.length);
    TextSpan inside{};
    TextSpan league = span_part(whole, 0, 0);
    TextSpan rest = away;
    if (take_parenthesised(rest, inside) && is_result(inside)) away = rest;
    rest = away;
    const bool league_found = take_parenthesised(rest, inside);
    if (league_found) {
        away = rest;
        league = trimmed(inside);
    }
    const int comma = find_text(away, 0, away.length, ", ");
    if (comma >= 0) {
        if (!league_found) league = last_comma_field(span_part(away, comma + 2, away.length));
        away = span_part(away, 0, comma);
    }
    summary.home = trimmed(without_match_number(without_leading_symbol(span_part(whole, 0, separator.at < 0 ? 0 : separator.at))));
    summary.away = trimmed(without_match_number(trimmed(away)));
    summary.league = first_line(league);
    if (labelled) {
        summary.home = trimmed(labelled_home);
        summary.away = trimmed(labelled_away);
        if (summary.league.length == 0) summary.league = first_line(text_in_front_of(whole, summary.home));
    }
    // A name is one line of the table: an escaped line break ("\n") cannot stand in it.
    const auto is_name = [](TextSpan name) {
        return name.length > 0 && name.length < k_opponent_size && find_byte(name, 0, name.length, '\n') < 0;
    };
    return is_name(summary.home) && is_name(summary.away) ? TeamsRead::done : TeamsRead::bad_name;
}

// Date and time of the start: 8 digits, optionally "T" and at least four digits, and "Z"
// at most behind them. A start in UTC becomes German time; one without a time gets "--".
EventRead read_start(TextSpan text, const ContentLine& line, DeclaredZones& zones, MatchRecord& row) {
    const int end = line.value + trimmed_value(text, line).length;
    int pos = line.value;
    const auto digits = [&](int count) {
        for (int i = 0; i < count; ++i) {
            if (pos + i >= end || !std::isdigit(static_cast<unsigned char>(text.bytes[pos + i]))) return false;
        }
        return true;
    };
    if (!digits(k_date_digits)) return EventRead::layout;
    const int date = pos;
    pos += k_date_digits;
    int time = -1;
    bool in_utc = false;
    if (pos < end && text.bytes[pos] == 'T') {
        ++pos;
        if (!digits(k_time_digits)) return EventRead::layout;
        time = pos;
        while (pos < end && std::isdigit(static_cast<unsigned char>(text.bytes[pos]))) ++pos;
        in_utc = pos < end && ascii_upper(text.bytes[pos]) == 'Z';
        if (in_utc) ++pos;
    }
    if (pos != end) return EventRead::layout;
    // A date alone has no clock; a time in a zone of its own would be shown wrong.
    const StartClock clock = time < 0 ? StartClock::german : in_utc ? StartClock::utc : start_clock(text, line, zones);
    if (clock == StartClock::unknown) return EventRead::unknown_zone;

    copy_bytes(row.year, sizeof row.year, text.bytes + date, 4);
    copy_bytes(row.month, sizeof row.month, text.bytes + date + 4, 2);
    copy_bytes(row.day, sizeof row.day, text.bytes + date + 6, 2);
    if (time < 0) {
        copy_text(row.hour, sizeof row.hour, k_no_time);
        copy_text(row.minute, sizeof row.minute, k_no_time);
    } else {
        copy_bytes(row.hour, sizeof row.hour, text.bytes + time, 2);
        copy_bytes(row.minute, sizeof row.minute, text.bytes + time + 2, 2);
    }
    // The German time computes the weekday of the date it moves to.
    if (clock != StartClock::utc || !utc_to_german_time(row)) compute_weekday(row);
    // No amateur match starts at midnight: a start at 00:00 German time has no time yet.
    if (std::strcmp(row.hour, k_midnight) == 0 && std::strcmp(row.minute, k_midnight) == 0) {
        copy_text(row.hour, sizeof row.hour, k_no_time);
        copy_text(row.minute, sizeof row.minute, k_no_time);
    }
    return EventRead::done;
}

// League, venue and the whole location: from the league site's own description and the
// location's last field, else from the summary or the description's first line and the
// location's first field.
void take_league_and_venue(TextSpan text, const EventLines& lines, TextSpan summary_league, ParsedEvent& event) {
    MatchRecord& row = event.row;
    char description[k_value_size];
    char location[k_value_size];
    bool cut = false;
    const TextSpan described = unescaped(text, lines, Property::description, description, cut);
    const TextSpan located = unescaped(text, lines, Property::location, location, cut);
    copy_cut(event.location, sizeof event.location, located);
    // shorten_venue stops at a line feed inside the text.
    const auto shorten = [&](TextSpan venue) {
        shorten_venue(row.venue, venue.bytes, static_cast<size_t>(venue.length));
    };

    if (count_of(described, ',') >= k_original_description_commas) {
        copy_cut(row.league, sizeof row.league, first_line(comma_field(described, k_league_field)));
        shorten(last_comma_field(located));
        return;
    }
    // The club calendar's own events, read back, name their league in CATEGORIES: their
    // description is the club's team and the league.
    const bool own_event = lines.has[Property::venue];
    TextSpan league = summary_league;
    if (league.length == 0 && !own_event && !is_link_or_label(first_line(described))) league = first_line(described);
    if (own_event) {
        char categories[k_value_size];
        copy_cut(row.league, sizeof row.league, first_line(unescaped(text, lines, Property::categories, categories, cut)));
    } else if (league.length > 0) {
        copy_cut(row.league, sizeof row.league, league);
    } else {
        char categories[k_value_size];
        copy_cut(row.league, sizeof row.league, first_line(comma_field(unescaped(text, lines, Property::categories, categories, cut), 0)));
    }
    char written_venue[k_value_size];
    const TextSpan own_venue = unescaped(text, lines, Property::venue, written_venue, cut);
    if (own_event) {
        copy_cut(row.venue, sizeof row.venue, first_line(own_venue));
        return;
    }
    const TextSpan town = address_town(located);
    if (town.length > 0) {
        shorten(town);
        return;
    }
    shorten(comma_field(located, 0));
    if (row.venue[0] == '\0') shorten(last_comma_field(located));
}

// The event's UID, kept whole where it fits, else as the hexadecimal form of its hash
// behind a "#", which no UID kept whole can be confused with as it is always longer.
void take_uid(TextSpan text, const EventLines& lines, char (&uid)[k_uid_size]) {
    char value[k_value_size];
    bool cut = false;
    const TextSpan whole = trimmed(unescaped(text, lines, Property::uid, value, cut));
    if (!cut && whole.length < k_uid_size) {
        copy_bytes(uid, sizeof uid, whole.bytes, static_cast<size_t>(whole.length));
        return;
    }
    const ContentLine& line = lines.line[Property::uid];
    uid[0] = '#';
    hex_digits(hash_bytes(k_hash_start, text.bytes + line.value, static_cast<size_t>(line.end - line.value)), 16, uid + 1);
}

// The event's SEQUENCE: its digits, 0 when it has none or they are no number.
int32_t take_sequence(TextSpan text, const EventLines& lines) {
    if (!lines.has[Property::sequence]) return 0;
    const ContentLine& line = lines.line[Property::sequence];
    int32_t value = 0;
    for (int i = line.value; i < line.end && !is_blank(text.bytes[i]); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text.bytes[i]))) return 0;
        value = value >= k_largest_sequence / 10 ? k_largest_sequence : value * 10 + (text.bytes[i] - '0');
    }
    return value;
}

void copy_name(char (&field)[k_opponent_size], TextSpan name) {
    copy_bytes(field, sizeof field, name.bytes, static_cast<size_t>(name.length));
}

}  // namespace

int next_event_begin(TextSpan text, int from) {
    for (int line = from; line >= 0 && line < text.length;) {
        const int feed = line_end(text, line);
        if (is_marker_line(text, line, feed < 0 ? text.length : feed, k_event_begin)) return line;
        line = feed < 0 ? -1 : feed + 1;
    }
    return -1;
}

TeamsRead event_teams(TextSpan text, int begin, char (&home)[k_opponent_size], char (&away)[k_opponent_size]) {
    const EventLines lines = scan_event(text, begin);
    if (!lines.has[Property::summary]) return TeamsRead::no_summary;
    SummaryTexts texts;  // NOLINT(cppcoreguidelines-pro-type-member-init): unescaped fills what is read
    Summary summary{};
    const TeamsRead result = split_summary(text, lines, texts, summary);
    if (result != TeamsRead::done) return result;
    copy_name(home, summary.home);
    copy_name(away, summary.away);
    return TeamsRead::done;
}

EventRead parse_event(TextSpan text, int begin, DeclaredZones& zones, ParsedEvent& event) {
    const EventLines lines = scan_event(text, begin);
    event.next = lines.next;
    SummaryTexts texts;  // NOLINT(cppcoreguidelines-pro-type-member-init): unescaped fills what is read
    Summary summary{};
    MatchRecord& row = event.row;
    EventRead read = EventRead::layout;
    if (lines.has[Property::start] && lines.has[Property::summary] &&
        split_summary(text, lines, texts, summary) == TeamsRead::done) {
        read = read_start(text, lines.line[Property::start], zones, row);
    }
    if (read != EventRead::done) {
        std::memset(&row, 0, sizeof row);
        return read;
    }
    copy_name(event.home, summary.home);
    copy_name(event.away, summary.away);
    take_league_and_venue(text, lines, summary.league, event);
    if (lines.has[Property::uid]) take_uid(text, lines, event.uid);
    event.sequence = take_sequence(text, lines);
    event.cancelled = lines.has[Property::status] && has_value(text, lines.line[Property::status], k_cancelled);
    return EventRead::done;
}

void take_club_side(MatchRecord& row, const char* home, const char* away, const char* own_team) {
    if (std::strcmp(home, own_team) == 0) {
        row.is_home = 1;
    } else if (std::strcmp(away, own_team) == 0) {
        row.is_home = 0;
    } else {
        row.is_home = std::strstr(home, own_team) != nullptr ? 1 : 0;
    }
    copy_text(row.opponent, sizeof row.opponent, row.is_home != 0 ? away : home);
    row.team_digit = team_digit_of(own_team);
}

char team_digit_of(const char* own_team) {
    const size_t length = strnlen(own_team, k_team_name_size);
    for (size_t i = length; i > 1; --i) {
        if (std::isdigit(static_cast<unsigned char>(own_team[i - 1]))) return own_team[i - 1];
    }
    size_t word = length;
    while (word > 0 && own_team[word - 1] != ' ') --word;
    const int roman = word > 0 ? roman_team_number(own_team + word, length - word) : 0;
    if (roman > 0) return static_cast<char>('0' + roman);
    return '1';
}
