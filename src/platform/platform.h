// What differs between Windows and POSIX: the console, how a UTF-8 path reaches the file
// system, which files count as inputs, how an output file is created, made durable and
// moved over an older one, and how two runs keep out of each other's way. Each platform
// has its own source file; the build picks one. Everything else is the same on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// How moving a finished output over an older one went.
enum class ReplaceResult {
    done,    // the new file stands at the target's name, the old one is gone
    in_use,  // another program holds the older file open and does not let it be replaced
    failed,  // anything else; the older file is unchanged
};

// How taking the lock on an output folder went.
enum class LockResult {
    locked,       // held until unlock_folder or the end of the process
    busy,         // another process held it for the whole wait
    unavailable,  // this folder or file system offers no lock; the run goes on without one
};

// Readies standard streams and console; returns what finish_console restores.
unsigned prepare_console();

// Gives the console back as prepare_console found it.
void finish_console(unsigned previous);

// Reads one line typed at the console (or standing on standard input) into out as UTF-8,
// its line end left off and cut to size; false when standard input is at its end.
bool read_console_line(char* out, size_t size);

// Opens a regular file named by a UTF-8 path for reading bytes (the reader turns CR LF
// into LF itself, and a text-mode read on Windows would end at a Ctrl-Z byte); nullptr
// for anything else: a folder, a pipe, a missing file.
FILE* open_input_file(const char* path);

// True when path names a folder (which is skipped, not refused, when dropped).
bool is_folder(const char* path);

// How an output file takes its line ends.
enum class WriteMode {
    text,   // the platform's own: a line feed is written as CR LF on Windows
    bytes,  // every byte as the writer puts it, on every platform
};

// Creates a new file for writing; nullptr when anything, a link included, is already there.
FILE* create_new_file(const char* path, WriteMode mode = WriteMode::text);

// Writes what the stream buffers and the system caches to the disk; true for a stream
// with no file behind it (a memory stream) or a device that keeps no cache.
bool flush_to_disk(FILE* stream);

// Moves the file at from over the one at to, durably; the folder's entry is on the disk too.
ReplaceResult replace_file(const char* from, const char* to);

// Removes a file; a missing file is no failure.
void remove_file(const char* path);

// 64 random bits from the system's random source (else from the process and the clock).
uint64_t random_bits();

// Takes the lock on the folder that holds the file at path, waiting at most wait_ms.
LockResult lock_folder_of(const char* path, int wait_ms, intptr_t& handle);

// Releases a lock that lock_folder took.
void unlock_folder(intptr_t handle);
