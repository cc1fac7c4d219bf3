// The Windows side of the platform layer. Windows names files in UTF-16, so every UTF-8
// path is converted here when a file is opened, moved or removed; nothing passes through
// the ANSI code page. The console gets UTF-8 output. Outputs are created with CREATE_NEW,
// flushed to the disk and moved with write-through; two runs writing into one folder
// take turns through a named mutex, which Windows releases when a process ends.
#define _CRT_RAND_S  // rand_s, the runtime's cryptographic random numbers

#include "platform/platform.h"

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/bounded_text.h"
#include "core/hash.h"
#include "platform/streams.h"
#include "platform/utf16_conversion.h"

namespace {

constexpr int k_wide_mode_units = 8;  // room for a mode such as "rb" or "w"
constexpr size_t k_console_buffer_size = 32768;  // more than one run ever prints
char g_console_buffer[k_console_buffer_size];
constexpr DWORD k_console_line_units = 256;  // one typed answer: a number or a club's name, with room to spare
constexpr DWORD k_full_path_units = 1024;  // an absolute form of any path the program writes
constexpr int k_mutex_name_units = 64;     // "Global\\Termarium-" and k_hash_digits hexadecimal digits
constexpr int k_hash_digits = 16;          // the folder's whole 64-bit hash

// Opens a file named by a UTF-8 path; nullptr when it cannot be opened.
FILE* open_file(const char* path, const char* mode) {
    wchar_t wide_path[k_wide_path_units];
    wchar_t wide_mode[k_wide_mode_units];
    if (!utf8_to_utf16(path, wide_path, k_wide_path_units) ||
        !utf8_to_utf16(mode, wide_mode, k_wide_mode_units)) {
        return nullptr;
    }
    return _wfopen(wide_path, wide_mode);
}

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

bool read_console_line(char* out, size_t size) {
    if (size == 0) return false;
    out[0] = '\0';
    std::fflush(stdout);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode)) {
        // The console hands typed text over as UTF-16 only; its byte reading would give
        // "ü" in the console's code page.
        wchar_t line[k_console_line_units] = {};
        DWORD read = 0;
        if (!ReadConsoleW(input, line, k_console_line_units - 1, &read, nullptr) || read == 0) return false;
        line[read] = L'\0';
        for (DWORD i = 0; i < read; ++i) {
            if (line[i] == L'\r' || line[i] == L'\n') line[i] = L'\0';
        }
        if (!utf16_to_utf8(line, out, size)) out[0] = '\0';
        return true;
    }
    return read_stream_line(stdin, out, size);
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

bool is_folder(const char* path) {
    wchar_t wide_path[k_wide_path_units];
    if (!utf8_to_utf16(path, wide_path, k_wide_path_units)) return false;
    const DWORD attributes = GetFileAttributesW(wide_path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FILE* create_new_file(const char* path, WriteMode mode) {
    wchar_t wide_path[k_wide_path_units];
    if (!utf8_to_utf16(path, wide_path, k_wide_path_units)) return nullptr;
    // CREATE_NEW fails when anything stands at the name; no other program may write to it
    // while this run does.
    HANDLE file = CreateFileW(wide_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    const int translation = mode == WriteMode::bytes ? _O_BINARY : _O_TEXT;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | translation);
    if (fd < 0) {
        CloseHandle(file);
        DeleteFileW(wide_path);
        return nullptr;
    }
    FILE* stream = _fdopen(fd, mode == WriteMode::bytes ? "wb" : "w");
    if (stream == nullptr) {
        _close(fd);
        DeleteFileW(wide_path);
    }
    return stream;
}

bool flush_to_disk(FILE* stream) {
    if (std::fflush(stream) != 0) return false;
    const int fd = _fileno(stream);
    if (fd < 0) return true;
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE || FlushFileBuffers(file)) return true;
    const DWORD error = GetLastError();
    return error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_FUNCTION;  // a console or pipe
}

ReplaceResult replace_file(const char* from, const char* to) {
    wchar_t wide_from[k_wide_path_units];
    wchar_t wide_to[k_wide_path_units];
    if (!utf8_to_utf16(from, wide_from, k_wide_path_units) ||
        !utf8_to_utf16(to, wide_to, k_wide_path_units)) {
        return ReplaceResult::failed;
    }
    // Unlike rename, this replaces an existing file, in one step, and returns only once
    // the move is on the disk.
    if (MoveFileExW(wide_from, wide_to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return ReplaceResult::done;
    }
    // A program such as Excel holds the file it shows open and does not let it be deleted;
    // asking for the right to delete it tells that case from any other.
    HANDLE older = CreateFileW(wide_to, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (older == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION ? ReplaceResult::in_use : ReplaceResult::failed;
    }
    CloseHandle(older);
    return ReplaceResult::failed;
}

void remove_file(const char* path) {
    wchar_t wide_path[k_wide_path_units];
    if (utf8_to_utf16(path, wide_path, k_wide_path_units)) DeleteFileW(wide_path);
}

uint64_t random_bits() {
    unsigned int high = 0;
    unsigned int low = 0;
    if (rand_s(&high) != 0 || rand_s(&low) != 0) {
        // No random source: the process id and the clock still differ between two runs.
        return GetCurrentProcessId() * 0x9E3779B97F4A7C15ULL ^ GetTickCount64();
    }
    return static_cast<uint64_t>(high) << 32 | low;
}

LockResult lock_folder_of(const char* path, int wait_ms, intptr_t& handle) {
    wchar_t wide_path[k_wide_path_units];
    wchar_t full[k_full_path_units];
    wchar_t* name_part = nullptr;
    if (!utf8_to_utf16(path, wide_path, k_wide_path_units)) return LockResult::unavailable;
    const DWORD length = GetFullPathNameW(wide_path, k_full_path_units, full, &name_part);
    if (length == 0 || length >= k_full_path_units || name_part == nullptr) return LockResult::unavailable;
    // The same folder under any spelling (relative, other case) gives the same name.
    const DWORD folder_length = static_cast<DWORD>(name_part - full);
    CharUpperBuffW(full, folder_length);
    // A short, fixed-size name for a folder of any length.
    char hash[k_hash_digits + 1];
    hex_digits(hash_bytes(k_hash_start, full, folder_length * sizeof(wchar_t)), k_hash_digits, hash);

    // Global reaches every session on the machine; where it is refused, Local this one.
    constexpr const char* k_scopes[] = {"Global\\Termarium-", "Local\\Termarium-"};
    HANDLE mutex = nullptr;
    for (const char* scope : k_scopes) {
        char name[k_mutex_name_units];
        wchar_t wide_name[k_mutex_name_units];
        if (!copy_text(name, sizeof name, scope) || !append_text(name, sizeof name, hash) ||
            !utf8_to_utf16(name, wide_name, k_mutex_name_units)) {
            return LockResult::unavailable;
        }
        mutex = CreateMutexW(nullptr, FALSE, wide_name);
        if (mutex != nullptr) break;
    }
    if (mutex == nullptr) return LockResult::unavailable;
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(wait_ms));
    // WAIT_ABANDONED: the holder ended without releasing it; the mutex is now this run's.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        handle = reinterpret_cast<intptr_t>(mutex);
        return LockResult::locked;
    }
    CloseHandle(mutex);
    return waited == WAIT_TIMEOUT ? LockResult::busy : LockResult::unavailable;
}

void unlock_folder(intptr_t handle) {
    HANDLE mutex = reinterpret_cast<HANDLE>(handle);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}
