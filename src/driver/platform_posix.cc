// The POSIX side of the platform layer: byte paths go straight to the C library, and
// the standard streams are made sure to exist before the first file is opened.
#include "driver/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

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
    return std::fopen(path, mode);
}

FILE* open_input_file(const char* path) {
    // Without O_NONBLOCK, opening a named pipe would wait for a writer for ever; anything
    // but a regular file is refused below, and a regular file's reads ignore the flag.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    // A folder opens here too, and would fail only on its first read.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    FILE* stream = fdopen(fd, "rb");
    if (stream == nullptr) close(fd);
    return stream;
}

bool replace_file(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

void remove_file(const char* path) {
    std::remove(path);
}
