// The scheduler tick's decision: which rows of the task list are due, and
// when the next tick should come. Platform-free: the launch is a callback.
//
// Every second of the clock is examined once. A tick examines the seconds
// after the last one it examined up to the clock reading, so a late or
// delayed tick makes up the seconds it missed and two ticks in one second
// start nothing twice. A gap of more than kMaxCatchUpSeconds (sleep, clock
// set forward) is not made up, and a clock set back starts again from its
// new reading.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "schedule/datetime.h"
#include "tasks/task_list.h"

// A moment as whole seconds since 1899-12-30 00:00:00. DateTime values
// below day 0 subtract their time of day, so they do not order by their
// doubles; these counts do.
using SecondCount = std::int64_t;

// The second that clampDateTime(value) denotes, rounded to the nearest.
SecondCount secondOf(DateTime value) noexcept;

// The longest run of seconds one tick makes up.
inline constexpr SecondCount kMaxCatchUpSeconds = 60;

// The seconds [first, last] that one tick examines; empty when first > last.
struct SecondSpan {
    SecondCount first;
    SecondCount last;

    bool empty() const noexcept { return first > last; }
    bool contains(SecondCount s) const noexcept { return first <= s && s <= last; }
    friend bool operator==(const SecondSpan&, const SecondSpan&) = default;
};

// What the tick keeps between ticks. Empty before the first tick.
struct TickState {
    std::optional<SecondCount> lastExamined;
};

// The seconds a tick at clock second `now` examines after `lastExamined`.
SecondSpan secondsToExamine(std::optional<SecondCount> lastExamined, SecondCount now) noexcept;

// Starts one command; what it does with a failure is its own business.
using LaunchCommand = std::function<void(std::string_view command)>;

// Examines the seconds after state.lastExamined up to `now` and calls
// `launch` with the command cell of every row whose time lies among them,
// rows top to bottom (also when a made-up second's row lies below a later
// one's). The command cell is read just before its launch. `launch` must not
// add or delete rows. Returns the number of launches.
int runSchedulerTick(const TaskList& list, TickState& state, DateTime now, const LaunchCommand& launch);

// How far after the start of the next wall-clock second the next tick is
// aimed: a tick a little late is harmless, one a little early reads the
// old second and finds nothing new. It covers the clock's own granularity
// (about 15.6 ms on Windows) so that the clock really shows the new second.
inline constexpr int kTickMarginMs = 20;

// The timer delay that puts the next tick kTickMarginMs after the next
// second begins, given the milliseconds already past in the current one
// (clamped to [0, 999]). Always in [kTickMarginMs + 1, 1000 + kTickMarginMs].
int nextTickDelayMs(int millisecondsIntoSecond) noexcept;
