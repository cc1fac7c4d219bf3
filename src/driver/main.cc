// Program entry: one zero-filled run state for the whole run, handed to the driver.
#include <fcntl.h>
#include <unistd.h>

#include "driver/driver.h"

namespace {

RunState g_state;  // zero-filled as a static; the only instance in the program

// A program started with standard input, output or error closed would otherwise get
// one of those numbers for its first opened file, and its messages would land there.
void keep_standard_streams_open() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

}  // namespace

int main(int argc, char** argv) {
    keep_standard_streams_open();
    return run_schedule(g_state, argc, argv);
}
