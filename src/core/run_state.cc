// Creation of a fresh run state: the zero fill every part of the program relies on.
#include "core/run_state.h"

#include <cstring>

void reset_run_state(RunState& state) {
    std::memset(&state, 0, sizeof state);
}
