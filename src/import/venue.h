// Shortening of a match venue, word by word: school-type words become German short
// forms, hall and filler words are left out, every other word is kept as it stands.
#pragma once

#include <cstddef>

#include "core/run_state.h"
#include "import/text_search.h"

// Rebuilds venue from the venue text: length bytes, or up to its first line feed.
void shorten_venue(char (&venue)[k_venue_size], const char* text, size_t length);

// The town of a location that is only an address, "<street> <number>, <postcode> <town>"
// with a postcode of four or five digits; empty when the location is anything else.
TextSpan address_town(TextSpan location);
