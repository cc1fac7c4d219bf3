// Which clock an event's start is given in: German time, UTC, or a zone the program does
// not convert. German time is a start without a zone; a zone named for a place that keeps
// Germany's clock (also behind a calendar program's own prefix, and under the Windows
// names of that time); or a zone that the file itself defines with +0100 in winter and
// +0200 in summer.
#pragma once

#include "import/properties.h"
#include "import/text_search.h"

// The clock of a start.
enum class StartClock {
    german,   // taken as written
    utc,      // turned into German time
    unknown,  // another zone: shown as written it would be a wrong time
};

constexpr int k_declared_zones = 8;  // zones of German time that one file may define for itself

// The names of the zones a file defines (VTIMEZONE) with German time's offsets, looked for
// once, when the first start names a zone that is known by no name.
struct DeclaredZones {
    TextSpan names[k_declared_zones];
    int count;
    bool searched;  // the file's definitions have been looked for
};

// The clock of a start line of the whole text given whose time does not end in "Z" (that
// one is UTC): by its TZID parameter, or none.
StartClock start_clock(TextSpan text, const ContentLine& line, DeclaredZones& zones);
