// The club of a team name, by which a file's undecided team is matched with the club's
// other teams. A club often fields several teams ("TuS Lindenbrück 2", "TUS LINDENBRÜCK
// III"): the team number goes, and letters compare in either case.
#include "import/club_name.h"

#include <cstring>
#include <iterator>

#include "core/utf8.h"

namespace {

// Team numbers written as Roman numerals ("TB WESTHEIM III"): II to IX stand for 2 to 9.
constexpr const char* k_roman_numbers[] = {"II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};

constexpr uint32_t k_no_character = 0x80000000;  // marks a byte that begins no character

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The character at text[i] (at most length bytes) made small, and its length in bytes; a
// byte that begins no character stands for itself.
uint32_t small_character_at(const char* text, size_t i, size_t length, size_t& bytes) {
    uint32_t code_point = 0;
    bytes = utf8_decode(text + i, length - i, code_point);
    if (bytes == 0) {
        bytes = 1;
        return static_cast<unsigned char>(text[i]) | k_no_character;
    }
    return small_letter(code_point);
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
    const size_t other_length = club_length(other);
    size_t i = 0;
    size_t j = 0;
    while (i < length && j < other_length) {
        size_t bytes = 0;
        size_t other_bytes = 0;
        if (small_character_at(team, i, length, bytes) != small_character_at(other, j, other_length, other_bytes)) {
            return false;
        }
        i += bytes;
        j += other_bytes;
    }
    return i == length && j == other_length;
}
