// The run's time from the environment or the clock. getenv and time behave alike on every
// platform the program is built for, so this file is shared by all of them.
#include "platform/run_clock.h"

#include <cstdlib>
#include <ctime>

int64_t run_clock_seconds() {
    const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
    if (fixed != nullptr && fixed[0] != '\0') {
        int64_t seconds = 0;
        const char* at = fixed;
        for (; *at >= '0' && *at <= '9' && seconds <= k_last_run_second; ++at) seconds = seconds * 10 + (*at - '0');
        if (*at == '\0' && seconds <= k_last_run_second) return seconds;
    }
    return static_cast<int64_t>(std::time(nullptr));
}
