// Cost of one scheduler tick on the real list view, for 1,000 to 100,000
// rows that are not due (every row parsed, nothing started). Run by hand
// under Wine: tick_cost_bench.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "schedule/datetime.h"
#include "schedule/tick.h"
#include "bench/win/bench_list_view_win.h"
#include "tasks/list_view_win.h"

namespace {

double milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    for (int rows : {1000, 10000, 100000}) {
        HWND list = createBenchListView();
        ListViewTaskList tasks(list);
        const DateTime past = *dateTimeFromParts({2019, 3, 2, 10, 5, 30});
        for (int r = 0; r < rows; ++r) {
            const int row = tasks.appendRow();
            tasks.setCellText(row, 0, std::to_string(r + 1));
            tasks.setCellText(row, 1, dateTimeToText(past + r / 86400.0));
            tasks.setCellText(row, 2, "C:\\Tools\\run.bat");
        }
        std::vector<double> times;
        int launched = 0;
        for (int tick = 0; tick < 9; ++tick) {
            TickState state;  // a fresh state examines the current second: every row is read and parsed
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            launched += runSchedulerTick(tasks, state, currentDateTime(), [](std::string_view) {});
            QueryPerformanceCounter(&end);
            times.push_back(milliseconds(start, end));
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%6d rows: median tick %8.2f ms, %6.0f ns per row (%d started)\n", rows, median,
                    median * 1e6 / rows, launched);
        DestroyWindow(list);
    }
    return 0;
}
