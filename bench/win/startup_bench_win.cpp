// Startup time of Tarvelo.exe: from CreateProcess to its main window shown,
// over several runs. Run by hand under Wine: startup_bench [runs].
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../../tests/win/process_support.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, shown;
        QueryPerformanceCounter(&start);
        ChildProcess tarvelo("\"" + buildFolder() + "\\Tarvelo.exe\"");
        HWND main = tarvelo.waitForMainWindow(30000);
        QueryPerformanceCounter(&shown);
        if (main == nullptr) {
            std::printf("run %d: no window\n", i);
            return 1;
        }
        times.push_back(1000.0 * static_cast<double>(shown.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        PostMessageA(main, WM_CLOSE, 0, 0);
        tarvelo.waitForExit(20000);
    }
    std::sort(times.begin(), times.end());
    std::printf("startup to window shown over %d runs: median %.0f ms, min %.0f ms, max %.0f ms\n", runs,
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
