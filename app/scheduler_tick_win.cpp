// The tick timer's handler on the real window.
#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "app/texts.h"
#include "schedule/datetime.h"

void onSchedulerTick(MainWindow& main) {
    if (main.timeFollowsClock) setWindowText(main.编辑框1, dateTimeToText(currentDateTime()));
    setWindowText(main.标签4, text::kClockPrefix + dateTimeToText(currentDateTime()));
}
