#include "schedule/datetime.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr bool isLeapYear(std::int32_t y) noexcept {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr std::int32_t daysInMonth(std::int32_t y, std::int32_t m) noexcept {
    constexpr std::array<std::int32_t, 12> lengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : lengths[static_cast<std::size_t>(m - 1)];
}

constexpr bool inRange(const DateTimeParts& p) noexcept {
    return p.year >= 100 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
           p.day <= daysInMonth(p.year, p.month) && p.hour >= 0 && p.hour <= 23 && p.minute >= 0 &&
           p.minute <= 59 && p.second >= 0 && p.second <= 59;
}

struct CivilDate {
    std::int32_t year, month, day;
};

// Howard Hinnant's civil_from_days; z counts days from 1970-01-01.
constexpr CivilDate civilFromDays(std::int64_t z) noexcept {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<std::uint32_t>(z - era * 146097);              // [0, 146096]
    const std::uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const std::uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);          // [0, 365]
    const std::uint32_t mp = (5 * doy + 2) / 153;                               // [0, 11]
    const std::uint32_t d = doy - (153 * mp + 2) / 5 + 1;                       // [1, 31]
    const std::uint32_t m = mp < 10 ? mp + 3 : mp - 9;                          // [1, 12]
    const auto y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<std::int32_t>(y), static_cast<std::int32_t>(m), static_cast<std::int32_t>(d)};
}

constexpr std::int64_t oleDayOfUnixEpoch = 25569;  // 1970-01-01

// Writes 0..9999 without leading zeros; returns the end.
char* writeNumber(char* out, std::int32_t v) noexcept {
    if (v >= 1000) *out++ = static_cast<char>('0' + v / 1000);
    if (v >= 100) *out++ = static_cast<char>('0' + v / 100 % 10);
    if (v >= 10) *out++ = static_cast<char>('0' + v / 10 % 10);
    *out++ = static_cast<char>('0' + v % 10);
    return out;
}

char* writeUnit(char* out, const char (&unit)[3]) noexcept {
    *out++ = unit[0];
    *out++ = unit[1];
    return out;
}

// The unit characters in GBK.
constexpr char kYear[3] = "\xC4\xEA";    // 年
constexpr char kMonth[3] = "\xD4\xC2";   // 月
constexpr char kDay[3] = "\xC8\xD5";     // 日
constexpr char kHour[3] = "\xCA\xB1";    // 时
constexpr char kMinute[3] = "\xB7\xD6";  // 分
constexpr char kSecond[3] = "\xC3\xEB";  // 秒

// Calls emit(byte) for every byte of the folded text.
template <typename Emit>
void foldEach(std::string_view text, Emit&& emit) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            emit(static_cast<char>(lead));
            ++i;
            continue;
        }
        if (i + 1 == n) return;  // a lead byte without its second byte
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            emit(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            emit(' ');
        } else {
            emit(static_cast<char>(lead));
            emit(static_cast<char>(trail));
        }
        i += 2;
    }
}

constexpr int unitCode(const char (&unit)[3]) noexcept {
    return static_cast<unsigned char>(unit[0]) << 8 | static_cast<unsigned char>(unit[1]);
}

// Reads the folded text one character at a time without building it: an
// ASCII character is its byte, any other double-byte character the code
// lead << 8 | trail. This keeps the parser free of copies.
class FoldedScanner {
public:
    static constexpr int kEnd = -1;

    explicit FoldedScanner(std::string_view text) noexcept
        : p_(reinterpret_cast<const unsigned char*>(text.data())), end_(p_ + text.size()) {}

    // A run of at most maxDigits ASCII digits; no digits read as 0.
    std::int32_t number(int maxDigits) noexcept {
        // Fast paths for plain ASCII digits; a byte A3 may start a
        // full-width digit, which only the general path folds.
        if (maxDigits == 2 && end_ - p_ >= 2 && p_[0] < 0x80 && p_[1] != 0xA3) return twoAsciiDigits();
        if (maxDigits == 4 && end_ - p_ >= 4 && isDigit(p_[0]) && isDigit(p_[1]) && isDigit(p_[2]) && isDigit(p_[3])) {
            const auto value = (p_[0] - '0') * 1000 + (p_[1] - '0') * 100 + (p_[2] - '0') * 10 + (p_[3] - '0');
            p_ += 4;
            return value;
        }
        std::int32_t value = 0;
        for (int i = 0; i < maxDigits; ++i) {
            int width;
            const int c = peek(width);
            if (c < '0' || c > '9') break;
            value = value * 10 + (c - '0');
            p_ += width;
        }
        return value;
    }

    // Skips one listed separator byte or the field's unit character.
    void skipSeparator(bool spaceToo, int unit) noexcept {
        if (startsWithUnit(unit)) {  // the usual case, as the time text is written
            p_ += 2;
            return;
        }
        int width;
        const int c = peek(width);
        if (c == '-' || c == '.' || c == '/' || c == ':' || (spaceToo && c == ' ') || c == unit) p_ += width;
    }

    // After the last field: the end of the text or the unit 秒, then anything.
    bool endsAfterSeconds() const noexcept {
        if (startsWithUnit(unitCode(kSecond))) return true;
        int width;
        const int c = peek(width);
        return c == kEnd || c == unitCode(kSecond);
    }

private:
    static bool isDigit(unsigned char c) noexcept { return c >= '0' && c <= '9'; }

    // A unit character's two bytes are never folded, so they can be
    // compared as they stand.
    bool startsWithUnit(int unit) const noexcept {
        return end_ - p_ >= 2 && p_[0] == (unit >> 8) && p_[1] == (unit & 0xFF);
    }

    // The usual case of a one- or two-digit field in plain ASCII, without a
    // branch on the number of digits, which varies from text to text.
    std::int32_t twoAsciiDigits() noexcept {
        const unsigned d0 = p_[0] - '0';
        const unsigned d1 = p_[1] - '0';
        const unsigned first = d0 < 10;
        const unsigned both = first & (d1 < 10);
        p_ += first + both;
        // Arithmetic instead of a choice, which the compiler would branch on.
        return static_cast<std::int32_t>((d0 * (1 + 9 * both) + d1 * both) * first);
    }

    int peek(int& width) const noexcept {
        // The text is a C string: its first zero byte ends it.
        if (p_ == end_ || *p_ == 0) return width = 0, kEnd;
        const unsigned lead = *p_;
        if (lead < 0x80) return width = 1, static_cast<int>(lead);
        if (p_ + 1 == end_ || p_[1] == 0) return width = 1, kEnd;  // a lone lead byte is dropped
        const unsigned trail = p_[1];
        width = 2;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<int>(trail - 0x80);
        if (lead == 0xA1 && trail == 0xA1) return ' ';
        return static_cast<int>(lead << 8 | trail);
    }

    const unsigned char* p_;
    const unsigned char* end_;
};

}  // namespace

std::optional<DateTime> dateTimeFromParts(const DateTimeParts& p) noexcept {
    if (!inRange(p)) return std::nullopt;
    constexpr std::array<std::int32_t, 12> daysBefore{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    std::int64_t n = 365LL * p.year + p.year / 4 - p.year / 100 + p.year / 400 +
                     daysBefore[static_cast<std::size_t>(p.month - 1)] + p.day - 693959;
    if (isLeapYear(p.year) && p.month <= 2) --n;
    const double f = static_cast<double>(3600 * p.hour + 60 * p.minute + p.second) / 86400.0;
    const auto day = static_cast<double>(n);
    return n >= 0 ? day + f : day - f;
}

std::optional<DateTimeParts> dateTimeToParts(DateTime value) noexcept {
    if (!(value >= minDateTime && value <= maxDateTime)) return std::nullopt;
    constexpr double halfSecond = 1.0 / 172800.0;
    const double sum = value > 0 ? value + halfSecond : value - halfSecond;
    // |sum| < 3e6, so integer conversion truncates exactly, without the
    // library calls of trunc and floor.
    const auto day = static_cast<std::int64_t>(sum);
    const double magnitude = sum < 0 ? -sum : sum;
    const double fraction = magnitude - static_cast<double>(static_cast<std::int64_t>(magnitude));
    // The product can round up to 86400 for a fraction just below 1.
    const auto s = std::min(static_cast<std::int32_t>(fraction * 86400.0), 86399);
    const CivilDate date = civilFromDays(day - oleDayOfUnixEpoch);
    return DateTimeParts{date.year, date.month, date.day, s / 3600, (s / 60) % 60, s % 60};
}

DateTime clampDateTime(DateTime value) noexcept {
    if (value > maxDateTime) return maxDateTime;
    if (value >= minDateTime) return value;
    return minDateTime;  // below the range, or NaN
}

std::string dateTimeToText(DateTime value) {
    const DateTimeParts p = *dateTimeToParts(clampDateTime(value));
    char buffer[40];  // the longest text, 9999年12月31日23时59分59秒, has 28 bytes
    char* out = buffer;
    out = writeUnit(writeNumber(out, p.year), kYear);
    out = writeUnit(writeNumber(out, p.month), kMonth);
    out = writeUnit(writeNumber(out, p.day), kDay);
    if (p.hour != 0 || p.minute != 0 || p.second != 0) out = writeUnit(writeNumber(out, p.hour), kHour);
    if (p.minute != 0 || p.second != 0) out = writeUnit(writeNumber(out, p.minute), kMinute);
    if (p.second != 0) out = writeUnit(writeNumber(out, p.second), kSecond);
    return std::string(buffer, out);
}

std::string foldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    foldEach(text, [&](char c) { folded.push_back(c); });
    return folded;
}

DateTime textToDateTime(std::string_view text) noexcept {
    FoldedScanner scan(text);
    DateTimeParts p{};
    p.year = scan.number(4);
    scan.skipSeparator(false, unitCode(kYear));
    p.month = scan.number(2);
    scan.skipSeparator(false, unitCode(kMonth));
    p.day = scan.number(2);
    scan.skipSeparator(true, unitCode(kDay));
    p.hour = scan.number(2);
    scan.skipSeparator(false, unitCode(kHour));
    p.minute = scan.number(2);
    scan.skipSeparator(false, unitCode(kMinute));
    p.second = scan.number(2);
    if (!scan.endsAfterSeconds()) return minDateTime;
    return dateTimeFromParts(p).value_or(minDateTime);
}

DateTime currentDateTime() noexcept {
    return dateTimeFromParts(localClockParts()).value_or(minDateTime);
}
