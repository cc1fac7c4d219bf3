// The program's outputs in the order they are written: how each is named and opened, which
// writer fills it and what the console says when it fails. The driver writes them; the fuzz
// targets and the benchmarks run the same writers through this table.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "output/match_plan.h"
#include "platform/platform.h"

// One output, written through a temporary file of its own.
struct Output {
    const char* extension;                               // behind "Termarium_<season>"
    WriteMode mode;                                      // how its temporary file is opened
    FILE* RunState::*stream;                             // its stream in the state, closed with the others
    bool (*write)(RunState&, const MatchPlan&, FILE*);   // its writer
    const char* open_failed;                             // the console's text when its file cannot be opened
    const char* write_failed;                            // the console's text when a write, the close or the move failed
    const char* lead;                                    // printed before its line: the first one stands apart
};

// The club calendar's name behind "Termarium_<season>", by which a later run finds it.
inline constexpr char k_calendar_extension[] = ".ics";

constexpr int k_output_count = 4;  // workbook, HTML table, club calendar, match days

// The outputs in the order the driver writes them.
extern const Output k_outputs[k_output_count];
