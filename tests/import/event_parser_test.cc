// Event parser: the worked event and its variants as whole rows, the layout checks that
// refuse an event (with their boundaries), and no read past the end of the text given.
#include "import/event_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar_texts.h"
#include "match_rows.h"

namespace {

constexpr char k_own_team[] = "TSG Musterfeld 2";

// Parses text from its start into a fresh row, as the club's team own_team.
class EventParser : public ::testing::Test {
protected:
    void SetUp() override {
        parsed = MatchRecord{};
        own_team = k_own_team;
        next = -1;
    }
    bool parse(const std::string& text) {
        given = text;
        next = parse_event(TextSpan{given.data(), static_cast<int32_t>(given.size())}, 0, own_team.c_str(), parsed);
        return next >= 0;
    }
    const MatchRecord& row() const { return parsed; }
    std::string rest() const { return given.substr(static_cast<size_t>(next)); }

    MatchRecord parsed{};
    std::string own_team;
    std::string given;
    int next = -1;
};

const RowSpec k_worked_row{"20250913", "Sa", "1500", "GS Beispielheim", 0, '2', "Kreisklasse West", "BC Beispielheim 1"};

TEST_F(EventParser, WorkedEvent) {
    ASSERT_TRUE(parse(event_lines(EventSpec{}) + "END:VEVENT\n"));
    EXPECT_TRUE(same_row(row(), k_worked_row));
    EXPECT_EQ(" Spieltag 3\nEND:VEVENT\n", rest());
}

struct VariantCase {
    const char* name;
    const char* own_team;
    EventSpec event;
    RowSpec row;
};

// The worked event with one field changed.
EventSpec with(std::string EventSpec::*field, const std::string& value) {
    EventSpec e;
    e.*field = value;
    return e;
}
EventSpec with_summary(const std::string& summary) { return with(&EventSpec::summary, summary); }
EventSpec with_start(const std::string& start) { return with(&EventSpec::start, start); }
EventSpec with_location(const std::string& location) { return with(&EventSpec::location, location); }
EventSpec with_description(const std::string& text) { return with(&EventSpec::description, text); }

RowSpec worked_with(int is_home, const std::string& opponent, char digit = '2') {
    RowSpec r = k_worked_row;
    r.is_home = is_home;
    r.opponent = opponent;
    r.team_digit = digit;
    return r;
}
RowSpec worked_row_with(std::string RowSpec::*field, const std::string& value) {
    RowSpec r = k_worked_row;
    r.*field = value;
    return r;
}

TEST_F(EventParser, Variants) {
    const std::string skipped(300, 'x');
    const VariantCase cases[] = {
        {"home match", k_own_team, with_summary("TSG Musterfeld 2 - BC Beispielheim 1"),
         worked_with(1, "BC Beispielheim 1")},
        {"away name with a trailing blank", k_own_team, with_summary("TSG Musterfeld 2 - BC Beispielheim 1 "),
         worked_with(1, "BC Beispielheim 1")},
        {"away name with two trailing blanks", k_own_team, with_summary("TSG Musterfeld 2 - BC Beispielheim 1  "),
         worked_with(1, "BC Beispielheim 1 ")},
        {"home name with two blanks before the separator", k_own_team,
         with_summary("BC Beispielheim 1  - TSG Musterfeld 2"), worked_with(0, "BC Beispielheim 1")},
        {"home name with three blanks before the separator", k_own_team,
         with_summary("BC Beispielheim 1   - TSG Musterfeld 2"), worked_with(0, "BC Beispielheim 1 ")},
        {"own team in neither name", k_own_team, with_summary("SV Nord 1 - SV Sued 1"), worked_with(0, "SV Nord 1")},
        {"own team inside a longer home name; no digit means team 1", "TSG Musterfeld",
         with_summary("TSG Musterfeld 2 - BC Beispielheim 1"), worked_with(1, "BC Beispielheim 1", '1')},
        {"home name cut at its first separator", k_own_team, with_summary("TSG Musterfeld 2 - Gast - Team 1"),
         worked_with(1, "Gast - Team 1")},
        {"last digit anywhere in the name", "TSG Musterfeld U15", with_summary("TSG Musterfeld U15 - JSG Ost"),
         worked_with(1, "JSG Ost", '5')},
        {"digit inside the name", "SG Nord 2 Jugend", with_summary("JSG Ost - SG Nord 2 Jugend"),
         worked_with(0, "JSG Ost", '2')},
        {"first character not counted", "7 Hills", with_summary("7 Hills - JSG Ost"), worked_with(1, "JSG Ost", '1')},
        {"UTC time shown as German summer time", k_own_team, with_start("20250913T130000Z"),
         worked_row_with(&RowSpec::time, "1500")},
        {"Roman team number", "TB WESTHEIM III", with_summary("SG Ost - TB WESTHEIM III"),
         worked_with(0, "SG Ost", '3')},
        {"no blank behind the last comma loses a character", k_own_team,
         with_location("Am Sportplatz 4,Sporthalle Nord"), worked_row_with(&RowSpec::venue, "porthalle Nord")},
        {"a whole UTF-8 character is dropped behind the comma", k_own_team,
         with_location("Am Park,\xC3\x9C" "bungshalle"), worked_row_with(&RowSpec::venue, "bungshalle")},
        {"location ending in a comma gives the empty venue", k_own_team,
         with_location("Am Sportplatz 4, Beispielheim,"), worked_row_with(&RowSpec::venue, "")},
        {"escaped commas count, the league loses its backslash", k_own_team,
         with_description("Spiel 117\\, Staffel 4\\, Kreisklasse West\\, Spieltag 3"), k_worked_row},
        {"league not trimmed", k_own_team, with_description("Spiel 117, Staffel 4,  Kreisklasse West , 3"),
         worked_row_with(&RowSpec::league, " Kreisklasse West ")},
        {"long skipped fields", k_own_team, with_description(skipped + "," + skipped + ", Kreisklasse West,"),
         k_worked_row},
        {"skipped fields over several lines", k_own_team,
         with_description("Spiel 117\nX-A:Staffel 4, mehr\nX-B:noch, Kreisklasse West, Spieltag 3"), k_worked_row},
    };
    for (const VariantCase& c : cases) {
        SetUp();
        own_team = c.own_team;
        ASSERT_TRUE(parse(event_lines(c.event))) << c.name;
        EXPECT_TRUE(same_row(row(), c.row)) << c.name;
    }
}

struct LayoutCase {
    const char* name;
    std::string text;
    bool fits;
};

// The worked event's lines with one piece of text replaced.
std::string worked_replaced(const std::string& from, const std::string& to) {
    std::string text = event_lines(EventSpec{});
    return text.replace(text.find(from), from.size(), to);
}

TEST_F(EventParser, LayoutChecksAtTheirBoundaries) {
    const std::string name51 = "SG " + std::string(k_opponent_size - 4, 'n');
    const std::string name52 = name51 + "n";
    const std::string league49(k_league_size - 1, 'L');
    const LayoutCase cases[] = {
        {"start line without a colon", worked_replaced("DTSTART;TZID=Europe/Berlin:", "DTSTART "), false},
        {"colon of the start on the next line only", worked_replaced("DTSTART;TZID=Europe/Berlin:", "DTSTART"), false},
        {"seven date digits", event_lines(with_start("2025091T150000")), false},
        {"a letter in the date", event_lines(with_start("2025O913T150000")), false},
        {"date without a time", event_lines(with_start("20250913")), false},
        {"three time digits", event_lines(with_start("20250913T150")), false},
        {"multi-byte separator between date and time", event_lines(with_start("20250913\xC3\x9F" "1500")), true},
        {"summary line without a colon", worked_replaced("SUMMARY:", "SUMMARY "), false},
        {"summary without separator", event_lines(with_summary("BC Beispielheim 1 vs TSG Musterfeld 2")), false},
        {"separator on the next line only", event_lines(with_summary("BC Beispielheim 1\nTRANSP - x")), false},
        {"home name of 51 bytes", event_lines(with_summary(name51 + " - TSG Musterfeld 2")), true},
        {"home name of 52 bytes", event_lines(with_summary(name52 + " - TSG Musterfeld 2")), false},
        {"away name of 51 bytes", event_lines(with_summary("TSG Musterfeld 2 - " + name51)), true},
        {"away name of 52 bytes", event_lines(with_summary("TSG Musterfeld 2 - " + name52)), false},
        {"away name of 52 bytes in an away match", event_lines(with_summary("SV Ost - " + name52)), false},
        {"location without a comma", event_lines(with_location("Sporthalle Nord")), false},
        {"league of 49 bytes", event_lines(with_description("a, b, " + league49 + ", c")), true},
        {"league of 49 bytes and an escape", event_lines(with_description("a, b, " + league49 + "\\, c")), true},
        {"league of 50 bytes", event_lines(with_description("a, b, " + league49 + "L, c")), false},
        {"league holding a line feed", event_lines(with_description("a, b, Kreis\nklasse, c")), false},
        {"two commas only", event_lines(with_description("a, b, Kreisklasse")), false},
        {"nothing behind the second comma", event_lines(with_description("a, b,")), false},
    };
    for (const LayoutCase& c : cases) {
        SetUp();
        EXPECT_EQ(c.fits, parse(c.text)) << c.name;
        if (!c.fits) {
            EXPECT_TRUE(is_zero_row(row())) << c.name << ": a refused event leaves its row empty";
        }
    }
}

TEST_F(EventParser, LeagueCommasMustLieBeforeTheNextEvent) {
    // Read on into the next event, its commas would give a league: " Staffel 4".
    const std::string first = event_lines(with_description("Spiel 117 Kreisklasse West"));
    EventSpec next = with_location("Musterfeld, Halle");
    next.description = "Spiel 118, Staffel 4, Kreisklasse West, 4";
    const std::string second = event_lines(next);
    EXPECT_FALSE(parse(first + "END:VEVENT\nBEGIN:VEVENT\n" + second)) << "the next event must not be swallowed";
    EXPECT_TRUE(parse(first + "X-NOTE:a, b, Kreisklasse West, c\n" + "END:VEVENT\nBEGIN:VEVENT\n" + second));
}

TEST_F(EventParser, NoPrefixOfTheEventIsReadPastItsEnd) {
    // The whole event stays in memory behind the span's end, so a parser that read on
    // would find it and accept the event.
    const std::string text = event_lines(EventSpec{});
    const size_t needed = text.find(", Spieltag") + 1;  // through the third league comma
    for (size_t length = 0; length <= text.size(); ++length) {
        SetUp();
        next = parse_event(TextSpan{text.data(), static_cast<int32_t>(length)}, 0, k_own_team, parsed);
        const bool fits = next >= 0;
        EXPECT_EQ(length >= needed, fits) << "text cut after " << length << " bytes";
        if (fits) {
            EXPECT_TRUE(same_row(row(), k_worked_row)) << length;
            EXPECT_LE(static_cast<size_t>(next), length);
        } else {
            EXPECT_TRUE(is_zero_row(row())) << length;
        }
    }
}

}  // namespace
