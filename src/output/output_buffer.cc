// Gathering an output's bytes. A piece larger than the room left is split, so every piece
// of any size goes out in order.
#include "output/output_buffer.h"

namespace {

constexpr int k_number_digits = 11;  // every int, its sign included

// Writes the gathered bytes to the stream and empties the buffer.
void drain(OutputBuffer& out) {
    if (out.length > 0 && (out.stream == nullptr || std::fwrite(out.bytes, 1, out.length, out.stream) != out.length)) {
        out.failed = true;
    }
    out.length = 0;
}

}  // namespace

void start_output(OutputBuffer& out, FILE* stream) {
    out.stream = stream;
    out.length = 0;
    out.failed = stream == nullptr;
}

void put_bytes_through(OutputBuffer& out, const char* bytes, size_t count) {
    while (count > 0) {
        if (out.length == sizeof out.bytes) drain(out);
        const size_t room = sizeof out.bytes - out.length;
        const size_t part = count < room ? count : room;
        std::memcpy(out.bytes + out.length, bytes, part);
        out.length += part;
        bytes += part;
        count -= part;
    }
}

// A value and its width: the width is a constant wherever the writers call it.
void put_number(OutputBuffer& out, int value, int min_digits) {  // NOLINT(bugprone-easily-swappable-parameters)
    if (value >= 0 && value < 100 && min_digits <= 2) {  // days, months, hours, minutes: most numbers written
        const char pair[] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
        const bool both = value >= 10 || min_digits == 2;
        put_bytes(out, both ? pair : pair + 1, both ? 2 : 1);
        return;
    }
    char digits[k_number_digits + 1];
    int at = k_number_digits;
    // Counted as a negative number, so that the smallest int has a digit for every place.
    const bool negative = value < 0;
    int rest = negative ? value : -value;
    do {
        digits[--at] = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0 && at > 1);
    while (k_number_digits - at < min_digits && at > 1) digits[--at] = '0';
    if (negative) digits[--at] = '-';
    put_bytes(out, digits + at, static_cast<size_t>(k_number_digits - at));
}

bool finish_output(OutputBuffer& out) {
    if (out.stream == nullptr) return false;
    drain(out);
    return !out.failed && std::ferror(out.stream) == 0;
}
