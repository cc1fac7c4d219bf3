// The club of a team name, by which a file's undecided team is matched with the club's
// other teams. A club often fields several teams ("TuS Lindenbrück 2", "TUS LINDENBRÜCK
// III"): the team number goes, and letters compare in either case.
#include "import/club_name.h"

#include <cstring>
#include <iterator>

namespace {

// Team numbers written as Roman numerals ("TB WESTHEIM III"): II to IX stand for 2 to 9.
constexpr const char* k_roman_numbers[] = {"II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

constexpr unsigned char k_latin1_lead = 0xC3;          // lead byte of U+00C0 to U+00FF
constexpr unsigned char k_latin1_capital_first = 0x80;  // "À" behind it
constexpr unsigned char k_latin1_capital_last = 0x9E;   // "Þ" behind it
constexpr unsigned char k_times_sign = 0x97;            // "×", which has no small form
constexpr unsigned char k_latin1_case_step = 0x20;      // from a capital to its small letter

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The byte at i of text folded to a small letter: an ASCII capital, or the second byte of a
// Latin-1 capital behind its lead byte.
unsigned char folded_at(const char* text, size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
    const bool behind_lead = i > 0 && static_cast<unsigned char>(text[i - 1]) == k_latin1_lead;
    if (behind_lead && c >= k_latin1_capital_first && c <= k_latin1_capital_last && c != k_times_sign) {
        return static_cast<unsigned char>(c + k_latin1_case_step);
    }
    return c;
}

}  // namespace

int roman_team_number(const char* word, size_t length) {
    for (size_t n = 0; n < std::size(k_roman_numbers); ++n) {
        if (std::strlen(k_roman_numbers[n]) == length && std::memcmp(word, k_roman_numbers[n], length) == 0) {
            return static_cast<int>(n) + 2;
        }
    }
    return 0;
}

size_t club_length(const char* team) {
    const size_t length = std::strlen(team);
    size_t word = length;
    while (word > 0 && team[word - 1] != ' ') --word;
    if (word == 0) return length;  // one word: the club's name whatever it is
    bool number = word < length;
    for (size_t i = word; i < length; ++i) number = number && is_digit(team[i]);
    if (!number && roman_team_number(team + word, length - word) == 0) return length;
    while (word > 0 && team[word - 1] == ' ') --word;
    return word;
}

bool same_club(const char* team, const char* other) {
    const size_t length = club_length(team);
    if (length != club_length(other)) return false;
    for (size_t i = 0; i < length; ++i) {
        if (folded_at(team, i) != folded_at(other, i)) return false;
    }
    return true;
}
