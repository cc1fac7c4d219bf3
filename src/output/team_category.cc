// The team category of a league text: case-sensitive substring tests in a fixed order,
// the first success deciding, so a "U19 Bezirksliga" is youth and not adult. Each
// category is known by the words the league sites of several sports use for it.
#include "output/team_category.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// The words of the A youth (U19), tested first. "\u00E4" is "ä", written in UTF-8 as the
// calendars write it.
constexpr const char* k_u19_words[] = {
    "U19", "A-Jugend", "A-Junioren", "A-Juniorinnen", "m\u00E4nnliche A", "weibliche A", "Jugend A",
    "Jungen 19", "M\u00E4dchen 19",
};
// The words of the C youth (U15), tested next.
constexpr const char* k_u15_words[] = {
    "U15", "C-Jugend", "C-Junioren", "C-Juniorinnen", "m\u00E4nnliche C", "weibliche C", "Jugend C",
    "Jungen 15", "M\u00E4dchen 15",
};
// The words of an adult league, tested last.
constexpr const char* k_adult_words[] = {"liga", "klasse", "Liga", "Klasse"};

// Case-sensitive substring test within the first size bytes of text, which need not
// hold a NUL inside them.
bool contains(const char* text, size_t size, const char* word) {
    const size_t length = strnlen(text, size);
    const size_t word_length = std::strlen(word);
    for (size_t i = 0; i + word_length <= length; ++i) {
        // Only where the word's first byte stands can the word begin.
        const void* first = std::memchr(text + i, word[0], length - word_length + 1 - i);
        if (first == nullptr) return false;
        i = static_cast<size_t>(static_cast<const char*>(first) - text);
        if (std::memcmp(text + i, word, word_length) == 0) return true;
    }
    return false;
}

template <size_t count>
bool contains_any(const char* text, size_t size, const char* const (&words)[count]) {
    return std::any_of(std::begin(words), std::end(words), [&](const char* word) { return contains(text, size, word); });
}

}  // namespace

TeamCategory team_category(const char* league, size_t size) {
    if (contains_any(league, size, k_u19_words)) return TeamCategory::u19;
    if (contains_any(league, size, k_u15_words)) return TeamCategory::u15;
    if (contains_any(league, size, k_adult_words)) return TeamCategory::adult;
    return TeamCategory::other;
}
