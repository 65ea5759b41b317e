// textToDateTime on any bytes: no crash, no read past the end, and every
// accepted text formats to a text that parses to the same (clamped) value.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "schedule/datetime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size heap copy, so that ASan sees any read past the end.
    auto copy = std::make_unique<char[]>(size);
    if (size != 0) std::memcpy(copy.get(), data, size);
    const DateTime value = textToDateTime(std::string_view(copy.get(), size));

    if (value != minDateTime) {
        if (!dateTimeToParts(clampDateTime(value))) std::abort();
        const DateTime again = textToDateTime(dateTimeToText(value));
        if (again != clampDateTime(value)) std::abort();
    }
    (void)foldFullWidth(std::string_view(copy.get(), size));
    return 0;
}
