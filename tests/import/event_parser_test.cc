// One event read: the summary's forms (result, league in parentheses, competition and
// league behind commas, blanks and escapes), the club's team and its number, starts in UTC
// on either side of both clock changes and across the year's end, a start without a time,
// where league and venue come from, where an event ends, and the forms that refuse an
// event. Whole rows compared.
#include "import/event_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match_rows.h"

namespace {

constexpr char k_own_team[] = "TuS Lindenbr\xC3\xBC" "ck 2";

// One event's lines; each default can be replaced, or left out with "".
struct Event {
    std::string start = "DTSTART:20250922T180000Z";
    std::string summary = "SUMMARY:TTC Rabenau 3 - TuS Lindenbr\xC3\xBC" "ck 2 (Bezirksliga Nord)";
    std::string location = "LOCATION:Stadthalle Rabenau, Am Markt 2, 35998, Rabenau";
    std::string description = "DESCRIPTION:Spielnummer: 4711";  // labelled: no league
    std::string extra = "STATUS:CONFIRMED";
};

std::string event_text(const Event& e) {
    std::string text = "BEGIN:VEVENT\nUID: tt-1@example\n";
    for (const std::string* line : {&e.extra, &e.summary, &e.description, &e.location, &e.start}) {
        if (!line->empty()) text += *line + "\n";
    }
    return text + "END:VEVENT\n";
}

DeclaredZones k_no_zones{};

// Reads the event as the club's team own_team; false when it is refused.
bool read(const Event& e, MatchRecord& row, const char* own_team = k_own_team) {
    const std::string text = event_text(e);
    ParsedEvent event{};
    const bool read = parse_event({text.data(), static_cast<int32_t>(text.size())}, 0, k_no_zones, event) == EventRead::done;
    if (read) take_club_side(event.row, event.home, event.away, own_team);
    row = event.row;
    return read;
}

const RowSpec k_row{"20250922", "Mo", "2000", "Stadthalle Rabenau", 0, '2', "Bezirksliga Nord", "TTC Rabenau 3"};

RowSpec row_with(std::string RowSpec::*field, const std::string& value, const RowSpec& base = k_row) {
    RowSpec r = base;
    r.*field = value;
    return r;
}

Event event_with(std::string Event::*field, const std::string& value) {
    Event e;
    e.*field = value;
    return e;
}

// An event whose summary names no league, with the given description.
Event described(const std::string& description) {
    Event e = event_with(&Event::summary, "SUMMARY:TTC Rabenau 3 - TuS Lindenbr\xC3\xBC" "ck 2");
    e.description = "DESCRIPTION:" + description;
    return e;
}

struct Case {
    const char* name;
    Event event;
    RowSpec row;
};

TEST(EventParser, RowsOfEveryForm) {
    const RowSpec home{"20250922", "Mo", "2000", "Stadthalle Rabenau", 1, '2', "Bezirksliga Nord", "SV Hohenfels 1"};
    const Case cases[] = {
        {"table-tennis event", Event{}, k_row},
        {"home match", event_with(&Event::summary, "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 - SV Hohenfels 1 (Bezirksliga Nord)"),
         home},
        {"result taken off, then the league", event_with(&Event::summary,
             "summary:TuS Lindenbr\xC3\xBC" "ck 2 - SV Hohenfels 1 (Bezirksliga Nord) (34 : 25)"), home},
        {"a result alone is no league", event_with(&Event::summary,
             "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 - SV Hohenfels 1 (34:25)"), row_with(&RowSpec::league, "", home)},
        {"competition and league behind commas", event_with(&Event::summary,
             "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 -  SV Hohenfels 1 , Meisterschaften, Kreisklasse 5"),
         row_with(&RowSpec::league, "Kreisklasse 5", home)},
        {"escaped commas in the summary", event_with(&Event::summary,
             "SUMMARY:TuS Lindenbr\xC3\xBC" "ck 2 - SV Hohenfels 1\\, Pokal\\, Kreispokal"),
         row_with(&RowSpec::league, "Kreispokal", home)},
        {"league from the description's first line", described("3. Liga Frauen\\nSpieltag 1\\nhttps://example"),
         row_with(&RowSpec::league, "3. Liga Frauen")},
        {"a description of one line gives the league", described("Kreisklasse 2"),
         row_with(&RowSpec::league, "Kreisklasse 2")},
        {"a labelled first line gives no league", described("Spielnummer: 4711\\nBezirksliga"),
         row_with(&RowSpec::league, "")},
        {"a link gives no league", described("WWW.tt-liga.example/spiel/4711"), row_with(&RowSpec::league, "")},
        {"two words before a colon are no label", described("Kreisklasse A: Staffel 2"),
         row_with(&RowSpec::league, "Kreisklasse A: Staffel 2")},
        {"the original site's description and location", [] {
             Event e = event_with(&Event::description, "DESCRIPTION:Spiel 117, Staffel 4, Kreisklasse West, Spieltag 3");
             e.location = "LOCATION:Am Sportplatz 4, Beispielheim, Sporthalle der Grundschule Beispielheim";
             return e;
         }(), row_with(&RowSpec::league, "Kreisklasse West", row_with(&RowSpec::venue, "GS Beispielheim"))},
        {"a hall that shortens to nothing gives the town", event_with(&Event::location,
             "LOCATION:Turnhalle, Schulweg 3, 35999, Lindenbr\xC3\xBC" "ck"),
         row_with(&RowSpec::venue, "Lindenbr\xC3\xBC" "ck")},
        {"escaped location, hall first", event_with(&Event::location,
             "LOCATION:Sportpark Lindenbr\xC3\xBC" "ck\\, Platz 2\\, Am Sportpark 1\\, 35999 Lindenbr\xC3\xBC" "ck"),
         row_with(&RowSpec::venue, "Sportpark Lindenbr\xC3\xBC" "ck")},
        {"no location", event_with(&Event::location, ""), row_with(&RowSpec::venue, "")},
        {"a league over 49 bytes is cut on a character boundary", event_with(&Event::summary,
             "SUMMARY:TTC Rabenau 3 - TuS Lindenbr\xC3\xBC" "ck 2 (" + std::string(48, 'L') + "\xC3\xA4" "x)"),
         row_with(&RowSpec::league, std::string(48, 'L'))},
        // Starts: UTC either side of both clock changes and across the year's end; local times as written.
        {"UTC before the spring change", event_with(&Event::start, "DTSTART:20260329T005900Z"),
         row_with(&RowSpec::time, "0159", row_with(&RowSpec::date, "20260329", row_with(&RowSpec::weekday, "So")))},
        {"UTC at the spring change", event_with(&Event::start, "DTSTART;TZID=Etc/UTC:20260329T010000"),
         row_with(&RowSpec::time, "0300", row_with(&RowSpec::date, "20260329", row_with(&RowSpec::weekday, "So")))},
        {"UTC before the autumn change", event_with(&Event::start, "DTSTART;TZID=UTC:20251026T005900"),
         row_with(&RowSpec::time, "0259", row_with(&RowSpec::date, "20251026", row_with(&RowSpec::weekday, "So")))},
        {"UTC at the autumn change", event_with(&Event::start, "DTSTART;TZID=\"GMT\":20251026T010000"),
         row_with(&RowSpec::time, "0200", row_with(&RowSpec::date, "20251026", row_with(&RowSpec::weekday, "So")))},
        {"UTC across the year's end", event_with(&Event::start, "DTSTART:20251231T233000Z"),
         row_with(&RowSpec::time, "0030", row_with(&RowSpec::date, "20260101", row_with(&RowSpec::weekday, "Do")))},
        {"no real date stays as written", event_with(&Event::start, "DTSTART:20250231T233000Z"),
         row_with(&RowSpec::time, "2330", row_with(&RowSpec::date, "20250231", row_with(&RowSpec::weekday, "Mo")))},
        {"Berlin time as written", event_with(&Event::start, "DTSTART;TZID=Europe/Berlin:20250922T200000"), k_row},
        {"floating time with seconds", event_with(&Event::start, "DTSTART:20250922T200015"), k_row},
        {"a date without a time", event_with(&Event::start, "DTSTART;VALUE=DATE:20250922"),
         row_with(&RowSpec::time, "----")},
        // Names: trimmed of every blank around them, unescaped, the summary with a parameter.
        {"blanks around both names", event_with(&Event::summary,
             "SUMMARY:  TTC Rabenau 3 \t -   TuS Lindenbr\xC3\xBC" "ck 2  (Bezirksliga Nord) "), k_row},
        {"an escape in a name and a parameter on the summary", event_with(&Event::summary,
             "SUMMARY;LANGUAGE=de:TTC Rabe\\;nau 3 - TuS Lindenbr\xC3\xBC" "ck 2 (Bezirksliga Nord)"),
         row_with(&RowSpec::opponent, "TTC Rabe;nau 3")},
        {"UID: inside another value means nothing", event_with(&Event::extra, "X-NOTE:UID:spiel-2"), k_row},
    };
    for (const Case& c : cases) {
        MatchRecord row{};
        EXPECT_TRUE(read(c.event, row)) << c.name;
        EXPECT_TRUE(same_row(row, c.row)) << c.name;
    }
}

TEST(EventParser, FormsThatRefuseTheEvent) {
    const std::vector<std::pair<const char*, Event>> refused = {
        {"no start", event_with(&Event::start, "")},
        {"a start of dashes", event_with(&Event::start, "DTSTART:2025-09-22")},
        {"a start with three time digits", event_with(&Event::start, "DTSTART:20250922T200")},
        {"a start with a zone name behind", event_with(&Event::start, "DTSTART:20250922T200000 CET")},
        {"no summary", event_with(&Event::summary, "")},
        {"no separator", event_with(&Event::summary, "SUMMARY:TTC Rabenau 3 gegen TuS")},
        {"an empty home team", event_with(&Event::summary, "SUMMARY: - TuS Lindenbr\xC3\xBC" "ck 2")},
        {"an away team of 52 bytes", event_with(&Event::summary, "SUMMARY:TTC Rabenau 3 - " + std::string(52, 'a'))},
    };
    for (const auto& [name, event] : refused) {
        MatchRecord row{};
        EXPECT_FALSE(read(event, row)) << name;
        EXPECT_TRUE(is_zero_row(row)) << name;
    }
    MatchRecord row{};
    EXPECT_TRUE(read(event_with(&Event::summary, "SUMMARY:TTC Rabenau 3 - " + std::string(51, 'a')), row));
}

TEST(EventParser, TeamsCalledOffMatchesAndWhereEventsEnd) {
    // The first event's alarm has a summary and a status of its own; the second event has
    // no END:VEVENT line, so the third one's BEGIN:VEVENT ends it.
    std::string first = event_text(event_with(&Event::summary, "SUMMARY:TB WESTHEIM IV - TB WESTHEIM III (22:30)"));
    first.insert(first.find("UID:"), "BEGIN:VALARM\nSUMMARY:Erinnerung - bald\nSTATUS:CANCELLED\nEND:VALARM\n");
    std::string second = event_text(event_with(&Event::extra, "Status:cancelled"));
    second.erase(second.find("END:VEVENT"));
    const std::string text = first + second + event_text(Event{});
    const TextSpan span{text.data(), static_cast<int32_t>(text.size())};
    char home[k_opponent_size];
    char away[k_opponent_size];
    ASSERT_EQ(TeamsRead::done, event_teams(span, 0, home, away));
    EXPECT_STREQ("TB WESTHEIM IV", home);
    EXPECT_STREQ("TB WESTHEIM III", away);

    ParsedEvent derby{};
    ASSERT_EQ(EventRead::done, parse_event(span, 0, k_no_zones, derby));
    take_club_side(derby.row, derby.home, derby.away, "TB WESTHEIM III");
    EXPECT_TRUE(same_row(derby.row, {"20250922", "Mo", "2000", "Stadthalle Rabenau", 0, '3', "", "TB WESTHEIM IV"}));
    EXPECT_STREQ("TB WESTHEIM IV", derby.home);
    EXPECT_STREQ("Stadthalle Rabenau, Am Markt 2, 35998, Rabenau", derby.location);
    EXPECT_FALSE(derby.cancelled);
    EXPECT_EQ(static_cast<int>(first.size()), derby.next);
    EXPECT_EQ(derby.next, next_event_begin(span, derby.next));

    ParsedEvent called_off{};
    ASSERT_EQ(EventRead::done, parse_event(span, derby.next, k_no_zones, called_off));
    EXPECT_TRUE(called_off.cancelled);
    EXPECT_EQ(static_cast<int>(first.size() + second.size()), called_off.next);
}

struct DigitCase {
    const char* own_team;
    char digit;
};

TEST(EventParser, TheClubsTeamNumber) {
    const DigitCase cases[] = {
        {"TuS Lindenbr\xC3\xBC" "ck 2", '2'}, {"TSG Musterfeld U15", '5'}, {"SG Nord 2 Jugend", '2'},
        {"7 Hills", '1'},   // the first character is not counted
        {"TSG Musterfeld", '1'}, {"TB WESTHEIM III", '3'}, {"TB WESTHEIM IX", '9'}, {"SV XIII", '1'},
    };
    for (const DigitCase& c : cases) EXPECT_EQ(c.digit, team_digit_of(c.own_team)) << c.own_team;
    // The side equal to the club's name is the club's, even where it stands inside the other
    // side's name; only where neither side is the name does the home side count when the
    // name stands inside it.
    const struct {
        const char* home;
        const char* away;
        const char* own_team;
        int is_home;
    } sides[] = {
        {"TV Oststadt", "TV Ost", "TV Ost", 0},
        {"TuS Lindenbr\xC3\xBC" "ck 2", "SV Hohenfels 1", "TuS Lindenbr\xC3\xBC" "ck", 1},
        {"SV Hohenfels 1", "SG Nord", "TuS Lindenbr\xC3\xBC" "ck", 0},
    };
    for (const auto& side : sides) {
        MatchRecord row{};
        take_club_side(row, side.home, side.away, side.own_team);
        EXPECT_EQ(side.is_home, row.is_home) << side.home << " - " << side.away;
        EXPECT_STREQ(side.is_home != 0 ? side.away : side.home, row.opponent) << side.home << " - " << side.away;
    }
}

}  // namespace
