// Placeholder until the import lands: reads nothing.
#include "import/calendar_reader.h"

#include <cstdio>

ReadResult read_calendar_file(RunState&, int) { return ReadResult::ok; }

void describe_read_failure(const RunState&, ReadResult, char* out, size_t size) {
    if (size > 0) out[0] = '\0';
}
