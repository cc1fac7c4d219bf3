// The content lines of a calendar event, NAME[;parameters]:value: the name in any letter
// case, the value behind the first colon outside double quotes, text values with their
// escapes.
#pragma once

#include <cstddef>

#include "import/text_search.h"

// Where the parts of one content line stand in the text.
struct ContentLine {
    int name;      // the line's first byte, where its name begins
    int name_end;  // the first ';' or ':' of the line, behind the name (the line's end if none)
    int value;     // behind the first colon outside double quotes (the line's end if none)
    int end;       // the line's line feed, or the text's end
};

// Reads the line that starts at from; false when it has no colon to end its name and
// parameters (the parts are set all the same).
bool read_content_line(TextSpan text, int from, ContentLine& line);

// True when the line's name is name (written in capitals), its letters in any case.
bool is_named(TextSpan text, const ContentLine& line, const char* name);

// The line's value without the blanks before and behind it.
TextSpan trimmed_value(TextSpan text, const ContentLine& line);

// True when the line's value, blanks around it aside, is word (written in capitals), its
// letters in any case.
bool has_value(TextSpan text, const ContentLine& line, const char* word);

// Copies the value text[from, end) into out (size bytes with its NUL) with "\," "\;"
// "\\" "\n" "\N" undone; returns its length. cut tells that it did not fit whole.
size_t unescape_text(TextSpan text, int from, int end, char* out, size_t size, bool& cut);
