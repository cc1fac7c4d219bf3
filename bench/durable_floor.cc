// The floor under a whole run: the least that any program must do which reads the
// calendars and leaves outputs of the same sizes durably on the disk, without any of
// Termarium's work. Each input is read with read() into one buffer; the outputs' bytes
// stand ready in memory, and each output is written with one write() into a new
// temporary file beside it, flushed to the disk, renamed over the output, and its folder
// flushed before the next. whole_run.sh times it alongside the program.
// Usage: termarium_durable_floor OUTPUT=SIZE... -- INPUT...
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t k_largest_output = 32u << 20;  // far more than a run of 5000 rows writes into one output
constexpr size_t k_input_buffer = 2u << 20;     // more than any calendar file the program takes (1 MiB)
constexpr size_t k_path_room = 4096;

char g_output_bytes[k_largest_output];  // the outputs' bytes, ready before the first write
char g_input_bytes[k_input_buffer];

// Reads the whole file; the number of bytes, or -1.
long read_input(const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    long total = 0;
    for (;;) {
        const ssize_t got = read(fd, g_input_bytes, sizeof g_input_bytes);
        if (got <= 0) {
            close(fd);
            return got < 0 ? -1 : total;
        }
        total += got;
    }
}

bool write_durably(const char* path, size_t size) {
    char temporary[k_path_room];
    char folder[k_path_room];
    if (std::snprintf(temporary, sizeof temporary, "%s.floor.tmp", path) >= static_cast<int>(sizeof temporary)) return false;
    const char* slash = std::strrchr(path, '/');
    const size_t folder_length = slash == nullptr ? 0 : static_cast<size_t>(slash - path) + 1;
    if (folder_length >= sizeof folder) return false;
    std::memcpy(folder, path, folder_length);
    std::strcpy(folder + folder_length, folder_length == 0 ? "." : "");

    const int fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool written = write(fd, g_output_bytes, size) == static_cast<ssize_t>(size);
    const bool synced = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !synced || !closed || std::rename(temporary, path) != 0) return false;
    const int folder_fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_fd < 0) return false;
    fsync(folder_fd);
    return close(folder_fd) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {}
    if (i == argc || i == 1) {
        std::fprintf(stderr, "usage: %s OUTPUT=SIZE... -- INPUT...\n", argv[0]);
        return 2;
    }
    long read_total = 0;
    for (int k = i + 1; k < argc; ++k) {
        const long got = read_input(argv[k]);
        if (got < 0) return 1;
        read_total += got;
    }
    for (int k = 1; k < i; ++k) {
        char* equals = std::strrchr(argv[k], '=');
        if (equals == nullptr) return 2;
        *equals = '\0';
        const unsigned long size = std::strtoul(equals + 1, nullptr, 10);
        if (size > k_largest_output || !write_durably(argv[k], size)) return 1;
    }
    return read_total > 0 ? 0 : 1;
}
