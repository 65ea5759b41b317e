// Task entry, as the window's controls drive it.
#include "app/handlers_win.h"
#include "app/main_window_win.h"
#include "tasks/task_entry.h"
#include "tasks/task_file_win.h"

void onAddButtonClicked(MainWindow& main) {
    ListViewTaskList list = main.tasks();
    addTask(list, windowText(main.编辑框1), windowText(main.编辑框2));
    main.timeFollowsClock = true;
}

void onTimeFieldPressed(MainWindow& main) { main.timeFollowsClock = false; }

void onFilesDropped(MainWindow& main, const std::string& text) { setWindowText(main.编辑框2, text); }

void onDeleteSelectedChosen(MainWindow& main) {
    ListViewTaskList list = main.tasks();
    deleteSelectedTask(list);
}

void onDeleteAllChosen(MainWindow& main) {
    ListViewTaskList list = main.tasks();
    deleteAllTasks(list);
}

void onSaveChosen(MainWindow& main) { saveTaskFile(main.tasks()); }

void onLoadChosen(MainWindow& main) {
    ListViewTaskList list = main.tasks();
    const RedrawPause pause(main.超级列表框1);
    loadTaskFile(list);
}
