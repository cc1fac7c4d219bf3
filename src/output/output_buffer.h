// An output's bytes gathered in a fixed buffer and handed to the stream in large writes:
// a whole output takes a handful of writes instead of thousands of small ones. A failed
// write is remembered and reported when the output is finished.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

constexpr size_t k_output_chunk = 32768;  // bytes gathered before one write to the stream

// The buffer of one output being written.
struct OutputBuffer {
    FILE* stream;               // where the bytes go
    size_t length;              // bytes gathered and not yet written
    bool failed;                // a write to the stream failed
    char bytes[k_output_chunk];
};

// Starts an output to stream with an empty buffer.
void start_output(OutputBuffer& out, FILE* stream);

// Appends count bytes when the buffer is full: writes what is gathered first.
void put_bytes_through(OutputBuffer& out, const char* bytes, size_t count);

// Appends count bytes. The writers call this for every piece of every row, so the common
// case, room left in the buffer, is a copy in place at the caller.
inline void put_bytes(OutputBuffer& out, const char* bytes, size_t count) {
    if (count <= sizeof out.bytes - out.length) {
        std::memcpy(out.bytes + out.length, bytes, count);
        out.length += count;
    } else {
        put_bytes_through(out, bytes, count);
    }
}

// Appends a NUL-terminated text; the length of a string constant is known where it is called.
inline void put_text(OutputBuffer& out, const char* text) { put_bytes(out, text, std::strlen(text)); }

// Appends a text field of the match table: up to its NUL, at most size bytes.
inline void put_field(OutputBuffer& out, const char* field, size_t size) { put_bytes(out, field, strnlen(field, size)); }

// Appends a number in decimal, at least min_digits digits with leading zeros.
void put_number(OutputBuffer& out, int value, int min_digits = 1);

// Writes what is gathered; false when this or any earlier write to the stream failed.
bool finish_output(OutputBuffer& out);
