// Writing calendar texts into the workbook and the HTML documents: the three characters
// that would end a text or open markup there are written as entity references, and
// characters that no XML document may hold are left out.
#pragma once

#include <cstddef>

#include "output/output_buffer.h"

// Writes text (up to its NUL, at most size bytes) with '&', '<', '>' escaped and forbidden
// characters left out.
void put_escaped(OutputBuffer& out, const char* text, size_t size);
