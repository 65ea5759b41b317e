// The local wall clock on POSIX systems, for the native build.
#include <ctime>

#include "schedule/datetime.h"

DateTimeParts localClockParts() noexcept {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // A leap second (tm_sec 60) is held at :59 so that the parts stay valid.
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec > 59 ? 59 : local.tm_sec};
}
