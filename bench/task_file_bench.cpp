// Building and reading the task file's text against the number of rows, on
// an in-memory list: the cost of the format alone, without files or a list
// view.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "schedule/datetime.h"
#include "tasks/task_file_format.h"
#include "tests/support/memory_task_list.h"

namespace {

// Rows as the program writes them: a serial, a full time text and a command
// with a Chinese folder name.
MemoryTaskList listOf(int rows) {
    std::vector<MemoryTaskList::Row> cells;
    cells.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const DateTime moment = *dateTimeFromParts({2024, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60});
        cells.push_back({std::to_string(i + 1), dateTimeToText(moment),
                         "C:\\\xB9\xA4\xBE\xDF\\run" + std::to_string(i) + ".bat /mode=2"});
    }
    return MemoryTaskList(std::move(cells));
}

void BM_TaskFileText(benchmark::State& state) {
    const MemoryTaskList list = listOf(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = taskFileText(list);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_LoadTaskFileText(benchmark::State& state) {
    const std::string text = taskFileText(listOf(static_cast<int>(state.range(0))));
    MemoryTaskList list;
    for (auto _ : state) {
        loadTaskFileText(text, list);
        benchmark::DoNotOptimize(list.rowCount());
    }
    if (list.rowCount() != state.range(0)) state.SkipWithError("rows lost on loading");
    state.counters["file_bytes"] = static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

}  // namespace

BENCHMARK(BM_TaskFileText)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTaskFileText)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
