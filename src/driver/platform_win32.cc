// The Windows side of the platform layer. Windows names files in UTF-16, so every UTF-8
// path is converted here when a file is opened, moved or removed; nothing passes through
// the ANSI code page. The console gets UTF-8 output.
#include "driver/platform.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>

#include "driver/utf16_conversion.h"

namespace {

constexpr int k_wide_mode_units = 8;  // room for a mode such as "rb" or "w"
constexpr size_t k_console_buffer_size = 32768;  // more than one run ever prints
char g_console_buffer[k_console_buffer_size];

}  // namespace

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

FILE* open_input_file(const char* path) {
    FILE* stream = open_file(path, "rb");
    if (stream == nullptr) return nullptr;
    struct _stat64 info {};
    if (_fstat64(_fileno(stream), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(stream);
        return nullptr;
    }
    return stream;
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
