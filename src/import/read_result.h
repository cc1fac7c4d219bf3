// The outcome of reading one calendar file, shared by the loading of its text and the
// reading of its events; the driver turns any but ok into the file's message.
#pragma once

// Why reading a calendar file failed; ok when it did not.
enum class ReadResult {
    ok,
    file_too_large,      // the text with its NUL does not fit file_buffer
    no_match_found,      // no event, or the first event names no two sides
    team_name_invalid,   // a candidate empty after trimming or over 29 bytes
    event_layout,        // event number failed_event has no start or no summary of two names
    unknown_zone,        // event number failed_event starts in a time zone that is neither German time nor UTC
    too_many_rows,       // a row would land at row 5000 or later
    too_many_teams,      // a block would be the run's 81st
    no_club_team,        // a league's file in which no team of the run's clubs plays
    not_calendar,        // the text does not begin with "BEGIN:VCALENDAR": no calendar file at all
    incomplete,          // the text does not end with "END:VCALENDAR": the download was cut short
    not_utf8,            // the bytes are not valid UTF-8 (a NUL included)
    read_error,          // the stream reported an error while loading
};
