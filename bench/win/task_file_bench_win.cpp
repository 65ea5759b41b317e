// Saving and loading the task file with the real list view, for 1,000 to
// 100,000 rows, as the menu's handlers do it (loading with the list's
// redrawing held). Run by hand under Wine: task_file_bench.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win/bench_list_view_win.h"
#include "tasks/list_view_win.h"
#include "tasks/task_file_format.h"
#include "tasks/task_file_win.h"

namespace {

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double medianMs(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        work();
        times.push_back(millisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "tarvelo-bench.ini";
    for (int rows : {1000, 10000, 100000}) {
        HWND list = createBenchListView();
        ListViewTaskList tasks(list);
        {
            const RedrawPause pause(list);
            for (int r = 0; r < rows; ++r) {
                const int row = tasks.appendRow();
                tasks.setCellText(row, 0, std::to_string(r + 1));
                tasks.setCellText(row, 1, "2024\xC4\xEA" "5\xD4\xC2" "1\xC8\xD5" "8\xCA\xB1" "30\xB7\xD6");
                tasks.setCellText(row, 2, "C:\\Tools\\job" + std::to_string(r) + ".bat /mode=2");
            }
        }
        const int runs = rows >= 100000 ? 3 : 5;
        const double save = medianMs(runs, [&] { writeTaskFile(path, taskFileText(tasks)); });
        const double load = medianMs(runs, [&] {
            const RedrawPause pause(list);
            if (const auto bytes = readTaskFile(path)) loadTaskFileText(*bytes, tasks);
        });
        const auto size = readTaskFile(path).value_or("").size();
        std::printf("%6d rows, %8zu bytes: save %8.1f ms, load %8.1f ms (%d rows back)\n", rows, size, save, load,
                    tasks.rowCount());
        DestroyWindow(list);
    }
    DeleteFileA(path.c_str());
    return 0;
}
