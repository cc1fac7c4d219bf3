// A calendar file's text, loaded and checked before any event is read: line ends made
// LF, folded lines joined, the size bounded by file_buffer, a calendar's end required,
// UTF-8 required.
#pragma once

#include <cstdio>

#include "core/run_state.h"
#include "import/read_result.h"
#include "import/text_search.h"

// Loads the whole stream into file_buffer and file_length: CR LF as LF, folded lines
// joined; file_too_large or read_error when that fails.
ReadResult load_calendar_text(RunState& state, FILE* stream);

// True when both streams hold the same bytes, read from their starts.
bool same_stream_bytes(FILE* first, FILE* second);

// The loaded text as a span.
TextSpan loaded_text(const RunState& state);

// Checks a loaded text: not UTF-16, begins with "BEGIN:VCALENDAR" (else it is no
// calendar), ends with "END:VCALENDAR" (else it is incomplete), strict UTF-8.
ReadResult check_calendar_text(TextSpan text);

// What the first bytes of an input say it is.
enum class InputStart {
    other,         // no calendar: a PDF, a note, an empty file
    calendar,      // a calendar
    own_calendar,  // a club calendar this program wrote: its PRODID names this program's maker
};

// Reads the first bytes of stream, puts it back to its start and tells what they begin:
// "BEGIN:VCALENDAR" behind a byte-order mark and blank lines, and a PRODID among the lines
// in front of the first event.
InputStart peek_input_start(FILE* stream);
