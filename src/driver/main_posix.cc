// Program entry on POSIX: one zero-filled run state for the whole run, handed to the
// driver with the byte arguments as they are.
#include "driver/driver.h"
#include "platform/platform.h"

namespace {

RunState g_state;  // zero-filled as a static; the only instance in the program

}  // namespace

int main(int argc, char** argv) {
    unsigned console = prepare_console();
    int status = run_schedule(g_state, argc, argv);
    finish_console(console);
    return status;
}
