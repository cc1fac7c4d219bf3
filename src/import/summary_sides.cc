// Splitting a summary into its two sides where the league systems write them otherwise
// than "Home - Away": separators are tried in a fixed order, the sides cleaned of what
// stands around a name, and a description's labelled lines read. Plain values in, spans out.
#include "import/summary_sides.h"

#include <cstring>

#include "core/run_state.h"

namespace {

// The other separators; whichever stands first in the summary wins.
constexpr const char* k_other_separators[] = {
    " \xE2\x80\x93 ",  // " – " (en dash)
    " \xE2\x80\x94 ",  // " — " (em dash)
    " vs. ",
    " vs ",
};

constexpr char k_home_label[] = "Heim:";
constexpr char k_away_label[] = "Gast:";

constexpr unsigned char k_latin_lead_first = 0xC3;  // lead bytes of U+00C0 to U+024F: Latin letters with accents
constexpr unsigned char k_latin_lead_last = 0xC9;
constexpr unsigned char k_times_sign = 0x97;        // U+00D7 and U+00F7 (behind 0xC3) are signs, not letters
constexpr unsigned char k_division_sign = 0xB7;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_ascii_letter(char c) { return ascii_upper(c) >= 'A' && ascii_upper(c) <= 'Z'; }

// Index of the first place in text from from on that holds needle, letters in any case; -1 for none.
int find_any_case(TextSpan text, int from, const char* needle) {
    const int length = static_cast<int>(std::strlen(needle));
    for (int i = from; i + length <= text.length; ++i) {
        int n = 0;
        while (n < length && ascii_upper(text.bytes[i + n]) == ascii_upper(needle[n])) ++n;
        if (n == length) return i;
    }
    return -1;
}

// True when the bytes at i begin a letter or a digit: ASCII, or a Latin letter with accents.
bool letter_or_digit_at(TextSpan text, int i) {
    const unsigned char c = static_cast<unsigned char>(text.bytes[i]);
    if (is_digit(text.bytes[i]) || is_ascii_letter(text.bytes[i])) return true;
    if (c < k_latin_lead_first || c > k_latin_lead_last || i + 1 >= text.length) return false;
    const unsigned char next = static_cast<unsigned char>(text.bytes[i + 1]);
    return c != k_latin_lead_first || (next >= 0x80 && next != k_times_sign && next != k_division_sign);
}

// True when the field, blanks around it aside, is a date: day and month of one or two
// digits and a year of two or four, with dots between.
bool is_date_field(const char* whole_field, int whole_length) {
    const TextSpan date = trimmed({whole_field, whole_length});
    const char* field = date.bytes;
    const int length = date.length;
    int at = 0;
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (; at < length; ++at) {
        if (is_digit(field[at])) {
            ++digits[part];
        } else if (field[at] == '.' && part < 2) {
            ++part;
        } else {
            return false;
        }
    }
    const auto day_or_month = [](int count) { return count == 1 || count == 2; };
    return part == 2 && day_or_month(digits[0]) && day_or_month(digits[1]) && (digits[2] == 2 || digits[2] == 4);
}

// The value behind a line of the description that begins with label; false when none does.
bool labelled_value(TextSpan description, const char* label, TextSpan& value) {
    const int length = static_cast<int>(std::strlen(label));
    for (int line = 0; line < description.length;) {
        const int feed = find_byte(description, line, description.length, '\n');
        const int end = feed < 0 ? description.length : feed;
        if (end - line >= length && std::memcmp(description.bytes + line, label, static_cast<size_t>(length)) == 0) {
            value = {description.bytes + line + length, end - line - length};
            return true;
        }
        line = end + 1;
    }
    return false;
}

}  // namespace

SideSeparator find_side_separator(TextSpan summary) {
    const int dash = find_text(summary, 0, summary.length, summary_separator);
    if (dash >= 0) return {dash, static_cast<int>(sizeof summary_separator - 1)};
    SideSeparator first{-1, 0};
    for (const char* separator : k_other_separators) {
        const int at = find_any_case(summary, 0, separator);
        if (at >= 0 && (first.at < 0 || at < first.at)) first = {at, static_cast<int>(std::strlen(separator))};
    }
    return first;
}

TextSpan without_leading_symbol(TextSpan side) {
    int at = 0;
    while (at < side.length && !letter_or_digit_at(side, at)) ++at;
    return {side.bytes + at, side.length - at};
}

TextSpan without_match_number(TextSpan side) {
    side = trimmed(side);
    const int end = side.length;
    if (end == 0 || side.bytes[end - 1] != ')') return side;
    int open = end - 2;
    while (open >= 0 && is_digit(side.bytes[open])) --open;
    if (open < 0 || open == end - 2 || side.bytes[open] != '(') return side;
    return {side.bytes, open};
}

int drop_date_fields(char* text, int length) {
    int kept = 0;  // text[0, kept) is what stays; fields move left over the dropped ones
    for (int field = 0; field <= length;) {
        int comma = field;
        while (comma < length && text[comma] != ',') ++comma;
        if (field == 0 || !is_date_field(text + field, comma - field)) {
            if (field > 0) text[kept++] = ',';
            std::memmove(text + kept, text + field, static_cast<size_t>(comma - field));
            kept += comma - field;
        }
        field = comma + 1;
    }
    return kept;
}

bool labelled_sides(TextSpan description, TextSpan& home, TextSpan& away) {
    return labelled_value(description, k_home_label, home) && labelled_value(description, k_away_label, away);
}

TextSpan text_in_front_of(TextSpan summary, TextSpan name) {
    for (int at = 0; name.length > 0 && at + name.length <= summary.length; ++at) {
        if (std::memcmp(summary.bytes + at, name.bytes, static_cast<size_t>(name.length)) == 0) {
            return without_leading_symbol({summary.bytes, at});
        }
    }
    return {summary.bytes, 0};
}
