// Row reading shared by the workbook and the HTML writer. The table's end is the first
// row with day[0] NUL; the search stops at the last row so that a table without its end
// mark is never read past. Categories come from case-sensitive substring tests on the
// league text, the first success deciding.
#include "output/table_rows.h"

#include <cstring>

namespace {

// Case-sensitive substring test within the first size bytes of text.
bool contains(const char* text, size_t size, const char* word) {
    const size_t length = strnlen(text, size);
    const size_t word_length = std::strlen(word);
    for (size_t i = 0; i + word_length <= length; ++i) {
        if (std::memcmp(text + i, word, word_length) == 0) return true;
    }
    return false;
}

}  // namespace

int end_of_table_row(const RunState& state) {
    int row = 1;
    while (row < k_table_rows - 1 && state.match_table[row].day[0] != '\0') ++row;
    return row;
}

TeamCategory team_category(const char* league, size_t size) {
    if (contains(league, size, "U19")) return TeamCategory::u19;
    if (contains(league, size, "U15")) return TeamCategory::u15;
    if (contains(league, size, "liga") || contains(league, size, "klasse")) return TeamCategory::adult;
    return TeamCategory::other;
}
