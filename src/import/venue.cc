// Venue abbreviation. A word runs up to a blank, line feed or hyphen; blanks between
// words are rebuilt (one behind every word that added something), hyphens never reach
// the venue. A word longer than its buffer and a venue longer than its field are cut on
// a UTF-8 character boundary; once the venue is full nothing more is appended.
#include "import/venue.h"

#include <cstring>

#include "core/bounded_text.h"
#include "core/utf8.h"

namespace {

constexpr int k_venue_word_size = 30;  // one venue word: at most 29 bytes plus NUL; a longer word is cut

// A word that is not copied unchanged and what it contributes instead.
struct VenueWord {
    const char* word;
    const char* short_form;
};

// Compared in this order, whole word against whole word, byte for byte.
constexpr VenueWord venue_word_table[] = {
    {"Grundschule", "GS"},
    {"Hauptschule", "HS"},
    {"Realschule", "RS"},
    {"Gymnasiums", "Gymn."},
    {"Gymnasium", "Gymn."},
    {"plus", ""},
    {"der", ""},
    {"des", ""},
    {"Turnhalle", ""},
    {"Sporthalle", ""},
    {"Schulsporthalle", ""},
    {"Halle", ""},
    {"Gro\xC3\x9F" "sporthalle", ""},  // "Großsporthalle" in UTF-8, written as bytes so no source encoding matters
};

constexpr int k_shortest_postcode = 4;  // Swiss and Austrian postcodes
constexpr int k_longest_postcode = 5;   // German postcodes

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_word_end(char c) { return c == ' ' || c == '\n' || c == '-'; }

// Appends text behind venue, cut on a character boundary where the field runs full;
// false when it was cut.
bool append_within_field(char (&venue)[k_venue_size], const char* text) {
    const size_t used = strnlen(venue, k_venue_size - 1);
    const size_t room = k_venue_size - 1 - used;
    const size_t length = std::strlen(text);
    const size_t fit = utf8_cut_length(text, length, room);
    copy_bytes(venue + used, k_venue_size - used, text, fit);
    return fit == length;
}

bool ends_in_blank(const char* venue) {
    const size_t length = std::strlen(venue);
    return length > 0 && venue[length - 1] == ' ';
}

// Appends the short form of word to venue; false when it had to be cut to fit the field.
bool abbreviate_word(const char* word, char (&venue)[k_venue_size]) {
    for (const VenueWord& entry : venue_word_table) {
        if (word[0] == entry.word[0] && std::strcmp(word, entry.word) == 0) return append_within_field(venue, entry.short_form);
    }
    return append_within_field(venue, word);
}

}  // namespace

void shorten_venue(char (&venue)[k_venue_size], const char* text, size_t length) {
    venue[0] = '\0';
    bool full = false;  // a cut happened: the venue is the full result's first bytes, nothing may follow
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < length && !is_word_end(text[end])) ++end;
        const bool last_word = end == length || text[end] == '\n';

        char word[k_venue_word_size];
        const size_t word_length = end - start;
        copy_bytes(word, sizeof word, text + start,
                   utf8_cut_length(text + start, word_length, sizeof word - 1));
        if (!full) full = !abbreviate_word(word, venue);
        if (last_word) return;

        if (!full && venue[0] != '\0' && !ends_in_blank(venue)) full = !append_within_field(venue, " ");
        start = end + 1;
    }
}

TextSpan address_town(TextSpan location) {
    const TextSpan none{location.bytes, 0};
    const int comma = find_byte(location, 0, location.length, ',');
    if (comma < 0 || find_byte(location, comma + 1, location.length, ',') >= 0) return none;
    // The street ends in its house number: a last word that begins with a digit.
    const TextSpan street = trimmed(span_part(location, 0, comma));
    int word = street.length;
    while (word > 0 && street.bytes[word - 1] != ' ') --word;
    if (word == 0 || word == street.length || !is_digit(street.bytes[word])) return none;
    const TextSpan place = trimmed(span_part(location, comma + 1, location.length));
    int at = 0;
    while (at < place.length && is_digit(place.bytes[at])) ++at;
    if (at < k_shortest_postcode || at > k_longest_postcode) return none;
    if (at >= place.length || place.bytes[at] != ' ') return none;
    return trimmed(span_part(place, at, place.length));
}
