// Shortening of a match venue, word by word: school-type words become German short
// forms, hall and filler words are left out, every other word is kept as it stands.
#pragma once

#include <cstddef>

#include "driver/run_state.h"

constexpr int k_venue_word_size = 30;  // one venue word: at most 29 bytes plus NUL; a longer word is cut

// Appends the short form of word to venue; false when it had to be cut to fit the field.
bool abbreviate_word(const char* word, char (&venue)[k_venue_size]);

// Rebuilds venue from text (length bytes, ending at its first line feed); returns the bytes consumed before that line feed.
size_t shorten_venue(char (&venue)[k_venue_size], const char* text, size_t length);
