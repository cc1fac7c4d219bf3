// The one place where Windows and POSIX differ. Windows hands over the command line in
// UTF-16 and names files in UTF-16, so arguments are turned into UTF-8 here once and
// every path back into UTF-16 when a file is opened, moved or removed; nothing passes
// through the ANSI code page. On POSIX the byte paths go straight to the C library.
#include "driver/platform.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr uint32_t k_replacement_character = 0xFFFD;  // stands in for a lone surrogate
constexpr uint32_t k_largest_code_point = 0x10FFFF;

bool is_high_surrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes the UTF-8 form of code point c into bytes; returns its length, 1 to 4.
size_t encode_utf8(uint32_t c, char* bytes) {
    if (c < 0x80) {
        bytes[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | (c >> 6));
        bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | (c >> 12));
        bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<char>(0xF0 | (c >> 18));
    bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

// Reads one UTF-8 character from text into c; returns its length, 0 when malformed.
size_t decode_utf8(const unsigned char* text, uint32_t& c) {
    size_t extra = 0;
    uint32_t smallest = 0;
    if (text[0] < 0x80) {
        c = text[0];
        return 1;
    } else if ((text[0] & 0xE0) == 0xC0) {
        c = text[0] & 0x1F;
        extra = 1;
        smallest = 0x80;
    } else if ((text[0] & 0xF0) == 0xE0) {
        c = text[0] & 0x0F;
        extra = 2;
        smallest = 0x800;
    } else if ((text[0] & 0xF8) == 0xF0) {
        c = text[0] & 0x07;
        extra = 3;
        smallest = 0x10000;
    } else {
        return 0;
    }
    for (size_t k = 1; k <= extra; ++k) {
        if ((text[k] & 0xC0) != 0x80) return 0;  // also stops at the terminating NUL
        c = (c << 6) | (text[k] & 0x3F);
    }
    if (c < smallest || c > k_largest_code_point || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return extra + 1;
}

#ifdef _WIN32
constexpr int k_wide_mode_units = 8;  // room for a mode such as "rb" or "w"
constexpr size_t k_console_buffer_size = 32768;  // more than one run ever prints
char g_console_buffer[k_console_buffer_size];
#endif

}  // namespace

bool utf16_to_utf8(const wchar_t* units, char* out, size_t size) {
    if (size == 0) return false;
    size_t used = 0;
    for (size_t i = 0; units[i] != 0;) {
        // A wide unit is a UTF-16 (or UTF-32) code unit, not a character byte; the check
        // mistakes wchar_t for a signed char.
        uint32_t c = static_cast<uint32_t>(units[i]);  // NOLINT(bugprone-signed-char-misuse,cert-str34-c)
        size_t step = 1;
        if (is_high_surrogate(c) && is_low_surrogate(static_cast<uint32_t>(units[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(units[i + 1]) - 0xDC00);
            step = 2;
        } else if (is_high_surrogate(c) || is_low_surrogate(c) || c > 0xFFFF) {
            c = k_replacement_character;
        }
        char bytes[4];
        size_t length = encode_utf8(c, bytes);
        if (used + length > size - 1) {
            out[used] = '\0';
            return false;
        }
        std::memcpy(out + used, bytes, length);
        used += length;
        i += step;
    }
    out[used] = '\0';
    return true;
}

bool utf8_to_utf16(const char* text, wchar_t* out, size_t units) {
    if (units == 0) return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t used = 0;
    while (*bytes != 0) {
        uint32_t c = 0;
        size_t length = decode_utf8(bytes, c);
        size_t needed = c >= 0x10000 ? 2 : 1;
        if (length == 0 || used + needed > units - 1) {
            out[0] = 0;
            return false;
        }
        if (needed == 2) {
            out[used++] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out[used++] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out[used++] = static_cast<wchar_t>(c);
        }
        bytes += length;
    }
    out[used] = 0;
    return true;
}

int utf8_arguments(ArgumentBuffer& buffer, int argc, const wchar_t* const* argv) {
    int count = argc < 0 ? 0 : argc < k_argument_slots ? argc : k_argument_slots;
    for (int i = 0; i < count; ++i) {
        // A cut argument stays longer than any path, so it is rejected, never opened.
        utf16_to_utf8(argv[i] != nullptr ? argv[i] : L"", buffer.text[i], sizeof buffer.text[i]);
        buffer.vector[i] = buffer.text[i];
    }
    buffer.vector[count] = nullptr;
    return count;
}

#ifdef _WIN32

unsigned prepare_console() {
    // The C runtime would hand the console one byte at a time; a whole buffer keeps
    // every UTF-8 character in one piece. The driver flushes before each wait.
    std::setvbuf(stdout, g_console_buffer, _IOFBF, sizeof g_console_buffer);
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
        // In text mode the runtime re-encodes console output through its locale and so
        // garbles UTF-8; the console itself starts a new line at a line feed. Output
        // redirected to a file keeps text mode and its CR LF line ends.
        _setmode(_fileno(stdout), _O_BINARY);
    }
    unsigned previous = GetConsoleOutputCP();  // 0 when there is no console
    SetConsoleOutputCP(CP_UTF8);
    return previous;
}

void finish_console(unsigned previous) {
    std::fflush(stdout);
    if (previous != 0) SetConsoleOutputCP(previous);
}

FILE* open_file(const char* path, const char* mode) {
    wchar_t wide_path[k_wide_path_units];
    wchar_t wide_mode[k_wide_mode_units];
    if (!utf8_to_utf16(path, wide_path, k_wide_path_units) ||
        !utf8_to_utf16(mode, wide_mode, k_wide_mode_units)) {
        return nullptr;
    }
    return _wfopen(wide_path, wide_mode);
}

bool replace_file(const char* from, const char* to) {
    wchar_t wide_from[k_wide_path_units];
    wchar_t wide_to[k_wide_path_units];
    if (!utf8_to_utf16(from, wide_from, k_wide_path_units) ||
        !utf8_to_utf16(to, wide_to, k_wide_path_units)) {
        return false;
    }
    // Unlike rename, this replaces an existing file, in one step.
    return MoveFileExW(wide_from, wide_to, MOVEFILE_REPLACE_EXISTING) != 0;
}

void remove_file(const char* path) {
    wchar_t wide_path[k_wide_path_units];
    if (utf8_to_utf16(path, wide_path, k_wide_path_units)) DeleteFileW(wide_path);
}

#else

unsigned prepare_console() {
    // A program started with standard input, output or error closed would otherwise get
    // one of those numbers for its first opened file, and its messages would land there.
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
    return 0;
}

void finish_console(unsigned) {}

FILE* open_file(const char* path, const char* mode) {
    if (mode[0] != 'r') {
        // A link or file left at the temporary name is removed first, so that the output
        // never writes through a link into another file.
        struct stat info {};
        if (lstat(path, &info) == 0 && !S_ISDIR(info.st_mode)) unlink(path);
        return std::fopen(path, mode);
    }
    // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever; the caller
    // refuses anything but a regular file, whose reads the flag does not change.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    FILE* stream = fdopen(fd, mode);
    if (stream == nullptr) close(fd);
    return stream;
}

bool replace_file(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

void remove_file(const char* path) {
    std::remove(path);
}

#endif
