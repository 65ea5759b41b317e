// Time text parsing and formatting against the C library on the same inputs.
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "schedule/datetime.h"

namespace {

// Moments spread over 1970..2099 with a non-zero second, so every text has
// all six fields and strptime can read it with one fixed format.
const std::vector<DateTime>& moments() {
    static const std::vector<DateTime> values = [] {
        std::mt19937 rng(42);
        std::vector<DateTime> v;
        while (v.size() < 4096) {
            const DateTimeParts p{std::uniform_int_distribution(1970, 2099)(rng), std::uniform_int_distribution(1, 12)(rng),
                                  std::uniform_int_distribution(1, 28)(rng),    std::uniform_int_distribution(0, 23)(rng),
                                  std::uniform_int_distribution(0, 59)(rng),    std::uniform_int_distribution(1, 59)(rng)};
            v.push_back(*dateTimeFromParts(p));
        }
        return v;
    }();
    return values;
}

const std::vector<std::string>& texts() {
    static const std::vector<std::string> values = [] {
        std::vector<std::string> v;
        for (DateTime d : moments()) v.push_back(dateTimeToText(d));
        return v;
    }();
    return values;
}

// 年 月 日 时 分 秒 in GBK, as the texts hold them.
constexpr const char* kFormat = "%Y\xC4\xEA%m\xD4\xC2%d\xC8\xD5%H\xCA\xB1%M\xB7\xD6%S\xC3\xEB";

void BM_textToDateTime(benchmark::State& state) {
    const auto& in = texts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(textToDateTime(in[i]));
        i = (i + 1) % in.size();
    }
}
BENCHMARK(BM_textToDateTime);

void BM_strptimeBaseline(benchmark::State& state) {
    const auto& in = texts();
    std::size_t i = 0;
    for (auto _ : state) {
        std::tm tm{};
        const char* end = strptime(in[i].c_str(), kFormat, &tm);
        DateTime v = minDateTime;
        if (end != nullptr)
            v = dateTimeFromParts({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec})
                    .value_or(minDateTime);
        benchmark::DoNotOptimize(v);
        i = (i + 1) % in.size();
    }
}
BENCHMARK(BM_strptimeBaseline);

void BM_dateTimeToText(benchmark::State& state) {
    const auto& in = moments();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dateTimeToText(in[i]));
        i = (i + 1) % in.size();
    }
}
BENCHMARK(BM_dateTimeToText);

void BM_strftimeBaseline(benchmark::State& state) {
    const auto& in = moments();
    std::size_t i = 0;
    for (auto _ : state) {
        const DateTimeParts p = *dateTimeToParts(clampDateTime(in[i]));
        std::tm tm{};
        tm.tm_year = p.year - 1900;
        tm.tm_mon = p.month - 1;
        tm.tm_mday = p.day;
        tm.tm_hour = p.hour;
        tm.tm_min = p.minute;
        tm.tm_sec = p.second;
        char buffer[64];
        const std::size_t n = std::strftime(buffer, sizeof buffer, kFormat, &tm);
        benchmark::DoNotOptimize(std::string(buffer, n));
        i = (i + 1) % in.size();
    }
}
BENCHMARK(BM_strftimeBaseline);

}  // namespace

BENCHMARK_MAIN();
