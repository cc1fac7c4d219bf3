// The POSIX side of the platform layer: byte paths go straight to the C library, the
// standard streams are made sure to exist before the first file is opened, outputs are
// created exclusively and never through a link, synced before they are renamed, and the
// output folder is locked with flock, which the system releases when a process ends.
#include "platform/platform.h"
#include "platform/streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int k_lock_poll_ms = 5;      // pause between two tries of a busy lock
constexpr size_t k_folder_size = 4096;  // the folder part of any path the program writes

// Milliseconds of a monotonic clock.
long long now_ms() {
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The folder part of a path, up to but without its last '/', in out; "." when there is
// none. Only '/' separates folders here: a backslash is part of a POSIX file name. False
// when the folder part does not fit out.
bool folder_of(const char* path, char* out, size_t size) {
    const char* slash = std::strrchr(path, '/');
    size_t length = slash == nullptr ? 0 : static_cast<size_t>(slash - path);
    if (slash == path) length = 1;  // a file right under the root
    if (length == 0) return std::snprintf(out, size, ".") == 1;
    if (length >= size) return false;
    std::memcpy(out, path, length);
    out[length] = '\0';
    return true;
}

// Writes the folder's entries to the disk, so that a rename in it survives a power cut.
void sync_folder_of(const char* path) {
    char folder[k_folder_size];
    if (!folder_of(path, folder, sizeof folder)) return;
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // a file system that cannot sync a folder keeps its entries by itself
    close(fd);
}

}  // namespace

unsigned prepare_console() {
    // A program started with standard input, output or error closed would otherwise get
    // one of those numbers for its first opened file, and its messages would land there.
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
    return 0;
}

void finish_console(unsigned) {}

bool read_console_line(char* out, size_t size) {
    std::fflush(stdout);
    return read_stream_line(stdin, out, size);
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

bool is_folder(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

FILE* create_new_file(const char* path, WriteMode /*mode*/) {
    // POSIX streams write every byte as it stands; text and bytes are the same here.
    // O_EXCL refuses whatever stands at the name, a dangling link included; O_NOFOLLOW
    // says the same for a link once more.
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    FILE* stream = fdopen(fd, "w");
    if (stream == nullptr) {
        close(fd);
        unlink(path);
    }
    return stream;
}

bool flush_to_disk(FILE* stream) {
    if (std::fflush(stream) != 0) return false;
    const int fd = fileno(stream);
    if (fd < 0) return true;  // a memory stream has no file to sync
    return fsync(fd) == 0 || errno == EINVAL;  // EINVAL: a device or pipe that cannot sync
}

ReplaceResult replace_file(const char* from, const char* to) {
    if (std::rename(from, to) != 0) return ReplaceResult::failed;
    sync_folder_of(to);
    return ReplaceResult::done;
}

void remove_file(const char* path) {
    std::remove(path);
}

uint64_t random_bits() {
    uint64_t bits = 0;
    if (getentropy(&bits, sizeof bits) != 0) {
        // No entropy source: the process id and the clock still differ between two runs.
        bits = static_cast<uint64_t>(getpid()) * 0x9E3779B97F4A7C15ULL ^ static_cast<uint64_t>(now_ms());
    }
    return bits;
}

LockResult lock_folder_of(const char* path, int wait_ms, intptr_t& handle) {
    char folder[k_folder_size];
    if (!folder_of(path, folder, sizeof folder)) return LockResult::unavailable;
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LockResult::unavailable;
    const long long deadline = now_ms() + wait_ms;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            handle = fd;
            return LockResult::locked;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;  // no locks on this file system
        if (now_ms() >= deadline) {
            close(fd);
            return LockResult::busy;
        }
        const timespec pause {0, k_lock_poll_ms * 1000000L};
        nanosleep(&pause, nullptr);
    }
    close(fd);
    return LockResult::unavailable;
}

void unlock_folder(intptr_t handle) {
    const int fd = static_cast<int>(handle);
    flock(fd, LOCK_UN);
    close(fd);
}
