// The local wall clock on Windows.
#include <windows.h>

#include "schedule/datetime.h"

DateTimeParts localClockParts() noexcept {
    SYSTEMTIME now;
    GetLocalTime(&now);  // milliseconds are dropped, never rounded up
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
