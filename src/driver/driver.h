// The command-line driver: the run's sequence of steps and all of its console texts.
#pragma once

#include "core/run_state.h"

// Runs the whole program over the given command line; returns the exit status (0 or 1).
int run_schedule(RunState& state, int argc, char** argv);
