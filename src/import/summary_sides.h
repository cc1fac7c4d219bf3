// The rules by which a summary splits into its two sides beyond the plain " - ": other
// dashes and "vs", a symbol in front of the home team, a match number behind a side, dates
// among the comma fields, and the sides a description names on labelled lines.
#pragma once

#include "import/text_search.h"

// Where a summary splits: the separator's first byte (-1 for none) and its length in bytes.
struct SideSeparator {
    int at;      // index of the separator in the summary, -1 when it has none
    int length;  // bytes of the separator
};

// The first " - "; else whichever of " – ", " — ", " vs. ", " vs " ("vs" in any case) comes first.
SideSeparator find_side_separator(TextSpan summary);

// The side from its first letter or digit on (a Latin letter with accents is a letter; a symbol is not).
TextSpan without_leading_symbol(TextSpan side);

// The side without a match number in parentheses ("(9)") and blanks behind it at its end.
TextSpan without_match_number(TextSpan side);

// Removes in place every comma field of text[0, length) that is a date ("20.09.25",
// "20.09.2025") with the comma in front of it; returns the length left.
int drop_date_fields(char* text, int length);

// The values behind the description's lines "Heim:" and "Gast:", untrimmed; false unless both stand in it.
bool labelled_sides(TextSpan description, TextSpan& home, TextSpan& away);

// The summary's text in front of the first place that holds name, from its first letter or
// digit on; empty when name is not in it.
TextSpan text_in_front_of(TextSpan summary, TextSpan name);
