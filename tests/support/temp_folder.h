// A fresh temporary folder for a test, on POSIX and on Windows alike, and UTF-8 texts
// for the paths in it (a path's plain string() would go through the ANSI code page).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define termarium_process_id _getpid
#else
#include <unistd.h>
#define termarium_process_id getpid
#endif

// The path as UTF-8 text.
inline std::string utf8_path(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The UTF-8 text as a path.
inline std::filesystem::path path_from_utf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Creates a new, empty folder under the system's temporary folder; empty text on failure.
inline std::string make_temp_folder(const std::string& tag) {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::filesystem::path folder =
            base / (tag + "-" + std::to_string(termarium_process_id()) + "-" + std::to_string(attempt));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) return utf8_path(folder);
    }
    return std::string();
}

// Removes the folder and everything in it.
inline void remove_temp_folder(const std::string& folder) {
    std::error_code error;
    if (!folder.empty()) std::filesystem::remove_all(path_from_utf8(folder), error);
}

// An anonymous scratch file opened for reading and writing, as tmpfile() gives it. The
// Windows runtime's tmpfile() fails now and then when names are reused quickly (seen
// under Wine), so a failed attempt is tried again.
inline std::FILE* scratch_stream() {
    std::FILE* stream = nullptr;
    for (int attempt = 0; attempt < 100 && stream == nullptr; ++attempt) stream = std::tmpfile();
    return stream;
}

// A stream on a disk that refuses every write at once (POSIX's /dev/full, unbuffered as
// the program's outputs are); nullptr where there is no such device.
inline std::FILE* full_disk_stream() {
    std::FILE* stream = std::fopen("/dev/full", "wb");
    if (stream != nullptr) std::setvbuf(stream, nullptr, _IONBF, 0);
    return stream;
}
