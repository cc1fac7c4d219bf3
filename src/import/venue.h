// Shortening of a match venue, word by word: school-type words become German short
// forms, hall and filler words are left out, every other word is kept as it stands.
#pragma once

#include <cstddef>

#include "core/run_state.h"

// Rebuilds venue from the venue text: length bytes, or up to its first line feed.
void shorten_venue(char (&venue)[k_venue_size], const char* text, size_t length);
