#include "schedule/tick.h"

#include <algorithm>
#include <string>

SecondCount secondOf(DateTime value) noexcept {
    const DateTime v = clampDateTime(value);
    // |v| < 3e6: conversion to an integer truncates exactly, toward zero,
    // which gives the day number on both sides of day 0.
    const auto day = static_cast<std::int64_t>(v);
    const double fraction = v < 0 ? static_cast<double>(day) - v : v - static_cast<double>(day);
    const auto second = static_cast<std::int64_t>(fraction * 86400.0 + 0.5);  // [0, 86400]
    return day * 86400 + second;
}

SecondSpan secondsToExamine(std::optional<SecondCount> lastExamined, SecondCount now) noexcept {
    const SecondSpan onlyNow{now, now};
    if (!lastExamined) return onlyNow;
    if (now < *lastExamined) return onlyNow;                       // clock set back
    if (now - *lastExamined > kMaxCatchUpSeconds) return onlyNow;  // slept or set forward
    return {*lastExamined + 1, now};                               // empty when now == last
}

int runSchedulerTick(const TaskList& list, TickState& state, DateTime now, const LaunchCommand& launch) {
    const SecondCount nowSecond = secondOf(now);
    const SecondSpan span = secondsToExamine(state.lastExamined, nowSecond);
    state.lastExamined = nowSecond;
    if (span.empty()) return 0;

    int launched = 0;
    const int rows = list.rowCount();
    for (int row = 0; row < rows; ++row) {
        const SecondCount due = secondOf(textToDateTime(list.cellText(row, kTimeColumn)));
        if (!span.contains(due)) continue;
        launch(list.cellText(row, kCommandColumn));
        ++launched;
    }
    return launched;
}

int nextTickDelayMs(int millisecondsIntoSecond) noexcept {
    return 1000 - std::clamp(millisecondsIntoSecond, 0, 999) + kTickMarginMs;
}
