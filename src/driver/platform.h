// What differs between Windows and POSIX: the console, how a UTF-8 path reaches the file
// system, which files count as inputs, and how a finished output replaces an older one.
// Each platform has its own source file; the build picks one. Everything else in the
// program is the same on both.
#pragma once

#include <cstdio>

// Readies standard streams and console; returns what finish_console restores.
unsigned prepare_console();

// Gives the console back as prepare_console found it.
void finish_console(unsigned previous);

// Opens a regular file named by a UTF-8 path for reading bytes; nullptr for anything else.
FILE* open_input_file(const char* path);

// Opens a file named by a UTF-8 path; nullptr when it cannot be opened.
FILE* open_file(const char* path, const char* mode);

// Moves the file at from over the one at to, replacing it; false when that failed.
bool replace_file(const char* from, const char* to);

// Removes a file; a missing file is no failure.
void remove_file(const char* path);
