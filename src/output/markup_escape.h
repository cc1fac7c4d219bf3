// Writing calendar texts into the workbook and the HTML fragment: the three characters
// that would end a text or open markup there are written as entity references, and
// control characters that no XML document may hold are left out.
#pragma once

#include <cstddef>
#include <cstdio>

// Writes text (up to its NUL, at most size bytes) with '&', '<', '>' escaped and forbidden controls left out.
void put_escaped(FILE* stream, const char* text, size_t size);

// Bytes of U+FFFE or U+FFFF at text[i] (three, within size), else 0: characters no
// output of the program may hold.
size_t noncharacter_at(const char* text, size_t i, size_t size);
