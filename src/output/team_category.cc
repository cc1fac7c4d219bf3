// The team category of a league text: case-sensitive substring tests in a fixed order of
// the categories, the first that succeeds deciding, so a "U19 Bezirksliga" is youth and not
// adult. Each category is known by the words the league sites of several sports use for it.
// Every writer asks this for every row; a table of the bytes that begin a word lets the
// words be compared only where one may begin.
#include "output/team_category.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace {

// A word and its length, known when the program is built.
struct Word {
    const char* text;
    size_t length;
};

constexpr Word word(const char* text) { return Word{text, std::char_traits<char>::length(text)}; }

// The words of the A youth (U19), tested first. "\u00E4" is "ä", written in UTF-8 as the
// calendars write it.
constexpr Word k_u19_words[] = {
    word("U19"), word("A-Jugend"), word("A-Junioren"), word("A-Juniorinnen"), word("m\u00E4nnliche A"),
    word("weibliche A"), word("Jugend A"), word("Jungen 19"), word("M\u00E4dchen 19"),
};
// The words of the C youth (U15), tested next.
constexpr Word k_u15_words[] = {
    word("U15"), word("C-Jugend"), word("C-Junioren"), word("C-Juniorinnen"), word("m\u00E4nnliche C"),
    word("weibliche C"), word("Jugend C"), word("Jungen 15"), word("M\u00E4dchen 15"),
};
// The words of an adult league, tested last.
constexpr Word k_adult_words[] = {word("liga"), word("klasse"), word("Liga"), word("Klasse")};

constexpr int k_byte_values = 256;  // one table entry per possible byte

// The bytes that begin a word of any category.
struct WordStarts {
    bool starts[k_byte_values];
};

template <size_t count>
constexpr void mark_starts(WordStarts& table, const Word (&words)[count]) {
    for (const Word& w : words) table.starts[static_cast<unsigned char>(w.text[0])] = true;
}

constexpr WordStarts make_word_starts() {
    WordStarts table{};
    mark_starts(table, k_u19_words);
    mark_starts(table, k_u15_words);
    mark_starts(table, k_adult_words);
    return table;
}

constexpr WordStarts k_word_starts = make_word_starts();

// True when one of the words begins at text[at] and ends within length.
template <size_t count>
bool word_at(const char* text, size_t at, size_t length, const Word (&words)[count]) {
    return std::any_of(std::begin(words), std::end(words), [&](const Word& w) {
        return w.text[0] == text[at] && at + w.length <= length && std::memcmp(text + at, w.text, w.length) == 0;
    });
}

}  // namespace

TeamCategory team_category(const char* league, size_t size) {
    // The text need not hold a NUL inside its size. One pass: a U19 word anywhere decides at
    // once; a U15 word, else a league word, decides at the end.
    const size_t length = strnlen(league, size);
    bool u15 = false;
    bool adult = false;
    for (size_t at = 0; at < length; ++at) {
        if (!k_word_starts.starts[static_cast<unsigned char>(league[at])]) continue;
        if (word_at(league, at, length, k_u19_words)) return TeamCategory::u19;
        u15 = u15 || word_at(league, at, length, k_u15_words);
        adult = adult || word_at(league, at, length, k_adult_words);
    }
    if (u15) return TeamCategory::u15;
    return adult ? TeamCategory::adult : TeamCategory::other;
}
