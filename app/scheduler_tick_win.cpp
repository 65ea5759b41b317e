// The tick timer's handler on the real window: the core decides which rows
// are due, the launcher starts them, then the clock texts are refreshed.
#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "app/texts.h"
#include "schedule/datetime.h"
#include "schedule/launcher_win.h"
#include "schedule/tick.h"

namespace {

// The timer stays a 1000 ms window timer, re-armed so that the next tick
// falls just after the next wall-clock second begins.
void rearmTickTimer(HWND window) {
    SYSTEMTIME now;
    GetLocalTime(&now);  // after the launches' waits, so it aims at the right second
    SetTimer(window, kTickTimerId, static_cast<UINT>(nextTickDelayMs(now.wMilliseconds)), nullptr);
}

}  // namespace

void onSchedulerTick(MainWindow& main) {
    const ListViewTaskList list = main.tasks();
    runSchedulerTick(list, main.tickState, currentDateTime(),
                     [](std::string_view command) { launchCommand(command); });
    if (main.timeFollowsClock) setWindowText(main.编辑框1, dateTimeToText(currentDateTime()));
    setWindowText(main.标签4, text::kClockPrefix + dateTimeToText(currentDateTime()));
    rearmTickTimer(main.window);
}
