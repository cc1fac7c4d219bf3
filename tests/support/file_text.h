// Reading a stream or a file whole, so that tests compare what was written byte for byte.
#pragma once

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_folder.h"

// How a file is read: its bytes as they are, or as text, where the Windows runtime turns
// the platform's CR LF back into LF.
enum class FileMode { bytes, text };

// Everything in the stream, from its start.
inline std::string stream_text(std::FILE* stream) {
    std::rewind(stream);
    std::string text;
    char block[4096];
    for (size_t got; (got = std::fread(block, 1, sizeof block, stream)) > 0;) text.append(block, got);
    return text;
}

// The whole file named by a UTF-8 path; "<missing PATH>" when it cannot be opened.
inline std::string file_text(const std::string& path, FileMode mode = FileMode::bytes) {
    std::ifstream in(path_from_utf8(path), mode == FileMode::bytes ? std::ios::in | std::ios::binary : std::ios::in);
    if (!in) return "<missing " + path + ">";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
