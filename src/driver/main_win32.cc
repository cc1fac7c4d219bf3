// Program entry on Windows: one zero-filled run state for the whole run. Windows starts
// the program through its UTF-16 entry, whose arguments become UTF-8 in fixed storage
// before the driver sees them.
#include "driver/driver.h"
#include "platform/platform.h"
#include "platform/utf16_conversion.h"

namespace {

RunState g_state;            // zero-filled as a static; the only instance in the program
ArgumentBuffer g_arguments;  // the command line as UTF-8, for the whole run

}  // namespace

int wmain(int argc, wchar_t** argv) {
    unsigned console = prepare_console();
    int count = utf8_arguments(g_arguments, argc, argv);
    int status = run_schedule(g_state, count, g_arguments.vector);
    finish_console(console);
    return status;
}
