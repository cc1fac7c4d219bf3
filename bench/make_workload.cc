// Writes a 40-file benchmark workload into a folder and prints the file paths, one a
// line, in argument order, for the whole-process comparison script. With "andere" the
// calendars are those of another league site, read by property name; with "gross" they
// are the large workload of 4,800 matches instead of the 499-row table.
#include <cstdio>
#include <cstring>

#include "workload.h"

int main(int argc, char** argv) {
    WorkloadStyle style = WorkloadStyle::league_site;
    WorkloadSize size = WorkloadSize::full_table;
    bool known = argc >= 2;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "andere") == 0) {
            style = WorkloadStyle::other_site;
        } else if (std::strcmp(argv[i], "gross") == 0) {
            size = WorkloadSize::large;
        } else {
            known = false;
        }
    }
    if (!known) {
        std::fprintf(stderr, "usage: %s FOLDER [andere] [gross]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> paths = write_workload(argv[1], style, size);
    if (paths.empty()) return 1;
    for (const std::string& p : paths) std::printf("%s\n", p.c_str());
    return 0;
}
