// Prepares the window's contents once it and its controls exist.
#include <ole2.h>

#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "schedule/datetime.h"
#include "tasks/task_file_win.h"

void onMainWindowCreated(MainWindow& main) {
    setWindowText(main.编辑框1, dateTimeToText(currentDateTime()));
    // A failed registration leaves the window without file drops; nothing to tell.
    RegisterDragDrop(main.window, main.拖放对象1.get());
    main.timeFollowsClock = true;
    ListViewTaskList list = main.tasks();
    const RedrawPause pause(main.超级列表框1);
    loadTaskFile(list);
}
