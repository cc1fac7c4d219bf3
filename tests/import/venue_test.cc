// Venue abbreviation: the worked venue texts with the near misses of the word table, and
// the cuts of an over-long word or venue, which keep whole UTF-8 characters and never
// pass the field.
#include "import/venue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr char k_sharp_s[] = "\xC3\x9F";  // "ß" in UTF-8
constexpr size_t k_word_size = 30;        // a venue word: at most 29 bytes, a longer one is cut

// Shortens text followed by a line feed and more file text, in a row whose neighbouring
// fields are set, as the parser leaves them.
struct Shortened {
    std::string venue;
    bool neighbours_kept;
};

Shortened shorten(const std::string& venue_text) {
    const std::string text = venue_text + "\nDESCRIPTION:Spiel 1, Staffel 4, Liga, 3\n";
    MatchRecord row{};
    std::memset(row.venue, 'Q', sizeof row.venue);  // rebuilt from scratch, whatever was there
    row.is_home = 1;
    row.team_digit = '7';
    shorten_venue(row.venue, text.data(), text.size());
    return {std::string(row.venue, strnlen(row.venue, sizeof row.venue)),
            row.is_home == 1 && row.team_digit == '7' && row.league[0] == '\0'};
}

struct VenueCase {
    std::string text;
    std::string venue;
};

TEST(ShortenVenue, WorkedVenueTexts) {
    const VenueCase cases[] = {
        {"Sporthalle der Grundschule Musterdorf", "GS Musterdorf"},
        {"Turnhalle des Gymnasiums Musterstadt", "Gymn. Musterstadt"},
        {"Hauptschule plus Musterdorf", "HS Musterdorf"},
        {"Sporthalle Gymnasium plus Realschule Musterstadt", "Gymn. RS Musterstadt"},
        {"Gymnasium - Nord", "Gymn. Nord"},
        {"Sport- und Kulturhalle Nord", "Sport und Kulturhalle Nord"},
        {" Schulsporthalle Am Park", "Am Park"},
        {"Sporthalle Am Ring 5", "Am Ring 5"},
        {"Realschule-Halle", "RS "},
        {"Grundschule  Am Park ", "GS Am Park "},
        {"Halle", ""},
        {"", ""},
        {"grundschule Musterdorf", "grundschule Musterdorf"},
        {std::string("Gro") + k_sharp_s + "sporthalle Musterstadt", "Musterstadt"},
        {"Halle,Nord\tWest\rOst", "Halle,Nord\tWest\rOst"},  // comma, tab and CR end no word
        // Near misses of the word table are copied as they stand.
        {"Gro\xDFsporthalle Grundschulen Gymnasiu halle", "Gro\xDFsporthalle Grundschulen Gymnasiu halle"},
    };
    for (const VenueCase& c : cases) {
        const Shortened s = shorten(c.text);
        EXPECT_EQ(c.venue, s.venue) << "[" << c.text << "]";
        EXPECT_TRUE(s.neighbours_kept) << c.text;
    }
}

TEST(ShortenVenue, AWordOfThirtyBytesOrMoreIsCutTo29) {
    const std::string word29(k_word_size - 1, 'w');
    EXPECT_EQ(word29 + " Nord", shorten(word29 + " Nord").venue);
    EXPECT_EQ(word29 + " Nord", shorten(word29 + "x Nord").venue);
    EXPECT_EQ(word29 + " Nord", shorten(word29 + std::string(300, 'x') + " Nord").venue);
    // 28 bytes and a two-byte character: the cut at 29 would split it, so 28 remain.
    const std::string word28(k_word_size - 2, 'w');
    EXPECT_EQ(word28 + " Nord", shorten(word28 + k_sharp_s + " Nord").venue);
    EXPECT_EQ(word28, shorten(word28 + k_sharp_s).venue);
    const std::string word27(k_word_size - 3, 'w');
    EXPECT_EQ(word27 + k_sharp_s, shorten(word27 + k_sharp_s).venue);  // 29 bytes fit whole
}

TEST(ShortenVenue, AVenueOverFortyNineBytesIsCutAt49) {
    const size_t limit = k_venue_size - 1;
    const std::string first(29, 'a');           // one word as long as a word may be
    const std::string second(limit - 30, 'b');  // with the blank between: exactly 49 bytes
    EXPECT_EQ(first + " " + second, shorten(first + " " + second).venue);
    EXPECT_EQ(first + " " + second, shorten(first + " " + second + "c").venue);
    EXPECT_EQ(first + " " + second, shorten(first + " " + second + " Nord").venue);
    // 48 bytes and a blank reach the limit; the blank is the venue's last byte.
    const std::string shorter = second.substr(1);
    EXPECT_EQ(first + " " + shorter + " ", shorten(first + " " + shorter + " Nord").venue);
    // A character that would straddle byte 49 is left out, and nothing behind it follows.
    const std::string shortest = second.substr(2);  // venue of 47 bytes plus a blank: one byte left
    EXPECT_EQ(first + " " + shortest + " ", shorten(first + " " + shortest + " " + k_sharp_s + "x a").venue);
}

TEST(ShortenVenue, ALongVenueTextIsCutBeforeAStraddlingCharacter) {
    const std::string unit = std::string("Gro") + k_sharp_s + "feld-" + k_sharp_s + k_sharp_s + " ";
    std::string text;
    for (int i = 0; i < 60; ++i) text += unit;
    // Each unit adds "Großfeld ßß " (15 bytes); the "ß" of the fourth would take bytes 49 and 50.
    const std::string shown = std::string("Gro") + k_sharp_s + "feld " + k_sharp_s + k_sharp_s + " ";
    const Shortened s = shorten(text);
    EXPECT_EQ(shown + shown + shown + "Gro", s.venue);
    EXPECT_TRUE(s.neighbours_kept);
}

}  // namespace
