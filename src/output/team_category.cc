// The team category of a league text: case-sensitive substring tests in a fixed order,
// the first success deciding, so a "U19 Bezirksliga" is youth and not adult.
#include "output/team_category.h"

#include <cstring>

namespace {

// Case-sensitive substring test within the first size bytes of text, which need not
// hold a NUL inside them.
bool contains(const char* text, size_t size, const char* word) {
    const size_t length = strnlen(text, size);
    const size_t word_length = std::strlen(word);
    for (size_t i = 0; i + word_length <= length; ++i) {
        if (std::memcmp(text + i, word, word_length) == 0) return true;
    }
    return false;
}

}  // namespace

TeamCategory team_category(const char* league, size_t size) {
    if (contains(league, size, "U19")) return TeamCategory::u19;
    if (contains(league, size, "U15")) return TeamCategory::u15;
    if (contains(league, size, "liga") || contains(league, size, "klasse")) return TeamCategory::adult;
    return TeamCategory::other;
}
