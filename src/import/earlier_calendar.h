// The last run's club calendar read back: its run's date and each of its matches as the
// table would show it, for the comparison with this run. The file may be larger than the
// buffer of a download (up to 4 MiB); it is read line by line, one event at a time.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/run_state.h"

constexpr int64_t k_earlier_calendar_limit = 4 << 20;  // bytes of an earlier club calendar that are read

// How reading the earlier club calendar went.
enum class EarlierRead {
    done,               // earlier holds its matches and since its run's date
    not_club_calendar,  // no club calendar of this program's: nothing to compare with
    unreadable,         // too large, cut short, or an event it cannot read
};

// One text line of a stream with its folded continuation lines joined, line ends (LF or
// CR LF) taken off. The stream is read in chunks; a line is at most k_line_size - 1 bytes.
constexpr int k_line_size = 4096;
struct LineStream {
    FILE* stream;
    char chunk[1 << 14];   // bytes read and not yet taken
    int32_t at;            // first byte of chunk not yet taken
    int32_t end;           // bytes of chunk in use
    int64_t bytes_read;    // bytes read from the stream so far
    char next[k_line_size];  // the physical line behind the current one, read ahead
    int32_t next_length;   // its bytes
    bool has_next;         // next holds a line
    bool too_long;         // a line did not fit and was cut
};

// Starts reading stream from its start.
void start_lines(LineStream& lines, FILE* stream);

// The next logical line into line (NUL-terminated) and its length; false at the end.
bool next_line(LineStream& lines, char (&line)[k_line_size], int& length);

// Decides whether the match just read into state.earlier.matches[match] is kept; the
// next match read takes the place of one that is not.
using KeepEarlierMatch = bool (*)(RunState& state, int match, void* context);

// Reads the earlier club calendar from the stream into state.earlier (from a fresh
// earlier record), each match kept unless keep (where given) says otherwise, and sets
// since from its "Stand:"; unreadable leaves no matches.
EarlierRead read_earlier_calendar(RunState& state, FILE* stream, KeepEarlierMatch keep = nullptr,
                                  void* context = nullptr);
