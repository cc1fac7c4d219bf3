// The floor under a whole run: what any program that reads the calendars and leaves the
// same three outputs durably on the disk must do, without any of Termarium's work. It
// reads every input whole, then writes each output's bytes (taken from a finished run)
// into a new temporary file beside it, flushes it to the disk, renames it over the output
// and flushes the folder. whole_run.sh times it alongside the program.
// Usage: termarium_durable_floor OUTPUT... -- INPUT...
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool read_whole(const char* path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<bool>(in) || in.eof();
}

bool write_durably(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".floor.tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    const bool synced = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !synced || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) return false;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int folder_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_fd < 0) return false;
    fsync(folder_fd);
    return close(folder_fd) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> outputs;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) outputs.emplace_back(argv[i]);
    if (i == argc || outputs.empty()) {
        std::fprintf(stderr, "usage: %s OUTPUT... -- INPUT...\n", argv[0]);
        return 2;
    }
    std::string bytes;
    size_t read = 0;
    for (++i; i < argc; ++i) {
        if (!read_whole(argv[i], bytes)) return 1;
        read += bytes.size();
    }
    for (const std::string& output : outputs) {
        if (!read_whole(output.c_str(), bytes) || !write_durably(output, bytes)) return 1;
    }
    return read > 0 ? 0 : 1;
}
