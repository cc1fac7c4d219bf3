// Writes the 40-file benchmark workload into a folder and prints the file paths, one a
// line, in argument order, for the whole-process comparison script.
#include <cstdio>

#include "workload.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<std::string> paths = write_workload(argv[1]);
    if (paths.empty()) return 1;
    for (const std::string& p : paths) std::printf("%s\n", p.c_str());
    return 0;
}
