// Launch lateness: how long after the start of its due second a task's
// process starts. Two task lists tick side by side on this thread for a few
// minutes: the program's own main window (timer re-armed to just after each
// second, every second examined once) and a plain 1000 ms timer running the
// stateless tick (each row compared with the clock read for it). The first
// has its tasks on even seconds, the second on odd ones. Each task starts
// launch_probe.exe, which logs its start time. Run by hand under Wine:
//   launch_lateness_bench [tasks per variant, default 100]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/message_loop_win.h"
#include "bench/win/bench_list_view_win.h"
#include "schedule/datetime.h"
#include "schedule/launcher_win.h"
#include "tests/win/process_support.h"

namespace {

constexpr UINT_PTR kPlainTimer = 7;

// The stateless tick: a row is due when the clock read for it shows its second.
void plainTick(const TaskList& list) {
    const int rows = list.rowCount();
    for (int row = 0; row < rows; ++row) {
        const DateTime due = textToDateTime(list.cellText(row, 1));
        if (clampDateTime(currentDateTime()) == clampDateTime(due)) launchCommand(list.cellText(row, 2));
    }
}

LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPlainTimer) {
        plainTick(ListViewTaskList(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr)));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createPlainWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlainTick";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "PlainTick", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    createBenchListView(window, 300, 300);
    SetTimer(window, kPlainTimer, 1000, nullptr);
    return window;
}

struct Figures {
    std::vector<double> lateness;  // ms, one per started task
    int missed = 0;
    int doubled = 0;
};

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

}  // namespace

int main(int argc, char** argv) {
    const int tasks = argc > 1 ? std::atoi(argv[1]) : 100;
    char folder[MAX_PATH], log[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "tvl", 0, log);
    SetEnvironmentVariableA("TARVELO_PROBE_LOG", log);
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    const auto main = loadMainWindow(GetModuleHandleA(nullptr));
    if (!main) return 1;
    HWND plain = createPlainWindow();
    ListViewTaskList aligned = main->tasks();
    ListViewTaskList stateless(FindWindowExA(plain, nullptr, WC_LISTVIEWA, nullptr));

    // Tasks from 4 s ahead on, one variant on even and one on odd seconds.
    const std::string probe = "\"" + buildFolder() + "\\launch_probe.exe\"";
    const DateTime first = currentDateTime() + 4.0 / 86400;
    std::map<std::string, DateTime> due;  // marker -> due moment
    for (int i = 0; i < tasks; ++i) {
        for (int variant = 0; variant < 2; ++variant) {
            const DateTime at = first + (2 * i + variant) / 86400.0;
            const std::string marker = (variant == 0 ? "aligned-" : "plain-") + std::to_string(i);
            TaskList& list = variant == 0 ? static_cast<TaskList&>(aligned) : stateless;
            const int row = list.appendRow();
            list.setCellText(row, 0, std::to_string(row + 1));
            list.setCellText(row, 1, dateTimeToText(at));
            list.setCellText(row, 2, probe + " " + marker);
            due[marker] = at;
        }
    }

    const DWORD runFor = static_cast<DWORD>((2 * tasks + 8) * 1000);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < runFor) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) dispatchQueuedMessage(message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    Sleep(2000);  // the last probes write their lines

    std::map<std::string, int> starts;
    Figures figures[2];
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string path, startedAt, commandLine;
        std::getline(fields, path, '\t');
        std::getline(fields, startedAt, '\t');
        std::getline(fields, commandLine);
        const std::size_t space = commandLine.rfind(' ');
        std::string marker = commandLine.substr(space + 1);
        while (!marker.empty() && (marker.back() == '\r' || marker.back() == '\n')) marker.pop_back();
        if (!due.count(marker)) continue;
        const int variant = marker.rfind("aligned-", 0) == 0 ? 0 : 1;
        const DateTime second = textToDateTime(startedAt.substr(0, 19));
        const double ms = std::atof(startedAt.substr(20).c_str());
        if (++starts[marker] == 1)
            figures[variant].lateness.push_back((second - due[marker]) * 86400000.0 + ms);
    }
    for (const auto& [marker, at] : due) {
        const int variant = marker.rfind("aligned-", 0) == 0 ? 0 : 1;
        const int count = starts.count(marker) ? starts[marker] : 0;
        if (count == 0) ++figures[variant].missed;
        if (count > 1) ++figures[variant].doubled;
    }
    const char* names[] = {"re-armed timer, every second once", "plain 1000 ms timer, stateless tick"};
    for (int variant = 0; variant < 2; ++variant) {
        const Figures& f = figures[variant];
        std::printf("%-38s %3zu started: p50 %6.0f ms, p99 %6.0f ms, max %6.0f ms; missed %d, doubled %d\n",
                    names[variant], f.lateness.size(), percentile(f.lateness, 0.5), percentile(f.lateness, 0.99),
                    percentile(f.lateness, 1.0), f.missed, f.doubled);
    }
    DestroyWindow(plain);
    DestroyWindow(main->window);
    DeleteFileA(log);
    return 0;
}
