#include "schedule/tick.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/memory_task_list.h"

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return dateTimeFromParts({y, mo, d, h, mi, s}).value();
}

// The reference moment of the scenarios, and moments around it as whole
// seconds, built through the calendar so that no test shares the code under
// test's arithmetic.
const DateTime kT0 = at(2019, 3, 2, 10, 5, 30);

DateTime plusSeconds(DateTime base, int seconds) {
    DateTimeParts p = dateTimeToParts(base).value();
    int total = p.hour * 3600 + p.minute * 60 + p.second + seconds;
    int dayShift = 0;
    while (total < 0) total += 86400, --dayShift;
    while (total >= 86400) total -= 86400, ++dayShift;
    p.hour = total / 3600;
    p.minute = total / 60 % 60;
    p.second = total % 60;
    // Only used within a few days of kT0, inside one month.
    p.day += dayShift;
    return dateTimeFromParts(p).value();
}

// The row's time as the user would have typed it.
std::string timeText(int offsetFromT0) { return dateTimeToText(plusSeconds(kT0, offsetFromT0)); }

// Runs ticks and records what they launched.
struct Scheduler {
    MemoryTaskList list;
    TickState state;
    std::vector<std::string> launched;

    int tickAt(DateTime now) {
        return runSchedulerTick(list, state, now, [this](std::string_view c) { launched.emplace_back(c); });
    }
    int tickAtOffset(int offsetFromT0) { return tickAt(plusSeconds(kT0, offsetFromT0)); }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST(SecondOf, CountsSecondsFromTheOleEpochOnBothSidesOfDayZero) {
    struct Case {
        DateTime value;
        SecondCount expected;
    };
    const Case cases[] = {
        {0.0, 0},
        {0.25, 6 * 3600},
        {1.0, 86400},
        {-1.0, -86400},
        {-1.25, -86400 + 6 * 3600},  // 1899-12-29 06:00:00: the fraction is subtracted
        {at(1899, 12, 29, 23, 59, 59), -1},
        {at(1899, 12, 30, 0, 0, 1), 1},
        {at(2019, 3, 2), 43526LL * 86400},
        {minDateTime, -657434LL * 86400},
        {maxDateTime, 2958465LL * 86400},
    };
    for (const auto& c : cases) EXPECT_EQ(secondOf(c.value), c.expected) << c.value;
}

// Every second from three days before day 0 to three days after is one more
// than the one before, although the raw values jump around day 0.
TEST(SecondOf, IncreasesByOneForEverySecondAcrossDayZero) {
    DateTimeParts p{1899, 12, 27, 0, 0, 0};
    SecondCount previous = secondOf(dateTimeFromParts(p).value());
    for (int step = 1; step < 6 * 86400; ++step) {
        if (++p.second == 60) {
            p.second = 0;
            if (++p.minute == 60) {
                p.minute = 0;
                if (++p.hour == 24) {
                    p.hour = 0;
                    if (++p.day > 31) p = {1900, 1, 1, 0, 0, 0};
                }
            }
        }
        const SecondCount current = secondOf(dateTimeFromParts(p).value());
        ASSERT_EQ(current, previous + 1) << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":"
                                         << p.minute << ":" << p.second;
        previous = current;
    }
}

TEST(SecondOf, ClampsLikeTheComparisonOfTimes) {
    EXPECT_EQ(secondOf(maxDateTime + 0.5), secondOf(maxDateTime));
    EXPECT_EQ(secondOf(-700000.0), secondOf(minDateTime));
    EXPECT_EQ(secondOf(std::numeric_limits<double>::quiet_NaN()), secondOf(minDateTime));
}

TEST(SecondsToExamine, FollowsTheClockOneSecondAtATime) {
    struct Case {
        const char* name;
        std::optional<SecondCount> last;
        SecondCount now;
        SecondSpan expected;
    };
    const SecondCount now = 1000;
    const Case cases[] = {
        {"first tick", std::nullopt, now, {now, now}},
        {"next second", now - 1, now, {now, now}},
        {"late by two seconds", now - 3, now, {now - 2, now}},
        {"sixty seconds made up", now - 60, now, {now - 59, now}},
        {"sixty-one seconds not made up", now - 61, now, {now, now}},
        {"clock set back", now + 5, now, {now, now}},
        {"clock set back by one second", now + 1, now, {now, now}},
    };
    for (const auto& c : cases) EXPECT_EQ(secondsToExamine(c.last, c.now), c.expected) << c.name;
}

TEST(SecondsToExamine, SecondTickInTheSameSecondExaminesNothing) {
    EXPECT_TRUE(secondsToExamine(1000, 1000).empty());
    EXPECT_FALSE(secondsToExamine(999, 1000).empty());
}

TEST(SchedulerTick, StartsDueRowsInRowOrderAndNoOthers) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(0), "third"},
                             {"2", timeText(0), "first"},
                             {"3", timeText(1), "later"},
                             {"4", timeText(-1), "earlier"},
                             {"5", timeText(0), "second"}});
    EXPECT_EQ(s.tickAtOffset(0), 3);
    EXPECT_EQ(s.launched, (Strings{"third", "first", "second"}));
}

TEST(SchedulerTick, TwoIdenticalRowsBothStart) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(0), "run.bat"}, {"2", timeText(0), "run.bat"}});
    EXPECT_EQ(s.tickAtOffset(0), 2);
    EXPECT_EQ(s.launched, (Strings{"run.bat", "run.bat"}));
}

TEST(SchedulerTick, PassesTheCommandCellAsItIsAtItsLaunch) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(0), "first"}, {"2", timeText(0), "before"}, {"3", timeText(0), ""}});
    std::vector<std::string> seen;
    runSchedulerTick(s.list, s.state, kT0, [&](std::string_view c) {
        seen.emplace_back(c);
        s.list.setCellText(1, kCommandColumn, "after");  // the first launch rewrites the second row
    });
    EXPECT_EQ(seen, (Strings{"first", "after", ""}));  // an empty cell is passed as an empty text
}

TEST(SchedulerTick, DateOnlyTextIsDueAtMidnightOnly) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", "2019\xC4\xEA" "3\xD4\xC2" "2\xC8\xD5", "midnight"}});  // 2019年3月2日
    for (int second = 55; second <= 59; ++second) s.tickAt(at(2019, 3, 1, 23, 59, second));
    EXPECT_TRUE(s.launched.empty());
    s.tickAt(at(2019, 3, 2, 0, 0, 0));
    EXPECT_EQ(s.launched, (Strings{"midnight"}));
    for (int second = 1; second <= 5; ++second) s.tickAt(at(2019, 3, 2, 0, 0, second));
    EXPECT_EQ(s.launched.size(), 1u);
}

TEST(SchedulerTick, UnparseableTimeTextNeverComesDue) {
    const char* texts[] = {"", "garbage", "2019\xC4\xEA" "3\xD4\xC2", "2019-2-29", "10:05:30", "2019-3-2T10:05"};
    for (const char* text : texts) {
        Scheduler s;
        s.list = MemoryTaskList({{"1", text, "never"}});
        for (int offset = -30; offset <= 30; ++offset) s.tickAtOffset(offset);
        EXPECT_TRUE(s.launched.empty()) << text;
    }
}

TEST(SchedulerTick, PassedTimeNeverComesDue) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(-1), "passed before the first tick"}});
    s.tickAtOffset(0);
    s.list.appendRow();
    s.list.setCellText(1, kTimeColumn, timeText(0));  // added after its second was examined
    s.list.setCellText(1, kCommandColumn, "passed before it was added");
    for (int offset = 1; offset <= 120; ++offset) s.tickAtOffset(offset);
    EXPECT_TRUE(s.launched.empty());
}

// A tick that comes late makes up the seconds since the previous one, up to
// kMaxCatchUpSeconds; a longer gap, or a clock set back, examines only the
// clock's current second.
TEST(SchedulerTick, MakesUpSkippedSecondsWithinTheBound) {
    struct Case {
        const char* name;
        int previousTick;  // offsets from kT0
        int currentTick;
        Strings expected;
    };
    const Case cases[] = {
        {"on time", 4, 5, {"at 5"}},
        {"late by one second", 3, 5, {"at 4", "at 5"}},
        {"late by several seconds", 0, 5, {"at 1", "at 3", "at 4", "at 5"}},
        {"sixty seconds, all made up", -55, 5, {"at -30", "at 0", "at 1", "at 3", "at 4", "at 5"}},
        {"sixty-one seconds, only the current one", -56, 5, {"at 5"}},
        {"clock set back", 10, 5, {"at 5"}},
        {"same second again", 5, 5, {}},
    };
    for (const auto& c : cases) {
        Scheduler s;
        s.list = MemoryTaskList({{"1", timeText(-30), "at -30"},
                                 {"2", timeText(0), "at 0"},
                                 {"3", timeText(1), "at 1"},
                                 {"4", timeText(3), "at 3"},
                                 {"5", timeText(4), "at 4"},
                                 {"6", timeText(5), "at 5"},
                                 {"7", timeText(6), "at 6"}});
        s.tickAtOffset(c.previousTick);
        s.launched.clear();
        EXPECT_EQ(s.tickAtOffset(c.currentTick), static_cast<int>(c.expected.size())) << c.name;
        EXPECT_EQ(s.launched, c.expected) << c.name;
    }
}

TEST(SchedulerTick, TwoTicksInOneSecondStartNothingTwice) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(0), "once"}, {"2", timeText(1), "next"}});
    s.tickAtOffset(-1);
    EXPECT_EQ(s.tickAtOffset(0), 1);
    EXPECT_EQ(s.tickAtOffset(0), 0);
    EXPECT_EQ(s.tickAtOffset(0), 0);
    EXPECT_EQ(s.tickAtOffset(1), 1);
    EXPECT_EQ(s.launched, (Strings{"once", "next"}));
}

// Each launch holds the thread for a second, as the launcher's wait can: the
// clock runs on during a tick, and the next tick makes those seconds up.
TEST(SchedulerTick, SecondsSpentLaunchingAreMadeUpByTheNextTick) {
    MemoryTaskList list({{"1", timeText(0), "a0"},
                         {"2", timeText(0), "b0"},
                         {"3", timeText(2), "c2"},
                         {"4", timeText(0), "d0"},
                         {"5", timeText(1), "e1"},
                         {"6", timeText(3), "f3"},
                         {"7", timeText(7), "g7"},
                         {"8", timeText(20), "h20"}});
    TickState state;
    int clock = 0;  // seconds from kT0
    std::vector<std::string> launched;
    std::vector<int> launchedAt;
    while (clock <= 30) {
        const int started = runSchedulerTick(list, state, plusSeconds(kT0, clock), [&](std::string_view c) {
            launched.emplace_back(c);
            launchedAt.push_back(clock);
            ++clock;
        });
        if (started == 0) ++clock;  // an idle tick; the next comes a second later
    }
    EXPECT_EQ(launched, (Strings{"a0", "b0", "d0", "c2", "e1", "f3", "g7", "h20"}));
    // The three launches due at 0 carry the clock to 3; that tick examines 1..3.
    EXPECT_EQ(launchedAt, (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 20}));
}

// After the clock is set back, a task whose second the clock shows again
// starts again, and the tick goes on from the new reading.
TEST(SchedulerTick, ClockSetBackStartsTheCurrentSecondAgainThenGoesOn) {
    Scheduler s;
    s.list = MemoryTaskList({{"1", timeText(3), "at 3"},
                             {"2", timeText(5), "at 5"},
                             {"3", timeText(6), "at 6"},
                             {"4", timeText(7), "at 7"},
                             {"5", timeText(8), "at 8"}});
    for (int offset = 0; offset <= 10; ++offset) s.tickAtOffset(offset);
    EXPECT_EQ(s.launched, (Strings{"at 3", "at 5", "at 6", "at 7", "at 8"}));
    s.launched.clear();

    s.tickAtOffset(5);  // set back from 10 to 5
    EXPECT_EQ(s.launched, (Strings{"at 5"}));
    s.tickAtOffset(5);
    s.tickAtOffset(7);  // a late tick makes up 6 from the new reading
    s.tickAtOffset(8);
    EXPECT_EQ(s.launched, (Strings{"at 5", "at 6", "at 7", "at 8"}));
}

TEST(SchedulerTick, EmptyListStartsNothingButStillAdvances) {
    Scheduler s;
    EXPECT_EQ(s.tickAtOffset(0), 0);
    s.list = MemoryTaskList({{"1", timeText(0), "examined already"}, {"2", timeText(1), "next"}});
    EXPECT_EQ(s.tickAtOffset(1), 1);
    EXPECT_EQ(s.launched, (Strings{"next"}));
}

TEST(SchedulerTick, WorksAcrossDayZero) {
    // Raw values here run 0.00002, 0, -1.99998...: only seconds order them.
    Scheduler s;
    const DateTime before = at(1899, 12, 29, 23, 59, 58);
    const DateTime dueLast = at(1899, 12, 29, 23, 59, 59);
    const DateTime dueFirst = at(1899, 12, 30, 0, 0, 0);
    s.list = MemoryTaskList({{"1", dateTimeToText(dueLast), "last second of day -1"},
                             {"2", dateTimeToText(dueFirst), "first second of day 0"}});
    s.tickAt(before);
    s.tickAt(at(1899, 12, 30, 0, 0, 1));  // late: makes up both
    EXPECT_EQ(s.launched, (Strings{"last second of day -1", "first second of day 0"}));
}

TEST(NextTickDelay, AimsJustAfterTheNextSecondBegins) {
    for (int ms = 0; ms < 1000; ++ms) {
        const int delay = nextTickDelayMs(ms);
        ASSERT_EQ(ms + delay, 1000 + kTickMarginMs) << ms;
    }
    EXPECT_GT(kTickMarginMs, 0);
    EXPECT_LT(kTickMarginMs, 100);
}

TEST(NextTickDelay, ClampsReadingsOutsideTheSecond) {
    EXPECT_EQ(nextTickDelayMs(-5), nextTickDelayMs(0));
    EXPECT_EQ(nextTickDelayMs(1500), nextTickDelayMs(999));
    EXPECT_GT(nextTickDelayMs(999), 0);
}
