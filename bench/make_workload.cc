// Writes the 40-file benchmark workload into a folder and prints the file paths, one a
// line, in argument order, for the whole-process comparison script. With "andere" the
// calendars are those of another league site, read by property name.
#include <cstdio>
#include <cstring>

#include "workload.h"

int main(int argc, char** argv) {
    const bool other = argc == 3 && std::strcmp(argv[2], "andere") == 0;
    if (argc != 2 && !other) {
        std::fprintf(stderr, "usage: %s FOLDER [andere]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> paths =
        write_workload(argv[1], other ? WorkloadStyle::other_site : WorkloadStyle::league_site);
    if (paths.empty()) return 1;
    for (const std::string& p : paths) std::printf("%s\n", p.c_str());
    return 0;
}
