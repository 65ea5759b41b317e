// One scheduler tick over an in-memory list, against the list's size: the
// cost of the decision alone (parsing every row's time), without a list view.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "schedule/tick.h"
#include "tests/support/memory_task_list.h"

namespace {

MemoryTaskList listOf(int rows) {
    std::mt19937 rng(7);
    std::vector<MemoryTaskList::Row> cells;
    cells.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const auto in = [&](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
        const DateTimeParts p{in(2000, 2099), in(1, 12), in(1, 28), in(0, 23), in(0, 59), in(0, 59)};
        cells.push_back({std::to_string(i + 1), dateTimeToText(*dateTimeFromParts(p)), "C:\\Tools\\run.bat"});
    }
    return MemoryTaskList(std::move(cells));
}

void BM_SchedulerTick(benchmark::State& state) {
    const MemoryTaskList list = listOf(static_cast<int>(state.range(0)));
    const DateTime now = *dateTimeFromParts({2050, 6, 15, 12, 0, 0});
    int launched = 0;
    for (auto _ : state) {
        TickState tick;  // a fresh state examines one second, as a tick on time does
        launched += runSchedulerTick(list, tick, now, [](std::string_view) {});
    }
    benchmark::DoNotOptimize(launched);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SchedulerTick)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
