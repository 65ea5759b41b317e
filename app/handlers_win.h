// The handlers of the main window's events. Which event runs which handler
// is decided in one place, app/event_bindings_win.cpp.
#pragma once

#include <string>

struct MainWindow;

// Created: the window and its controls exist, the window is still hidden.
void onMainWindowCreated(MainWindow& main);

// Tick timer: starts due tasks, then refreshes the clock label and, while it
// follows the clock, the time field.
void onSchedulerTick(MainWindow& main);

// Add button "确认添加": appends a task from the two fields.
void onAddButtonClicked(MainWindow& main);

// Left button pressed on the time field's text line: stop following the clock.
void onTimeFieldPressed(MainWindow& main);

// Files dropped onto the window: their paths become the path field's text.
void onFilesDropped(MainWindow& main, const std::string& text);

// Menu entries "保存" and "读取": the task file.
void onSaveChosen(MainWindow& main);
void onLoadChosen(MainWindow& main);

// Menu entries "删除选中" and "删除全部".
void onDeleteSelectedChosen(MainWindow& main);
void onDeleteAllChosen(MainWindow& main);

// Task list right click: pops the task menu up at the mouse pointer.
void onTaskListRightClick(MainWindow& main);

// Menu entry "帮助": the help notice, which closes itself after 10 s.
void onHelpChosen(MainWindow& main);
