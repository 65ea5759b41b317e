// Date-time values and their one text form, the time text.
// Platform-free: plain C++20, no Windows header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// OLE Automation date: days since 1899-12-30, the time of day as a fraction
// that is added for day numbers >= 0 and subtracted for negative ones.
// Values made from calendar parts are always whole seconds.
using DateTime = double;

inline constexpr DateTime minDateTime = -657434.0;  // 0100-01-01 00:00:00
inline constexpr DateTime maxDateTime = 2958465.0;  // 9999-12-31 00:00:00

struct DateTimeParts {
    std::int32_t year;    // [100, 9999]
    std::int32_t month;   // [1, 12]
    std::int32_t day;     // [1, length of the month]
    std::int32_t hour;    // [0, 23]
    std::int32_t minute;  // [0, 59]
    std::int32_t second;  // [0, 59]

    friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

// Fails when a part lies outside its range. The same parts always give the
// same value bit for bit: the scheduler compares such values for equality.
std::optional<DateTime> dateTimeFromParts(const DateTimeParts& parts) noexcept;

// Rounds the time of day to the nearest second. Fails outside
// [minDateTime, maxDateTime] and for NaN.
std::optional<DateTimeParts> dateTimeToParts(DateTime value) noexcept;

// NaN, which no conversion produces, is taken as minDateTime.
DateTime clampDateTime(DateTime value) noexcept;

// "%d年%d月%d日" plus the shortest time of day that keeps every non-zero part,
// in GBK bytes.
std::string dateTimeToText(DateTime value);

// Full-width ASCII forms (A3 A1..A3 FE) become their ASCII byte, the
// ideographic space (A1 A1) a space; a lead byte left alone at the end is
// dropped. Every other character is copied unchanged.
std::string foldFullWidth(std::string_view text);

// Parses a time text; minDateTime when the text is not one. Stops at the
// first zero byte, as the text is a C string for every caller.
DateTime textToDateTime(std::string_view text) noexcept;

// The local wall-clock time, fractions of a second dropped.
DateTime currentDateTime() noexcept;

// The local wall clock's calendar parts; implemented once per platform.
DateTimeParts localClockParts() noexcept;
