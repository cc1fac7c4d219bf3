// The club's match days as one printable HTML document: every match in date order, week by
// week; the home matches per hall; and the home matches of different teams that collide in
// one hall, with the rule that was checked.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "output/match_plan.h"

// Writes the document of plan (worked out from state) to stream; false when a write failed.
// The caller closes the stream.
bool write_match_days(RunState& state, const MatchPlan& plan, FILE* stream);
