// The club's match days as one printable HTML document: every match in date order, week by
// week; the home matches per hall; and the home matches of different teams that collide in
// one hall, with the rule that was checked.
#pragma once

#include <cstdio>

#include "core/run_state.h"

// Writes the document to stream and puts the number of colliding pairs into
// state.hall_collisions; false when a write failed. The caller closes the stream.
bool write_match_days(RunState& state, FILE* stream);
