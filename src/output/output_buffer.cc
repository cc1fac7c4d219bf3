// Gathering an output's bytes. A piece larger than the room left is split, so every piece
// of any size goes out in order.
#include "output/output_buffer.h"

#include "core/bounded_text.h"

namespace {

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

void put_number(OutputBuffer& out, int value, int min_digits) {  // NOLINT(bugprone-easily-swappable-parameters)
    char digits[k_number_size];
    put_bytes(out, digits, write_number(digits, sizeof digits, value, min_digits));
}

bool finish_output(OutputBuffer& out) {
    if (out.stream == nullptr) return false;
    drain(out);
    return !out.failed && std::ferror(out.stream) == 0;
}
