// Program entry: one zero-filled run state for the whole run, handed to the driver.
// Windows starts the program through its UTF-16 entry, whose arguments become UTF-8
// in fixed storage first; POSIX passes its byte arguments on as they are.
#include "driver/driver.h"
#include "driver/platform.h"

namespace {

RunState g_state;  // zero-filled as a static; the only instance in the program

#ifdef _WIN32
ArgumentBuffer g_arguments;  // the command line as UTF-8, for the whole run
#endif

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    unsigned console = prepare_console();
    int count = utf8_arguments(g_arguments, argc, argv);
    int status = run_schedule(g_state, count, g_arguments.vector);
    finish_console(console);
    return status;
}
#else
int main(int argc, char** argv) {
    unsigned console = prepare_console();
    int status = run_schedule(g_state, argc, argv);
    finish_console(console);
    return status;
}
#endif
