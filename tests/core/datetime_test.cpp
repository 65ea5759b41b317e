#include "schedule/datetime.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

namespace {

// GBK bytes of the unit characters and the full-width forms used below.
#define NIAN "\xC4\xEA"
#define YUE "\xD4\xC2"
#define RI "\xC8\xD5"
#define SHI "\xCA\xB1"
#define FEN "\xB7\xD6"
#define MIAO "\xC3\xEB"
#define IDEOGRAPHIC_SPACE "\xA1\xA1"

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return dateTimeFromParts({y, mo, d, h, mi, s}).value();
}

std::uint64_t bits(DateTime v) { return std::bit_cast<std::uint64_t>(v); }

}  // namespace

// The value is the documented OLE Automation date.
TEST(DateTimeFromParts, KnownDayNumbersAndFractions) {
    EXPECT_EQ(at(1899, 12, 30), 0.0);
    EXPECT_EQ(at(1899, 12, 31), 1.0);
    EXPECT_EQ(at(1900, 1, 1), 2.0);
    EXPECT_EQ(at(2019, 3, 2), 43526.0);
    EXPECT_EQ(at(1899, 12, 30, 6), 0.25);
    EXPECT_EQ(at(1899, 12, 29, 6), -1.25);  // the fraction is subtracted below day 0
    EXPECT_EQ(at(100, 1, 1), minDateTime);
    EXPECT_EQ(at(9999, 12, 31), maxDateTime);
    EXPECT_EQ(at(2000, 3, 1), 36586.0);  // after 29 February of a year divisible by 400
    EXPECT_EQ(at(1900, 3, 1), 61.0);     // 1900 is no leap year
}

TEST(DateTimeFromParts, RefusesEveryPartOutOfRange) {
    const DateTimeParts refused[] = {
        {99, 1, 1, 0, 0, 0},    {10000, 1, 1, 0, 0, 0}, {2019, 0, 1, 0, 0, 0},  {2019, 13, 1, 0, 0, 0},
        {2019, 1, 0, 0, 0, 0},  {2019, 1, 32, 0, 0, 0}, {2019, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0},
        {2019, 4, 31, 0, 0, 0}, {2019, 1, 1, 24, 0, 0}, {2019, 1, 1, -1, 0, 0}, {2019, 1, 1, 0, 60, 0},
        {2019, 1, 1, 0, 0, 60}, {2019, 1, 1, 0, 0, -1},
    };
    for (const auto& p : refused)
        EXPECT_FALSE(dateTimeFromParts(p).has_value()) << p.year << "-" << p.month << "-" << p.day << " "
                                                       << p.hour << ":" << p.minute << ":" << p.second;
    EXPECT_TRUE(dateTimeFromParts({2020, 2, 29, 23, 59, 59}).has_value());
    EXPECT_TRUE(dateTimeFromParts({2000, 2, 29, 0, 0, 0}).has_value());
}

TEST(DateTimeToParts, FailsOutsideTheRangeAndForNaN) {
    EXPECT_FALSE(dateTimeToParts(std::nextafter(maxDateTime, 3e6)).has_value());
    EXPECT_FALSE(dateTimeToParts(std::nextafter(minDateTime, -1e6)).has_value());
    EXPECT_FALSE(dateTimeToParts(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(dateTimeToParts(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_TRUE(dateTimeToParts(maxDateTime).has_value());
    EXPECT_TRUE(dateTimeToParts(minDateTime).has_value());
}

TEST(DateTimeToParts, RoundsTheTimeOfDayToTheNearestSecond) {
    const double second = 1.0 / 86400.0;
    const DateTime noon = at(2019, 3, 2, 12);
    EXPECT_EQ(dateTimeToParts(noon + 0.4 * second), (DateTimeParts{2019, 3, 2, 12, 0, 0}));
    EXPECT_EQ(dateTimeToParts(noon + 0.6 * second), (DateTimeParts{2019, 3, 2, 12, 0, 1}));
    // 0.4 s before midnight rounds up into the next day; 0.6 s before stays.
    const DateTime nextDay = at(2019, 3, 3);
    EXPECT_EQ(dateTimeToParts(nextDay - 0.4 * second), (DateTimeParts{2019, 3, 3, 0, 0, 0}));
    EXPECT_EQ(dateTimeToParts(nextDay - 0.6 * second), (DateTimeParts{2019, 3, 2, 23, 59, 59}));
    // Below day 0 the fraction counts the other way.
    EXPECT_EQ(dateTimeToParts(-1.25 - 0.4 * second), (DateTimeParts{1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(dateTimeToParts(0.0), (DateTimeParts{1899, 12, 30, 0, 0, 0}));
}

TEST(ClampDateTime, KeepsValuesInRangeAndPinsTheRest) {
    EXPECT_EQ(clampDateTime(maxDateTime + 0.5), maxDateTime);
    EXPECT_EQ(clampDateTime(-700000.0), minDateTime);
    EXPECT_EQ(clampDateTime(43526.25), 43526.25);
    EXPECT_EQ(clampDateTime(minDateTime), minDateTime);
    EXPECT_EQ(clampDateTime(maxDateTime), maxDateTime);
    EXPECT_EQ(clampDateTime(std::numeric_limits<double>::quiet_NaN()), minDateTime);
}

struct FormatCase {
    DateTime value;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const FormatCase& c) { return os << c.value; }

class DateTimeToText : public testing::TestWithParam<FormatCase> {};

TEST_P(DateTimeToText, WritesTheShortestFormThatKeepsEveryNonZeroPart) {
    EXPECT_EQ(dateTimeToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeToText,
    testing::Values(
        FormatCase{at(2019, 3, 2, 10, 5, 30), "2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN "30" MIAO},
        FormatCase{at(2019, 3, 2, 10, 5, 0), "2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN},
        FormatCase{at(2019, 3, 2, 10, 0, 0), "2019" NIAN "3" YUE "2" RI "10" SHI},
        FormatCase{at(2019, 3, 2, 0, 0, 0), "2019" NIAN "3" YUE "2" RI},
        FormatCase{at(2019, 3, 2, 0, 5, 0), "2019" NIAN "3" YUE "2" RI "0" SHI "5" FEN},
        FormatCase{at(2019, 3, 2, 10, 0, 7), "2019" NIAN "3" YUE "2" RI "10" SHI "0" FEN "7" MIAO},
        FormatCase{at(2019, 3, 2, 0, 0, 7), "2019" NIAN "3" YUE "2" RI "0" SHI "0" FEN "7" MIAO},
        FormatCase{0.0, "1899" NIAN "12" YUE "30" RI}, FormatCase{0.25, "1899" NIAN "12" YUE "30" RI "6" SHI},
        FormatCase{-1.25, "1899" NIAN "12" YUE "29" RI "6" SHI},
        FormatCase{2958465.5, "9999" NIAN "12" YUE "31" RI},  // clamped to maxDateTime
        FormatCase{-700000.0, "100" NIAN "1" YUE "1" RI},
        FormatCase{std::numeric_limits<double>::quiet_NaN(), "100" NIAN "1" YUE "1" RI},
        FormatCase{at(2019, 3, 3) - 0.4 / 86400.0, "2019" NIAN "3" YUE "3" RI},
        FormatCase{at(2019, 3, 3) - 0.6 / 86400.0, "2019" NIAN "3" YUE "2" RI "23" SHI "59" FEN "59" MIAO},
        FormatCase{at(9999, 12, 31), "9999" NIAN "12" YUE "31" RI},
        FormatCase{at(2019, 12, 31, 23, 59, 59), "2019" NIAN "12" YUE "31" RI "23" SHI "59" FEN "59" MIAO}));

struct ParseCase {
    std::string text;
    std::optional<DateTimeParts> moment;  // none: the text is refused
};

std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << '"' << c.text << '"'; }

class TextToDateTime : public testing::TestWithParam<ParseCase> {};

TEST_P(TextToDateTime, GivesTheMomentOrMinDateTime) {
    const ParseCase& c = GetParam();
    const DateTime expected = c.moment ? dateTimeFromParts(*c.moment).value() : minDateTime;
    EXPECT_EQ(bits(textToDateTime(c.text)), bits(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, TextToDateTime,
    testing::Values(
        ParseCase{"2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN "30" MIAO, DateTimeParts{2019, 3, 2, 10, 5, 30}},
        ParseCase{"2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN, DateTimeParts{2019, 3, 2, 10, 5, 0}},
        ParseCase{"2019" NIAN "3" YUE "2" RI "10" SHI, DateTimeParts{2019, 3, 2, 10, 0, 0}},
        ParseCase{"2019" NIAN "3" YUE "2" RI, DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"2019" NIAN "03" YUE "02" RI, DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN "30", DateTimeParts{2019, 3, 2, 10, 5, 30}},
        ParseCase{"2019" NIAN "3" YUE "2" RI "10" SHI "5" FEN "30" MIAO "run.bat x=1",
                  DateTimeParts{2019, 3, 2, 10, 5, 30}},
        ParseCase{"2019-3-2 10:05:30", DateTimeParts{2019, 3, 2, 10, 5, 30}},
        ParseCase{"2019/03/02 10:05", DateTimeParts{2019, 3, 2, 10, 5, 0}},
        ParseCase{"2019.3.2", DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"2019-3-2-10-5-30", DateTimeParts{2019, 3, 2, 10, 5, 30}},
        ParseCase{"20190302", DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"20190302100530", DateTimeParts{2019, 3, 2, 10, 5, 30}},
        // Full-width digits and colon: ２０１９年３月２日１０：０５
        ParseCase{"\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB9" NIAN "\xA3\xB3" YUE "\xA3\xB2" RI
                  "\xA3\xB1\xA3\xB0\xA3\xBA\xA3\xB0\xA3\xB5",
                  DateTimeParts{2019, 3, 2, 10, 5, 0}},
        ParseCase{"2019-3-2" IDEOGRAPHIC_SPACE "10:05", DateTimeParts{2019, 3, 2, 10, 5, 0}},
        ParseCase{"2019-3-2 ", DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"2019-3-2 :30", DateTimeParts{2019, 3, 2, 0, 30, 0}},
        ParseCase{"20191-3-2", DateTimeParts{2019, 1, 3, 2, 0, 0}},  // the fifth digit starts the month
        ParseCase{"999-1-1", DateTimeParts{999, 1, 1, 0, 0, 0}},
        ParseCase{"100" NIAN "1" YUE "1" RI, DateTimeParts{100, 1, 1, 0, 0, 0}},
        ParseCase{"2020-2-29", DateTimeParts{2020, 2, 29, 0, 0, 0}},
        ParseCase{"9999-12-31 23:59:59", DateTimeParts{9999, 12, 31, 23, 59, 59}},
        // ASCII and full-width digits mixed within one field.
        ParseCase{"20\xA3\xB1\xA3\xB9-3-2", DateTimeParts{2019, 3, 2, 0, 0, 0}},
        ParseCase{"2019-1\xA3\xB2-2", DateTimeParts{2019, 12, 2, 0, 0, 0}},
        ParseCase{"2019" NIAN "3" YUE "2" RI "1\xA3\xB0" SHI "5" FEN, DateTimeParts{2019, 3, 2, 10, 5, 0}},
        // A lone lead byte at the very end is dropped by the folding.
        ParseCase{"2019-3-2\xC4", DateTimeParts{2019, 3, 2, 0, 0, 0}},
        // The text ends at its first zero byte.
        ParseCase{std::string("2019-3-2\0garbage", 16), DateTimeParts{2019, 3, 2, 0, 0, 0}}));

INSTANTIATE_TEST_SUITE_P(
    Refused, TextToDateTime,
    testing::Values(ParseCase{"2019" NIAN "3" YUE "2" RI " 10" SHI, std::nullopt},
                    ParseCase{"2019-3-2 10:05 ", std::nullopt}, ParseCase{" 2019-3-2", std::nullopt},
                    ParseCase{"2019-3-2T10:05", std::nullopt}, ParseCase{"2019--3-2", std::nullopt},
                    ParseCase{"19-3-2", std::nullopt}, ParseCase{"10:05:30", std::nullopt},
                    ParseCase{"10" SHI "5" FEN, std::nullopt}, ParseCase{"2019" NIAN "3" YUE, std::nullopt},
                    ParseCase{"2019-2-29", std::nullopt}, ParseCase{"2019-13-1", std::nullopt},
                    ParseCase{"2019/3/32", std::nullopt}, ParseCase{"2019-3-2 24:00", std::nullopt},
                    ParseCase{"2019-3-2 10:60", std::nullopt}, ParseCase{"", std::nullopt},
                    ParseCase{std::string("\0" "2019-3-2", 9), std::nullopt},
                    ParseCase{"\xC4", std::nullopt}, ParseCase{"2019-3-2 10:05:30x", std::nullopt},
                    // A full-width character that is not an ASCII form is no separator.
                    ParseCase{"2019\xA1\xA2" "3-2", std::nullopt}));

struct FoldCase {
    std::string text;
    std::string folded;
};

std::ostream& operator<<(std::ostream& os, const FoldCase& c) { return os << '"' << c.text << '"'; }

class FoldFullWidth : public testing::TestWithParam<FoldCase> {};

TEST_P(FoldFullWidth, FoldsFullWidthAsciiFormsOnly) { EXPECT_EQ(foldFullWidth(GetParam().text), GetParam().folded); }

INSTANTIATE_TEST_SUITE_P(
    Table, FoldFullWidth,
    testing::Values(FoldCase{"", ""}, FoldCase{"abc 1", "abc 1"},
                    FoldCase{"\xA3\xB0\xA3\xB9\xA3\xAD\xA3\xAE\xA3\xAF\xA3\xBA", "09-./:"},
                    FoldCase{"\xA3\xA1\xA3\xFE", "!~"},  // both ends of the full-width range
                    FoldCase{"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},  // just outside it: unchanged
                    FoldCase{IDEOGRAPHIC_SPACE, " "}, FoldCase{NIAN "1", NIAN "1"},
                    FoldCase{"1\xA3", "1"},  // a lone lead byte at the end is dropped
                    FoldCase{"\xC4\xA3\xB1x", "\xC4\xA3\xB1x"},  // a trail byte is not read as a lead byte
                    FoldCase{"\xA3" "1", "\xA3" "1"}));

// Every day of the range, at a few times of day: text and parts round-trip
// exactly, and the day numbers run without a gap.
TEST(DateTimeRoundTrip, EveryDayFrom100To9999) {
    const DateTimeParts times[] = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, {0, 0, 0, 12, 0, 0},
                                   {0, 0, 0, 6, 30, 0}, {0, 0, 0, 23, 59, 59}};
    double expectedDay = minDateTime;
    long failures = 0;
    for (int y = 100; y <= 9999 && failures < 10; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const int length = (m == 2) ? ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? 29 : 28)
                                        : (m == 4 || m == 6 || m == 9 || m == 11 ? 30 : 31);
            for (int d = 1; d <= length; ++d) {
                const auto midnight = dateTimeFromParts({y, m, d, 0, 0, 0});
                if (!midnight || *midnight != expectedDay) {
                    ADD_FAILURE() << "day number of " << y << "-" << m << "-" << d;
                    ++failures;
                }
                expectedDay += 1.0;
                for (const auto& t : times) {
                    const DateTimeParts p{y, m, d, t.hour, t.minute, t.second};
                    const DateTime v = dateTimeFromParts(p).value();
                    // After midnight, 9999-12-31 lies above maxDateTime and 0100-01-01
                    // (whose fraction is subtracted) below minDateTime: both are clamped.
                    const bool outside = v > maxDateTime || v < minDateTime;
                    const DateTime back = textToDateTime(dateTimeToText(v));
                    const auto parts = dateTimeToParts(v);
                    const bool ok = outside ? (back == clampDateTime(v) && !parts)
                                            : (bits(back) == bits(v) && parts && *parts == p);
                    if (!ok) {
                        ADD_FAILURE() << "round trip of " << y << "-" << m << "-" << d << " " << t.hour << ":"
                                      << t.minute << ":" << t.second << " gave " << dateTimeToText(v);
                        ++failures;
                    }
                }
            }
        }
    }
    EXPECT_EQ(expectedDay, maxDateTime + 1.0);
}

TEST(CurrentDateTime, IsAWholeSecondThatRoundTripsThroughItsText) {
    const DateTime before = currentDateTime();
    const DateTime now = currentDateTime();
    EXPECT_GT(now, at(2000, 1, 1));
    EXPECT_GE(now, before);
    const auto parts = dateTimeToParts(now);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(bits(dateTimeFromParts(*parts).value()), bits(now));
    EXPECT_EQ(bits(textToDateTime(dateTimeToText(now))), bits(now));
}

TEST(CurrentDateTime, TwoReadingsInOneSecondAreEqual) {
    // Retry across a second boundary: two readings, taken back to back, that
    // land in one second must be the same value.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const DateTimeParts a = localClockParts();
        const DateTime first = currentDateTime();
        const DateTime second = currentDateTime();
        const DateTimeParts b = localClockParts();
        if (a == b) {
            EXPECT_EQ(bits(first), bits(second));
            return;
        }
    }
    FAIL() << "the clock never held still for two readings";
}
